// The window started inside a model's folder with the bare file name, and
// the end of a command that failed.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window.h"
#include "gui_model.h"
#include "support/temp_dir.h"
#include "support/working_folder.h"

namespace kestra {
namespace {

TEST(WindowPaths, ANameFileOnTheCommandLineWithoutAFolderFindsItsPorosityFile) {
  test::TempDir copy;
  test::CopySharedRun(copy, "mixed3d", "modflow", "mixed3d.nam");
  const test::WorkingFolder inside(copy.path());
  app::MainWindow window;
  window.resize(1200, 900);
  window.SetCommandLine("mixed3d.nam");
  window.show();
  ASSERT_TRUE(test::OpenWindow::WaitFor([&] { return window.model().HasModel(); }));
  const ModelState& model = window.model();
  EXPECT_EQ(model.ModelPath, (copy.path() / "mixed3d.nam").string());
  EXPECT_FLOAT_EQ(model.POROSITY(1, 1, 1), 0.2f);
  EXPECT_FLOAT_EQ(model.POROSITY(1, 1, 2), 0.25f);
  EXPECT_FLOAT_EQ(model.POROSITY(1, 1, 3), 0.3f);
}

TEST(WindowPaths, AFailedCommandLeavesNoBusyStateBehind) {
  test::OpenWindow open("mixed3d/lahey", "mixed3d.mdl");
  app::MainWindow& window = open.window;
  window.busy().trackingRun = true;
  // The failure's message box is closed as soon as it shows.
  QTimer::singleShot(50, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  window.CommandFailed("cannot read: Is a directory");
  EXPECT_FALSE(window.busy().Any());
  EXPECT_FALSE(window.ToolbarButton("stop")->isEnabled());
  EXPECT_TRUE(window.ToolbarButton("forward")->isEnabled());
}

}  // namespace
}  // namespace kestra
