// Moving about the plan: wheel zoom about the pointer, panning with the
// middle button or Space + left drag; and what
// the plan draws: release points five pixels across, pathlines, backward
// paths in their own colour.
#include <QAction>
#include <gtest/gtest.h>

#include <cstdlib>

#include "gui_model.h"

namespace kestra::test {
namespace {

TEST(Navigation, WheelZoomsAboutThePointAndBackOutToTheWholeGrid) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  const ZoomWindow whole = w.window.layout().zoom;
  const QPoint at = w.CellCentre(15, 3);
  const QPointF model = w.window.View(0)->ToUser(at);
  const QSize before = w.window.View(0)->size();
  Wheel(w.window.View(0), at, 1);
  EXPECT_LT(w.window.layout().zoom.width, whole.width);
  // The cell under the pointer keeps its place in the plan (the plan's size
  // follows the window, the sections keep theirs).
  const QPoint after = w.window.View(0)->ToPixel(static_cast<float>(model.x()), static_cast<float>(model.y()));
  const QSize size = w.window.View(0)->size();
  EXPECT_NEAR(double(after.x()) / size.width(), double(at.x()) / before.width(), 0.02);
  EXPECT_NEAR(double(after.y()) / size.height(), double(at.y()) / before.height(), 0.02);
  Wheel(w.window.View(0), at, -3);
  EXPECT_FLOAT_EQ(w.window.layout().zoom.width, whole.width);
  EXPECT_FLOAT_EQ(w.window.layout().zoom.Xmin, 0);
}

TEST(Navigation, MiddleDragAndSpaceDragPanTheZoomedPlan) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  app::PictureView* plan = w.window.View(0);
  Wheel(plan, w.CellCentre(10, 5), 3);
  const ZoomWindow zoomed = w.window.layout().zoom;
  const QPointF a = plan->ToUser(w.CellCentre(10, 5)), b = plan->ToUser(w.CellCentre(12, 5));
  Drag(plan, Qt::MiddleButton, w.CellCentre(12, 5), w.CellCentre(10, 5));
  // Dragged from right to left: the window moved right by the drag's length.
  EXPECT_NEAR(w.window.layout().zoom.Xmin, zoomed.Xmin + (b.x() - a.x()), 0.01);
  EXPECT_FLOAT_EQ(w.window.layout().zoom.Ymin, zoomed.Ymin);
  EXPECT_EQ(w.window.particles().ParticleCount(), 0);

  const ZoomWindow before = w.window.layout().zoom;
  plan->setFocus();
  QTest::keyPress(plan, Qt::Key_Space);
  Drag(plan, Qt::LeftButton, QPoint(100, 100), QPoint(100, 140));
  QTest::keyRelease(plan, Qt::Key_Space);
  EXPECT_LT(w.window.layout().zoom.Ymin, before.Ymin);
  // A pan places no particles and the left drag works as before afterwards.
  EXPECT_EQ(w.window.particles().ParticleCount(), 0);
}

// Pixels near `colour` (lines are smoothed) in the square of `radius` around `at`.
int PixelsNear(const QImage& image, QPoint at, int radius, Colour colour) {
  const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  int count = 0;
  for (int y = at.y() - radius; y <= at.y() + radius; ++y)
    for (int x = at.x() - radius; x <= at.x() + radius; ++x) {
      if (!image.valid(x, y)) continue;
      const QRgb p = image.pixel(x, y);
      count += std::abs(qRed(p) - red) < 60 && std::abs(qGreen(p) - green) < 60 && std::abs(qBlue(p) - blue) < 60;
    }
  return count;
}

TEST(Drawing, ReleasePointsAreFivePixelsAcrossAndPathlinesShowOnPlanAndSections) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  const QPoint at = w.CellCentre(10, 5);
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, at);
  const Settings& settings = w.window.session().settings;
  EXPECT_GE(PixelsNear(w.window.Raster(0).Image(), at, 4, settings.particleColor), 25);

  // The flow runs along the rows: a line of pixels on the plan and the row section.
  const QImage plan = w.window.Raster(0).Image(), row = w.window.Raster(1).Image();
  w.window.ToolbarButton("forward")->trigger();
  EXPECT_GT(w.window.particles().Particles[0].forward.time, 0);
  EXPECT_GT(ChangedPixels(plan, w.window.Raster(0).Image()), 20);
  EXPECT_GT(ChangedPixels(row, w.window.Raster(1).Image()), 20);

  w.window.session().tracking.MaximumSteps = 1000;
  w.window.findChild<QAction*>("run_backward")->trigger();
  // Flow runs along the rows towards column 20: the backward path goes left, in its own colour.
  const QImage image = w.window.Raster(0).Image();
  EXPECT_GT(PixelsNear(image, w.CellCentre(6, 5), 6, settings.backwardPathColor), 3);
  EXPECT_EQ(PixelsNear(image, w.CellCentre(6, 5), 6, settings.particleColor), 0);
}

}  // namespace
}  // namespace kestra::test
