// Run, Capture Zone... in the real window: the well picked with the mouse,
// the times typed in the dialog, the zones drawn on the plan and the
// sections and kept there across redraws.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "export/capture_zone_drawing.h"
#include "export/dxf_maps.h"
#include "gui_model.h"
#include "support/gis_reader.h"

namespace kestra::test {
namespace {

QRgb ColourOfZone(int timeIndex) {
  const Colour c = MapEntityColour(ZoneColourIndex(timeIndex), kBlack);
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

using Pick = app::MainWindow::ZonePick;

void PickWell(OpenWindow& w, int column, int row) {
  w.window.findChild<QAction*>("run_capture_zone")->trigger();
  ASSERT_EQ(w.window.Picking(), Pick::Well);
  QTest::mouseClick(w.window.View(0), Qt::LeftButton, {}, w.CellCentre(column, row));
}

TEST(CaptureZoneWindow, APickedWellGetsZonesThatStayAcrossRedraws) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  QTest::keyClick(w.window.View(0), Qt::Key_PageDown);
  ASSERT_EQ(w.window.model().CurrentLayer, 2);
  QTest::mouseClick(w.window.View(0), Qt::LeftButton, Qt::ControlModifier, w.CellCentre(15, 8));  // sections
  const QRgb whole = ColourOfZone(-1), firstTime = ColourOfZone(0);
  const int planBefore = PixelsOf(w.window.Raster(0).Image(), whole);
  const int sectionBefore = PixelsOf(w.window.Raster(1).Image(), whole) + PixelsOf(w.window.Raster(2).Image(), whole);

  AnswerNextDialog([](QDialog& dialog) {
    Field<QLineEdit>(dialog, "capture_times")->setText("1y, 5y");
    Field<QSpinBox>(dialog, "capture_face_particles")->setValue(3);
    dialog.accept();
  });
  PickWell(w, 15, 8);
  EXPECT_EQ(w.window.Picking(), Pick::None);
  const std::vector<CaptureZone>& zones = w.window.CaptureZones();
  ASSERT_EQ(zones.size(), 3u);
  EXPECT_EQ(zones[0].well, "2,8,15");
  EXPECT_DOUBLE_EQ(*zones[0].time, 365.25);
  EXPECT_FALSE(zones[2].time);
  EXPECT_TRUE(zones[2].Complete());
  EXPECT_GE(zones[2].particles, 6 * 3 * 3);
  EXPECT_LT(zones[0].area, zones[2].area);

  const int planWith = PixelsOf(w.window.Raster(0).Image(), whole);
  EXPECT_GT(planWith, planBefore + 50);
  EXPECT_GT(PixelsOf(w.window.Raster(0).Image(), firstTime), 50);
  const int sectionWith = PixelsOf(w.window.Raster(1).Image(), whole) + PixelsOf(w.window.Raster(2).Image(), whole);
  EXPECT_GT(sectionWith, sectionBefore + 20);  // the sections go through the well, so through its zone

  // A layer change and back redraws everything: the zones are drawn again.
  QTest::keyClick(w.window.View(0), Qt::Key_PageUp);
  QTest::keyClick(w.window.View(0), Qt::Key_PageDown);
  EXPECT_EQ(PixelsOf(w.window.Raster(0).Image(), whole), planWith);

  const FigureFacts facts = w.window.FactsOfFigureViews(w.window.FigureOfViews(true, true));
  const auto has = [&](const std::string& label) {
    return std::any_of(facts.legend.begin(), facts.legend.end(), [&](const LegendEntry& e) { return e.label == label; });
  };
  EXPECT_TRUE(has("Well 2,8,15: 365.25 days"));
  EXPECT_TRUE(has("Well 2,8,15: whole capture zone"));

  // Export Results writes the zones drawn as polygons.
  const std::string path = w.dir.File("zones.gpkg");
  AnswerNextDialog<app::ExportResultsDialog>([&path](app::ExportResultsDialog& dialog) {
    auto* kind = Field<QComboBox>(dialog, "export_kind");
    kind->setCurrentIndex(kind->findData(static_cast<int>(ExportKind::CaptureZones)));
    Field<QLineEdit>(dialog, "export_file")->setText(QString::fromStdString(path));
    dialog.accept();
  });
  w.window.findChild<QAction*>("file_export_results")->trigger();
  const auto layers = ReadGisLayers(path);
  ASSERT_EQ(layers.size(), 1u);
  ASSERT_EQ(layers[0].features.size(), 3u);
  EXPECT_EQ(layers[0].features[0].text.at("well"), "2,8,15");

  w.window.findChild<QAction*>("run_clear_capture_zones")->trigger();
  EXPECT_TRUE(w.window.CaptureZones().empty());
  EXPECT_EQ(PixelsOf(w.window.Raster(0).Image(), whole), planBefore);
}

TEST(CaptureZoneWindow, ACellWithoutAPumpingWellIsRefusedAndEscCancelsThePick) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  std::string message;
  AnswerMessage(message);
  PickWell(w, 5, 5);
  EXPECT_EQ(message, "Layer 1, row 5, column 5 holds no well in stress period 1.");
  EXPECT_TRUE(w.window.CaptureZones().empty());

  w.window.findChild<QAction*>("run_capture_zone")->trigger();
  QTest::keyClick(w.window.View(0), Qt::Key_Escape);
  EXPECT_EQ(w.window.Picking(), Pick::None);
  const int particles = w.window.particles().ParticleCount();
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(15, 8));
  EXPECT_EQ(w.window.particles().ParticleCount(), particles + 1);  // the plan takes particles again
}

// A rectangle dragged over two cells of layer 1 is a source: its water is
// tracked forward from their top faces, and its zones replace the last
// source's.
TEST(CaptureZoneWindow, ARectangleDraggedOverASourceGetsTheZoneItsWaterReaches) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  std::string start;
  const auto answer = [&start](QDialog& dialog) {
    start = dialog.findChild<QLabel*>()->text().toStdString();
    Field<QLineEdit>(dialog, "capture_times")->setText("1y");
    dialog.accept();
  };
  for (int pass = 0; pass < 2; ++pass) {
    w.window.findChild<QAction*>("run_source_zone")->trigger();
    ASSERT_EQ(w.window.Picking(), Pick::Source);
    AnswerNextDialog(answer);
    const QPoint a = w.CellCentre(5, 8), b = w.CellCentre(5, 9);
    Drag(w.window.View(0), Qt::LeftButton, a - QPoint(2, 2), b + QPoint(2, 2));
  }
  EXPECT_EQ(start, "Source of 2 cells, tracked forward from the top faces.");
  EXPECT_EQ(w.window.Picking(), Pick::None);
  EXPECT_EQ(w.window.particles().ParticleCount(), 0);  // the drag placed no particles
  const std::vector<CaptureZone>& zones = w.window.CaptureZones();
  ASSERT_EQ(zones.size(), 2u);
  EXPECT_TRUE(zones[0].fromSource);
  EXPECT_EQ(zones[0].particles, 2 * 4 * 4);
  EXPECT_GT(PixelsOf(w.window.Raster(0).Image(), ColourOfZone(0)), 20);
  const FigureFacts facts = w.window.FactsOfFigureViews(w.window.FigureOfViews(true, true));
  EXPECT_EQ(facts.legend.back().label, "Source: whole zone");
}

}  // namespace
}  // namespace kestra::test
