// A main window on the screen with a copy of a shared test model opened
// from the command line, for the GUI tests.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "support/temp_dir.h"

namespace kestra::test {

class OpenWindow {
 public:
  // Copies the model folder (below the shared test data) and opens `model`.
  OpenWindow(const std::string& folder, const std::string& model) {
    std::filesystem::copy(TestDataDir() / folder, dir.path(), std::filesystem::copy_options::recursive);
    modelPath = dir.File(model);
    window.resize(1200, 900);
    window.SetCommandLine(QString::fromStdString(modelPath));
    window.show();
    WaitFor([&] { return window.model().HasModel(); });
  }

  // Lets events run until `done` or two seconds have passed.
  template <typename Done>
  static bool WaitFor(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  // The plan's widget pixel of a plan point.
  QPoint PlanPixel(float x, float y) const { return window.View(0)->ToPixel(x, y); }
  // The centre of cell (column, row).
  QPoint CellCentre(int column, int row) const {
    return PlanPixel(window.model().XCENTER[column], window.model().YCENTER[row]);
  }

  TempDir dir;
  std::string modelPath;
  app::MainWindow window;
};

// The child of `dialog` named `name`; the test fails when there is none.
template <typename Widget>
Widget* Field(QWidget& dialog, const QString& name) {
  auto* field = dialog.findChild<Widget*>(name);
  EXPECT_NE(field, nullptr) << name.toStdString();
  return field;
}

}  // namespace kestra::test
