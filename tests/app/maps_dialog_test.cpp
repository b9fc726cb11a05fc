// The Maps Options dialog with its check, the Browse buttons of the file
// fields, and the vectors and maps on the plan of the real window.
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/maps_dialog.h"
#include "app/save_plot_dialog.h"
#include "gui_model.h"
#include "support/recording_interface.h"

namespace kestra::test {
namespace {

struct MapsScene {
  TempDir dir;
  std::array<DxfMapEntry, kDxfMapCount + 1> maps{};
  RecordingInterface ui;
  std::string site = dir.File("site.dxf");

  MapsScene() {
    WriteWholeFile(site, "0\nEOF\n");
    maps[2] = {site, 1.5f, -20, 2, kOn, RgbColour(10, 20, 30)};
  }
};

// Browse opens the file dialog and puts the file chosen into the field.
void BrowseInto(QDialog& dialog, const char* button, const char* field, const std::string& path) {
  AnswerNextDialog<QFileDialog>([path](QFileDialog& files) {
    files.selectFile(QString::fromStdString(path));
    static_cast<QDialog&>(files).accept();  // QFileDialog hides its accept
  });
  Field<QPushButton>(dialog, button)->click();
  EXPECT_EQ(Field<QLineEdit>(dialog, field)->text().toStdString(), path) << button;
}

TEST(FileFields, EachHasABrowseButtonThatFillsItWithTheFileChosen) {
  MapsScene s;
  app::MapsDialog maps(s.maps, s.ui, nullptr);
  for (const auto& [button, field] : {std::pair{"DXF_browse_0", "DXF_Files_0"}, {"DXF_browse_4", "DXF_Files_4"}})
    BrowseInto(maps, button, field, s.site);
  app::SavePlotDialog plot({kPlotFormatDxf, s.dir.File("plot.dxf"), true, false}, s.dir.File("site.mdl"), true, s.ui,
                           nullptr);
  BrowseInto(plot, "Save_file_browse", "Save_file", s.dir.File("other.dxf"));
}

TEST(MapsDialog, ShowsTheFiveEntriesAndCancelKeepsThem) {
  MapsScene s;
  app::MapsDialog dialog(s.maps, s.ui, nullptr);
  EXPECT_EQ(dialog.objectName(), "maps");
  EXPECT_EQ(Field<QLineEdit>(dialog, "DXF_Files_1")->text().toStdString(), s.site);
  EXPECT_EQ(Field<QLineEdit>(dialog, "DXF_shift_X_1")->text(), " 1.5");
  EXPECT_EQ(Field<QLineEdit>(dialog, "DXF_shift_Y_1")->text(), "-20");
  EXPECT_EQ(Field<QLineEdit>(dialog, "DXF_factor_1")->text(), " 2");
  EXPECT_TRUE(Field<QCheckBox>(dialog, "DXF_check_1")->isChecked());
  EXPECT_FALSE(Field<QCheckBox>(dialog, "DXF_check_0")->isChecked());
  // An unused row offers factor 1 and dark blue, so a map typed into it draws.
  EXPECT_EQ(Field<QLineEdit>(dialog, "DXF_factor_0")->text(), " 1");
  EXPECT_EQ(dialog.SwatchColour(0), RgbColour(0, 0, 128));
  EXPECT_EQ(dialog.SwatchColour(1), RgbColour(10, 20, 30));
  EXPECT_NE(Field<QPushButton>(dialog, "DXF_color_4"), nullptr);
  EXPECT_NE(Field<QPushButton>(dialog, "OK"), nullptr);
  EXPECT_NE(Field<QPushButton>(dialog, "Cancel"), nullptr);
  const auto before = s.maps;
  Field<QLineEdit>(dialog, "DXF_factor_1")->setText("9");
  dialog.reject();
  EXPECT_EQ(s.maps, before) << "Cancel keeps the entries";
}

TEST(MapsDialog, RefusesATickedMapWhoseFileIsMissing) {
  MapsScene s;
  const auto before = s.maps;
  app::MapsDialog dialog(s.maps, s.ui, nullptr);
  const std::string missing = s.dir.File("gone.dxf");
  Field<QCheckBox>(dialog, "DXF_check_3")->setChecked(true);
  // An unticked row may name any file.
  EXPECT_EQ(Submit(dialog, s.ui, {{"DXF_Files_3", missing.c_str()}, {"DXF_Files_4", "nowhere.dxf"}}),
            "The file " + missing + " dose not exist!");
  EXPECT_EQ(s.ui.messages.back().icon, MessageIcon::Exclamation);
  EXPECT_EQ(s.ui.beeps, 1);
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.focusWidget(), Field<QLineEdit>(dialog, "DXF_Files_3"));
  EXPECT_EQ(s.maps, before);  // nothing stored while refused

  Field<QCheckBox>(dialog, "DXF_check_3")->setChecked(false);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(s.maps[4].file, missing);
  EXPECT_EQ(s.maps[4].display, kOff);
  EXPECT_EQ(s.maps[5].file, "nowhere.dxf");
}

TEST(MapsDialog, OkStoresEveryRowWithALeadingNumberParse) {
  MapsScene s;
  app::MapsDialog dialog(s.maps, s.ui, nullptr);
  Field<QCheckBox>(dialog, "DXF_check_0")->setChecked(true);
  Field<QCheckBox>(dialog, "DXF_check_1")->setChecked(false);
  EXPECT_EQ(Submit(dialog, s.ui,
                   {{"DXF_Files_0", s.site.c_str()}, {"DXF_shift_X_0", "12.5 m"}, {"DXF_shift_Y_0", "east"},
                    {"DXF_factor_0", "0.3048"}}),
            "");
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(s.maps[1], (DxfMapEntry{s.site, 12.5f, 0, 0.3048f, kOn, RgbColour(0, 0, 128)}));
  EXPECT_EQ(s.maps[2], (DxfMapEntry{s.site, 1.5f, -20, 2, kOff, RgbColour(10, 20, 30)}));
}

// Pixels mostly magenta: a magenta line, smoothed into a white background.
int MagentaPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      count += qRed(pixel) > 200 && qBlue(pixel) > 200 && qGreen(pixel) < 128;
    }
  return count;
}

TEST(MapsDialog, TheWindowDrawsVectorsAndMapsOnThePlanAndSections) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  const std::string map = w.dir.File("road.dxf");
  WriteWholeFile(map, "0\nLINE\n10\n-1e6\n20\n-1e6\n11\n1e6\n21\n1e6\n0\nEOF\n");
  Settings& settings = w.window.session().settings;
  settings.vectorsVisible = kOn;
  settings.vectorColor = RgbColour(1, 2, 3);
  // Magenta, so that the smoothed edges of the line still count as the map's.
  settings.dxfMaps[1] = {map, 0, 0, 1, kOn, RgbColour(255, 0, 255)};
  EXPECT_EQ(PixelsOf(w.window.Raster(0).Image(), qRgb(1, 2, 3)), 0);
  w.window.ToolbarButton("zoom out")->trigger();
  EXPECT_TRUE(OpenWindow::WaitFor([&] { return PixelsOf(w.window.Raster(0).Image(), qRgb(1, 2, 3)) > 100; }));
  EXPECT_GT(MagentaPixels(w.window.Raster(0).Image()), 100);
  // The sections carry their arrows too.
  EXPECT_GT(PixelsOf(w.window.Raster(1).Image(), qRgb(1, 2, 3)), 0);
}

TEST(MapsDialog, SectionArrowsFollowTheSectionsWhenTheyMove) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  Settings& settings = w.window.session().settings;
  settings.vectorsVisible = kOn;
  settings.vectorColor = RgbColour(1, 2, 3);
  // Rows 1-5 of column 27 are inactive: a section along it shows few arrows.
  QTest::mouseClick(w.window.View(0), Qt::LeftButton, Qt::ControlModifier, w.CellCentre(27, 3));
  const int fewer = PixelsOf(w.window.Raster(2).Image(), qRgb(1, 2, 3));
  QTest::mouseClick(w.window.View(0), Qt::LeftButton, Qt::ControlModifier, w.CellCentre(10, 12));
  EXPECT_EQ(settings.sectionColumn, 10);
  EXPECT_GT(PixelsOf(w.window.Raster(2).Image(), qRgb(1, 2, 3)), fewer);
  EXPECT_GT(PixelsOf(w.window.Raster(1).Image(), qRgb(1, 2, 3)), 0);
}

}  // namespace
}  // namespace kestra::test
