// The window started inside a model's folder with the bare file name, a
// MODFLOW 6 simulation opened as any other model, and the end of a command
// that failed.
#include <QAction>
#include <gtest/gtest.h>

#include <filesystem>

#include "gui_model.h"
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
  test::CloseNextMessageBox(50);
  window.CommandFailed("cannot read: Is a directory");
  EXPECT_FALSE(window.busy().Any());
  EXPECT_FALSE(window.ToolbarButton("stop")->isEnabled());
  EXPECT_TRUE(window.ToolbarButton("forward")->isEnabled());
}


// Pixels of `image` that are not the background of its corner.
int DrawnPixels(const QImage& image) {
  const QRgb background = image.pixel(0, 0);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != background;
  return count;
}

TEST(Mf6Window, OpensTheSimulationAndDrawsPlanSectionsAndRiverCells) {
  test::OpenWindow w("usgs/ex01_mf6", "mfsim.nam");
  ASSERT_TRUE(w.window.model().HasModel());
  EXPECT_EQ(w.window.model().NCOL, 20);
  EXPECT_TRUE(w.window.model().flowTermsLoaded);
  const QImage plan = w.window.Raster(0).Image();
  // The river cells of column 20 are drawn in their own colour.
  EXPECT_NE(plan.pixel(w.CellCentre(20, 7)), plan.pixel(w.CellCentre(12, 7)));
  EXPECT_GT(DrawnPixels(w.window.Raster(1).Image()), 100);
  EXPECT_GT(DrawnPixels(w.window.Raster(2).Image()), 100);
}

}  // namespace
}  // namespace kestra
