// The legend lists what the views can show in the colours drawn; its boxes
// hide and show each kind on the views and in the settings file.
#include <QAction>
#include <QListWidget>
#include <gtest/gtest.h>

#include "gui_model.h"

namespace kestra::test {
namespace {

QListWidgetItem* Line(QListWidget* legend, const QString& label) {
  const QList<QListWidgetItem*> found = legend->findItems(label, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.front();
}

TEST(LegendWindow, ListsTheModelsKindsInTheirColoursAndItsBoxesHideAndShowThem) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  app::MainWindow& window = w.window;
  auto* legend = window.findChild<QListWidget*>("legend");
  ASSERT_NE(legend, nullptr);
  const Settings& s = window.session().settings;
  QListWidgetItem* wells = Line(legend, "Pumping wells");
  ASSERT_NE(wells, nullptr);
  ASSERT_NE(Line(legend, "Fixed heads"), nullptr);
  EXPECT_EQ(Line(legend, "Reservoirs"), nullptr);  // the model has none
  EXPECT_EQ(Line(legend, "Forward pathlines"), nullptr);
  // The swatch is the colour the wells are drawn in; the well of the
  // example is in layer 2, on the row section.
  const QImage swatch = wells->icon().pixmap(legend->iconSize()).toImage();
  const QRgb wellColour = qRgb(s.dischargeWellColor & 0xFF, (s.dischargeWellColor >> 8) & 0xFF,
                               (s.dischargeWellColor >> 16) & 0xFF);
  EXPECT_EQ(swatch.pixel(swatch.width() / 2, swatch.height() / 2), wellColour);
  const int wellPixels = PixelsOf(window.Raster(1).Image(), wellColour);
  EXPECT_GT(wellPixels, 0);

  wells->setCheckState(Qt::Unchecked);
  EXPECT_FALSE(IsOn(s.showDischargeWells));
  EXPECT_EQ(PixelsOf(window.Raster(1).Image(), wellColour), 0);
  EXPECT_NE(ReadWholeFile(window.session().settingsPath).find("DISCHARGE_WELL= 0"), std::string::npos)
      << ReadWholeFile(window.session().settingsPath);
  // Still offered, to be switched on again.
  wells = Line(legend, "Pumping wells");
  ASSERT_NE(wells, nullptr);
  EXPECT_EQ(wells->checkState(), Qt::Unchecked);
  wells->setCheckState(Qt::Checked);
  EXPECT_EQ(PixelsOf(window.Raster(1).Image(), wellColour), wellPixels);

  QTest::mouseClick(window.View(0), Qt::RightButton, {}, w.CellCentre(5, 5));
  window.findChild<QAction*>("run_forward")->trigger();
  QListWidgetItem* paths = Line(legend, "Forward pathlines");
  ASSERT_NE(paths, nullptr);
  EXPECT_FALSE(paths->flags() & Qt::ItemIsUserCheckable);
}

}  // namespace
}  // namespace kestra::test
