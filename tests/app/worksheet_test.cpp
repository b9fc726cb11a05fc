// The real main window driven through the mouse and keyboard on a shared
// test model.
#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "gui_model.h"
#include "settings/ini_file.h"

namespace kestra::test {
namespace {

QString Pane(app::MainWindow& window, int pane) {
  return window.findChild<QLabel*>(QString("Status_pane%1").arg(pane))->text();
}

// Pixels of the picture that differ from a copy taken earlier.
int ChangedPixels(const QImage& before, const QImage& after) {
  int changed = 0;
  for (int y = 0; y < std::min(before.height(), after.height()); ++y)
    for (int x = 0; x < std::min(before.width(), after.width()); ++x) changed += before.pixel(x, y) != after.pixel(x, y);
  return changed;
}

// A pointer move over a widget with the given buttons held.
void MovePointer(QWidget* widget, QPoint to, Qt::MouseButtons buttons = Qt::NoButton) {
  QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, buttons, {});
  QApplication::sendEvent(widget, &move);
}

TEST(MainWindowStart, ModelOnTheCommandLineOpensWithItsTitle) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  ASSERT_TRUE(w.window.model().HasModel());
  EXPECT_EQ(w.window.windowTitle(), "KESTRA - [mixed3d.mdl]");
  EXPECT_TRUE(w.window.ToolbarButton("forward")->isEnabled());
  EXPECT_TRUE(w.window.View(0)->isVisible());
  EXPECT_GT(w.window.Raster(0).Image().width(), 100);
}

TEST(MainWindowWorksheet, PointerBesideThePicturesIsNoDropWhileAModelIsShown) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  QWidget* area = w.window.centralWidget();
  MovePointer(area, QPoint(area->width() - 2, area->height() - 2));
  EXPECT_EQ(area->cursor().shape(), Qt::ForbiddenCursor);
  EXPECT_EQ(w.window.View(0)->cursor().shape(), Qt::ArrowCursor);
}

TEST(MainWindowWorksheet, RightClickInSetModeAddsOneParticleAtTheVerticalPosition) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(5, 4));
  ASSERT_EQ(w.window.particles().ParticleCount(), 1);
  const ParticleRecord& p = w.window.particles().Particles[0];
  EXPECT_EQ(p.startCell, (CellIndex{5, 4, 1}));
  EXPECT_FLOAT_EQ(p.startLocal.z, w.window.VerticalPosition());
  // The click lands on a pixel: within one pixel of the centre, in cell units.
  EXPECT_NEAR(p.startLocal.x, 0.5, w.window.layout().PixelSize / 10);
  EXPECT_TRUE(w.window.findChild<QAction*>("file_save_particles_as")->isEnabled());
}

TEST(MainWindowWorksheet, RightClickInZoomModeOnlyBeeps) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  w.window.ToolbarButton("zoom")->trigger();
  const int beeps = w.window.ui().BeepCount();
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(5, 4));
  EXPECT_EQ(w.window.particles().ParticleCount(), 0);
  EXPECT_EQ(w.window.ui().BeepCount(), beeps + 1);
}

TEST(MainWindowRuns, RunForwardDrawsPathlinePixelsOnThePlanAndSections) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(3, 5));
  const QImage plan = w.window.Raster(0).Image(), row = w.window.Raster(1).Image();
  w.window.ToolbarButton("forward")->trigger();
  EXPECT_GT(w.window.particles().Particles[0].forward.time, 0);
  // The flow runs along the rows: a line of pixels on the plan and the row section.
  EXPECT_GT(ChangedPixels(plan, w.window.Raster(0).Image()), 20);
  EXPECT_GT(ChangedPixels(row, w.window.Raster(1).Image()), 20);
}

TEST(MainWindowRuns, StopButtonEndsALongRun) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  for (int row = 1; row <= 10; ++row) QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(2, row));
  // Steps so short that the run would take many thousand moves.
  w.window.session().tracking.StepLength = 0.001;
  w.window.session().tracking.MaximumSteps = 1000000;
  int stoppedAt = -1;
  QTimer::singleShot(20, [&] {
    stoppedAt = w.window.busy().trackingRun ? 1 : 0;
    w.window.ToolbarButton("stop")->trigger();
  });
  w.window.ToolbarButton("forward")->trigger();
  EXPECT_EQ(stoppedAt, 1);  // the run was still going when stop was pressed
  EXPECT_FALSE(w.window.busy().trackingRun);
  EXPECT_LT(w.window.particles().Particles[0].forward.time, 1000);  // short of all its steps
  EXPECT_TRUE(w.window.ToolbarButton("forward")->isEnabled());
  EXPECT_FALSE(w.window.ToolbarButton("stop")->isEnabled());
}

TEST(MainWindowWorksheet, PageUpAtLayerOneOnlyBeeps) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  const QImage before = w.window.Raster(0).Image();
  auto* layerBox = w.window.findChild<QSpinBox*>("layer_spin_edit");
  const int beeps = w.window.ui().BeepCount();
  QTest::keyClick(layerBox, Qt::Key_PageUp);
  EXPECT_EQ(w.window.ui().BeepCount(), beeps + 1);
  EXPECT_EQ(w.window.model().CurrentLayer, 1);
  EXPECT_EQ(w.window.Raster(0).Image(), before);
  QTest::keyClick(layerBox, Qt::Key_PageDown);
  EXPECT_EQ(w.window.model().CurrentLayer, 2);
}

ZoomWindow DragZoom(OpenWindow& w, QPoint from, QPoint to) {
  w.window.ToolbarButton("zoom")->trigger();
  QTest::mousePress(w.window.View(0), Qt::LeftButton, {}, from);
  MovePointer(w.window.View(0), to, Qt::LeftButton);
  QTest::mouseRelease(w.window.View(0), Qt::LeftButton, {}, to);
  return w.window.layout().zoom;
}

TEST(MainWindowWorksheet, ZoomDragEitherWayGivesOneWindowAndANinePixelDragIsRefused) {
  OpenWindow a("uniform1/lahey", "uniform1.mdl");
  const QPoint upperLeft = a.CellCentre(3, 2), lowerRight = a.CellCentre(9, 7);
  const ZoomWindow down = DragZoom(a, upperLeft, lowerRight);
  OpenWindow b("uniform1/lahey", "uniform1.mdl");
  const ZoomWindow up = DragZoom(b, lowerRight, upperLeft);
  EXPECT_FLOAT_EQ(down.Xmin, up.Xmin);
  EXPECT_FLOAT_EQ(down.Ymin, up.Ymin);
  EXPECT_FLOAT_EQ(down.width, up.width);
  EXPECT_FLOAT_EQ(down.height, up.height);
  EXPECT_LT(down.width, 200);  // zoomed in from the 200 m wide grid

  OpenWindow c("uniform1/lahey", "uniform1.mdl");
  const ZoomWindow whole = c.window.layout().zoom;
  const QPoint start = c.CellCentre(5, 5);
  const ZoomWindow refused = DragZoom(c, start, start + QPoint(9, 30));
  EXPECT_FLOAT_EQ(refused.width, whole.width);
  EXPECT_FLOAT_EQ(refused.height, whole.height);
}

TEST(MainWindowWorksheet, CtrlClickMovesTheSectionsAndWritesBothKeysAtOnce) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  QTest::mouseClick(w.window.View(0), Qt::LeftButton, Qt::ControlModifier, w.CellCentre(7, 11));
  EXPECT_EQ(w.window.session().settings.sectionColumn, 7);
  EXPECT_EQ(w.window.session().settings.sectionRow, 11);
  const std::string ini = ReadWholeFile(w.dir.File("mixed3d.ini"));
  EXPECT_NE(ini.find("COLUMN=7"), std::string::npos) << ini;
  EXPECT_NE(ini.find("ROW=11"), std::string::npos) << ini;
}

TEST(MainWindowWorksheet, PanesShowDashesOverAnInactiveCell) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  // Rows 1-5, columns 25-30 are inactive in every layer.
  MovePointer(w.window.View(0), w.CellCentre(27, 3));
  EXPECT_EQ(Pane(w.window, 2), "---");
  EXPECT_EQ(Pane(w.window, 3), "---");
  EXPECT_EQ(Pane(w.window, 4), "---");
  EXPECT_EQ(Pane(w.window, 1), "27, 3, 1");
  MovePointer(w.window.View(0), w.CellCentre(10, 10));
  EXPECT_TRUE(Pane(w.window, 2).contains("E+"));
}

}  // namespace
}  // namespace kestra::test
