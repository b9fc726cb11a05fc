// The Export Results and Model Position dialogs, on their own and in the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "app/export_results_dialog.h"
#include "app/model_position_dialog.h"
#include "gui_model.h"
#include "support/gis_reader.h"
#include "support/recording_interface.h"
#include "tracking/placement.h"

namespace kestra::test {
namespace {

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int n = 0; n < box->count(); ++n) items << box->itemText(n);
  return items;
}

TEST(ExportResultsDialog, EachKindOffersItsFormatsAndTheFileFollowsTheFormat) {
  RecordingInterface ui;
  app::ExportResultsDialog dialog({ExportKind::Pathlines, ExportFormat::GeoPackage, "/data/site_paths.gpkg"}, ui,
                                  nullptr);
  auto* kind = Field<QComboBox>(dialog, "export_kind");
  auto* format = Field<QComboBox>(dialog, "export_format");
  auto* file = Field<QLineEdit>(dialog, "export_file");
  EXPECT_EQ(format->count(), 5);
  EXPECT_TRUE(Items(format).last().contains("*.vtp"));
  format->setCurrentIndex(1);
  EXPECT_EQ(file->text(), "/data/site_paths.shp");
  kind->setCurrentIndex(kind->findData(static_cast<int>(ExportKind::Velocity)));
  EXPECT_EQ(Items(format), QStringList{"Text array (*.txt)"});
  EXPECT_EQ(file->text(), "/data/site_paths.txt");
  kind->setCurrentIndex(kind->findData(static_cast<int>(ExportKind::Heads)));
  format->setCurrentIndex(1);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Choice().kind, ExportKind::Heads);
  EXPECT_EQ(dialog.Choice().format, ExportFormat::GeoTiff);
  EXPECT_EQ(dialog.Choice().fileName, "/data/site_paths.tif");
}

TEST(ExportResultsDialog, WithoutAFileNameTheDialogStaysOpen) {
  RecordingInterface ui;
  app::ExportResultsDialog dialog({ExportKind::Grid, ExportFormat::GeoPackage, ""}, ui, nullptr);
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "No file name is given.");
}

TEST(ModelPositionDialog, ShowsThePositionAndRefusesWhatCannotBeUsed) {
  RecordingInterface ui;
  app::ModelPositionDialog dialog({500000.5, 4100000, 30, "EPSG:32633"}, LengthUnit::Meters, ui, nullptr);
  auto* x = Field<QLineEdit>(dialog, "position_x_origin");
  auto* crs = Field<QLineEdit>(dialog, "position_crs");
  EXPECT_EQ(x->text(), "500000.5");
  EXPECT_EQ(crs->text(), "EPSG:32633");
  x->setText("east");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  x->setText("1000");
  crs->setText("EPSG:999999");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_NE(ui.messages[1].text.find("'EPSG:999999' is not known"), std::string::npos) << ui.messages[1].text;
  crs->setText("EPSG:32632");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Choice(), (PositionChoice{1000.0, 4100000.0, 30.0, "EPSG:32632"}));
}

TEST(ExportResults, TheWindowWritesThePathlinesOfItsRunsWhereTheModelPositionPutsThem) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  app::MainWindow& window = w.window;
  const ModelState& m = window.model();
  PlacementCounts oneInTheMiddle;
  oneInTheMiddle.latticeColumns = oneInTheMiddle.latticeRows = oneInTheMiddle.latticePlanes = 1;
  PlaceParticleGroups(m, window.session().settings, window.particles(), {{5, 10, 1}, {12, 15, 1}}, oneInTheMiddle, 1,
                      window.ui());
  const int count = window.particles().ParticleCount();
  ASSERT_GT(count, 0);
  AnswerNextDialog<app::ModelPositionDialog>([](app::ModelPositionDialog& dialog) {
    Field<QLineEdit>(dialog, "position_x_origin")->setText("500000");
    Field<QLineEdit>(dialog, "position_y_origin")->setText("4100000");
    Field<QLineEdit>(dialog, "position_rotation")->setText("0");
    Field<QLineEdit>(dialog, "position_crs")->setText("EPSG:32633");
    dialog.accept();
  });
  window.findChild<QAction*>("options_model_position")->trigger();
  // A redraw puts the particles back at their release points: the runs come after it.
  const std::string path = w.dir.File("paths.gpkg");
  const auto exportPathlines = [&path](app::ExportResultsDialog& dialog) {
    Field<QLineEdit>(dialog, "export_file")->setText(QString::fromStdString(path));
    dialog.accept();
    CloseNextMessageBox();  // the one saying that nothing has been tracked
  };
  AnswerNextDialog<app::ExportResultsDialog>(exportPathlines);
  window.findChild<QAction*>("file_export_results")->trigger();
  EXPECT_FALSE(std::filesystem::exists(path));
  window.run_forward_Click();
  AnswerNextDialog<app::ExportResultsDialog>(exportPathlines);
  window.findChild<QAction*>("file_export_results")->trigger();
  const auto layers = ReadGisLayers(path);
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_EQ(layers[0].crsAuthority, "EPSG:32633");
  ASSERT_EQ(static_cast<int>(layers[0].features.size()), count);
  for (const ReadFeature& line : layers[0].features) {
    ASSERT_GE(line.vertices.size(), 2u);
    EXPECT_GE(line.vertices[0].x, 500000);
    EXPECT_LE(line.vertices[0].x, 500000 + m.XEDGE[m.NCOL]);
    EXPECT_GE(line.vertices[0].y, 4100000);
  }
  // The settings file keeps the position for the next open.
  EXPECT_EQ(ReadModelPosition(window.session().settingsPath).crs, "EPSG:32633");
}

}  // namespace
}  // namespace kestra::test
