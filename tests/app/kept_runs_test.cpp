// The window keeps the pathlines and end points of its runs across redraws:
// a zoom and back gives the same picture, until Run, Restart; paths tracked
// with other options are drawn dimmed and say so.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "app/tracking_dialog.h"
#include "graphics/pathline_drawing.h"
#include "gui_model.h"

namespace kestra::test {
namespace {

QRgb ToQRgb(Colour c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TEST(KeptRuns, PathlinesAndEndPointsStayAcrossRedrawsUntilRestart) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(10, 5));
  const QImage released = w.window.Raster(0).Image();
  w.window.ToolbarButton("forward")->trigger();
  const QImage tracked = w.window.Raster(0).Image(), trackedRow = w.window.Raster(1).Image();
  const double time = w.window.particles().Particles[0].forward.time;
  ASSERT_GT(time, 0);
  ASSERT_GT(ChangedPixels(released, tracked), 20);

  // Zoomed in and back out: the plan and the section are drawn as they were.
  const float whole = w.window.layout().zoom.width;
  Wheel(w.window.View(0), w.CellCentre(5, 5), 2);
  ASSERT_LT(w.window.layout().zoom.width, whole);
  w.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
  QTest::keyClick(&w.window, Qt::Key_0, Qt::ControlModifier);
  ASSERT_EQ(w.window.layout().zoom.width, whole);
  EXPECT_EQ(ChangedPixels(tracked, w.window.Raster(0).Image()), 0);
  EXPECT_EQ(ChangedPixels(trackedRow, w.window.Raster(1).Image()), 0);
  EXPECT_EQ(w.window.particles().Particles[0].forward.time, time);
  EXPECT_EQ(w.window.Endpoints().Endpoints().size(), 1u);

  // A second run goes on from where the first ended.
  w.window.ToolbarButton("forward")->trigger();
  EXPECT_GE(w.window.particles().Particles[0].forward.time, time);

  w.window.findChild<QAction*>("run_restart")->trigger();
  EXPECT_EQ(w.window.particles().Particles[0].forward.time, 0);
  EXPECT_TRUE(w.window.Endpoints().Endpoints().empty());
  EXPECT_EQ(ChangedPixels(released, w.window.Raster(0).Image()), 0);
}

// Down a layer and back: the runs of the model example are drawn again.
TEST(KeptRuns, ALayerChangeAndBackDrawsTheRunsAgain) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(8, 6));
  w.window.ToolbarButton("forward")->trigger();
  w.window.ToolbarButton("backward")->trigger();
  const QImage tracked = w.window.Raster(0).Image();
  w.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
  QTest::keyClick(w.window.View(0), Qt::Key_PageDown);
  ASSERT_EQ(w.window.model().CurrentLayer, 2);
  QTest::keyClick(w.window.View(0), Qt::Key_PageUp);
  ASSERT_EQ(w.window.model().CurrentLayer, 1);
  EXPECT_EQ(ChangedPixels(tracked, w.window.Raster(0).Image()), 0);
}

TEST(KeptRuns, PathsOfOtherOptionsAreDimmedAndSaySo) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(10, 5));
  w.window.ToolbarButton("forward")->trigger();
  const QRgb own = ToQRgb(w.window.particles().Particles[0].ParticleColor);
  const QRgb dimmed = ToQRgb(Faded(w.window.particles().Particles[0].ParticleColor));
  const int ownPixels = PixelsOf(w.window.Raster(0).Image(), own);
  ASSERT_GT(ownPixels, 20);

  // Cancel changes nothing.
  AnswerNextDialog<app::TrackingDialog>([](app::TrackingDialog& dialog) { dialog.reject(); });
  w.window.findChild<QAction*>("options_particle_tracking")->trigger();
  EXPECT_FALSE(w.window.PathlinesStale());
  EXPECT_EQ(PixelsOf(w.window.Raster(0).Image(), own), ownPixels);

  AnswerNextDialog<app::TrackingDialog>([](app::TrackingDialog& dialog) {
    Field<QLineEdit>(dialog, "Maximum_steps")->setText("3");
    dialog.accept();
  });
  w.window.findChild<QAction*>("options_particle_tracking")->trigger();
  EXPECT_TRUE(w.window.PathlinesStale());
  const QImage plan = w.window.Raster(0).Image();
  EXPECT_GT(PixelsOf(plan, dimmed), 20);
  EXPECT_LT(PixelsOf(plan, own), ownPixels);  // the release dot keeps its colour
  EXPECT_EQ(w.window.findChild<QLabel*>("hint")->text(),
            "The pathlines no longer match the options; Run, Restart to track again.");

  w.window.findChild<QAction*>("run_restart")->trigger();
  EXPECT_FALSE(w.window.PathlinesStale());
  EXPECT_EQ(PixelsOf(w.window.Raster(0).Image(), dimmed), 0);
}

}  // namespace
}  // namespace kestra::test
