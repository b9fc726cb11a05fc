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

TEST(MainWindowStart, ModelOnTheCommandLineOpensWithItsTitle) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  ASSERT_TRUE(w.window.model().HasModel());
  EXPECT_EQ(w.window.windowTitle().toStdString(), "KESTRA - [mixed3d.mdl] (" + w.dir.path().string() + ")");
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
  Drag(w.window.View(0), Qt::LeftButton, from, to);
  return w.window.layout().zoom;
}

// The drag's corners in either order give one window (zoom_rules); here the
// window passes the drag on and the tool disarms after it.
TEST(MainWindowWorksheet, ZoomDragZoomsInAndDisarmsAndANinePixelDragIsRefused) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  const ZoomWindow whole = w.window.layout().zoom;
  const QPoint start = w.CellCentre(5, 5);
  const ZoomWindow refused = DragZoom(w, start, start + QPoint(9, 30));
  EXPECT_FLOAT_EQ(refused.width, whole.width);
  EXPECT_FLOAT_EQ(refused.height, whole.height);
  // Dragged from the lower right to the upper left: the window spans the two points.
  const QPointF upperLeft = w.window.View(0)->ToUser(w.CellCentre(3, 2));
  const QPointF lowerRight = w.window.View(0)->ToUser(w.CellCentre(9, 7));
  const ZoomWindow zoomed = DragZoom(w, w.CellCentre(9, 7), w.CellCentre(3, 2));
  EXPECT_NEAR(zoomed.Xmin, upperLeft.x(), 1e-3);
  EXPECT_NEAR(zoomed.Ymin, upperLeft.y(), 1e-3);
  EXPECT_NEAR(zoomed.width, lowerRight.x() - upperLeft.x(), 1e-3);
  EXPECT_NEAR(zoomed.height, lowerRight.y() - upperLeft.y(), 1e-3);
  EXPECT_TRUE(w.window.ToolbarButton("set particle")->isChecked());
  EXPECT_FALSE(w.window.ToolbarButton("zoom")->isChecked());
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
  // An active cell's head in plain decimals.
  bool number = false;
  Pane(w.window, 2).toDouble(&number);
  EXPECT_TRUE(number) << Pane(w.window, 2).toStdString();
  EXPECT_FALSE(Pane(w.window, 2).contains("E"));
}

}  // namespace
}  // namespace kestra::test
