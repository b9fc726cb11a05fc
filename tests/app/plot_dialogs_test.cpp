// The Save Plot As and Print Plot dialogs on their own, with their rules
// for file names, section boxes, overwriting and the page layout.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

#include "app/print_plot_dialog.h"
#include "app/save_plot_dialog.h"
#include "export/plot_choices.h"
#include "graphics/plot_device.h"
#include "gui_model.h"
#include "settings/settings_file.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

app::SavePlotChoice DxfChoice(const std::string& fileName) { return {kPlotFormatDxf, fileName, true, false}; }

TEST(SavePlotDialog, FormatChangeRenamesTheFileAndSetsTheSectionBoxes) {
  RecordingInterface ui;
  app::SavePlotDialog dialog(DxfChoice("/data/Plot.dxf"), "/models/site.mdl", true, ui, nullptr);
  auto* format = Field<QComboBox>(dialog, "save_format");
  auto* file = Field<QLineEdit>(dialog, "Save_file");
  auto* lower = Field<QCheckBox>(dialog, "IncludeXSection_0");
  auto* right = Field<QCheckBox>(dialog, "IncludeXSection_1");
  EXPECT_EQ(format->currentText(), "DXF");
  EXPECT_TRUE(lower->isEnabled());
  EXPECT_TRUE(lower->isChecked());
  EXPECT_FALSE(right->isChecked());
  format->setCurrentText("HPGL");
  EXPECT_EQ(file->text(), "/data/Plot.pgl");
  EXPECT_FALSE(lower->isEnabled());
  EXPECT_FALSE(right->isEnabled());
  format->setCurrentText("MODPATH");
  EXPECT_EQ(file->text(), "/models/pathline");
  EXPECT_FALSE(lower->isEnabled());
  format->setCurrentText("Windows bitmap (BMP)");
  EXPECT_EQ(file->text(), "/models/pathline.bmp");
  EXPECT_TRUE(lower->isEnabled());
}

TEST(SavePlotDialog, HiddenSectionsDisableTheBoxesExceptForPictures) {
  RecordingInterface ui;
  app::SavePlotDialog dialog(DxfChoice("/data/plot.dxf"), "/models/site.mdl", false, ui, nullptr);
  EXPECT_FALSE(Field<QCheckBox>(dialog, "IncludeXSection_0")->isEnabled());
  Field<QComboBox>(dialog, "save_format")->setCurrentText("PNG picture");
  EXPECT_TRUE(Field<QCheckBox>(dialog, "IncludeXSection_0")->isEnabled());
  EXPECT_TRUE(Field<QCheckBox>(dialog, "IncludeXSection_1")->isEnabled());
}

TEST(SavePlotDialog, FiguresTakeTheirSizeAndResolution) {
  TempDir dir;
  RecordingInterface ui;
  app::SavePlotDialog dialog(DxfChoice(dir.File("plot.dxf")), "/models/site.mdl", true, ui, nullptr);
  auto* width = Field<QSpinBox>(dialog, "FigureWidth");
  EXPECT_FALSE(width->isEnabled());  // a drawing has no pixels
  Field<QComboBox>(dialog, "save_format")->setCurrentText(kPlotFormatPng);
  EXPECT_TRUE(width->isEnabled());
  width->setValue(2400);
  Field<QSpinBox>(dialog, "FigureHeight")->setValue(1800);
  Field<QSpinBox>(dialog, "FigureDpi")->setValue(300);
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  const FigurePage& page = dialog.Choice().page;
  EXPECT_EQ(std::make_tuple(page.width, page.height, page.dpi), std::make_tuple(2400, 1800, 300));
}

TEST(SavePlotDialog, AsksBeforeOverwritingAndNeverTruncates) {
  TempDir dir;
  const std::string path = dir.File("plot.dxf");
  WriteWholeFile(path, "old plot");
  RecordingInterface ui;
  ui.answerYes = false;
  app::SavePlotDialog dialog(DxfChoice(path), "/models/site.mdl", true, ui, nullptr);
  dialog.accept();
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], path + " already exists. Overwrite?");
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ReadWholeFile(path), "old plot");
  ui.answerYes = true;
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ReadWholeFile(path), "old plot");
  EXPECT_EQ(dialog.Choice().fileName, path);
  EXPECT_FALSE(dialog.Choice().includeRight);
}

TEST(SavePlotDialog, UnwritableFileKeepsTheDialogOpen) {
  TempDir dir;
  RecordingInterface ui;
  app::SavePlotDialog dialog(DxfChoice(dir.File("none/plot.dxf")), "/models/site.mdl", true, ui, nullptr);
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_FALSE(ui.LastMessage().empty());
  EXPECT_TRUE(ui.questions.empty());
}

// A picture twice as wide as high and a PDF printer.
struct PrintScene {
  PrintScene() : printer(QPrinter::HighResolution) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("print.pdf")));
    settingsPath = dir.File("site.ini");
    for (int slot = 0; slot < 4; ++slot) {
      pictures[slot] = QImage(200 + 100 * (slot % 2), 100 + 100 * (slot / 2), QImage::Format_RGB32);
      pictures[slot].fill(Qt::blue);
    }
  }
  Settings Stored() const {
    Settings read;
    ReadSettings(settingsPath, read, const_cast<RecordingInterface&>(ui));
    return read;
  }
  TempDir dir;
  QPrinter printer;
  std::string settingsPath;
  app::PrintPictures pictures;
  Settings settings;
  RecordingInterface ui;
};

TEST(PrintPlotDialog, WithoutAStoredLayoutTheImageFillsThePage) {
  PrintScene scene;
  scene.settings.useFullPage = 0;
  scene.settings.centerOnPage = 0;
  scene.settings.includeLowerXsection = scene.settings.includeRightXsection = 0;
  app::PrintPlotDialog dialog(scene.settings, scene.settingsPath, scene.pictures, true, scene.printer, scene.ui,
                              nullptr);
  EXPECT_TRUE(Field<QCheckBox>(dialog, "Check1_0")->isChecked());
  EXPECT_TRUE(Field<QCheckBox>(dialog, "Check1_1")->isChecked());
  EXPECT_FALSE(Field<QLineEdit>(dialog, "Text1_0")->isEnabled());
  EXPECT_FALSE(Field<QLineEdit>(dialog, "Text1_2")->isEnabled());
  const PageGeometry page = dialog.Page();
  ASSERT_GT(page.printableWidth, 0);
  // Plan alone, 2:1: as wide as the printable area, centred on the sheet.
  EXPECT_NEAR(dialog.Layout().width, page.printableWidth, 1e-6);
  EXPECT_NEAR(dialog.Layout().height, page.printableWidth / 2, 1e-6);
  EXPECT_NEAR(dialog.Layout().left, (page.paperWidth - dialog.Layout().width) / 2, 1e-6);
  EXPECT_NEAR(dialog.Layout().top, (page.paperHeight - dialog.Layout().height) / 2, 1e-6);
}

TEST(PrintPlotDialog, TypedWidthSetsTheHeightOfThePicture) {
  PrintScene scene;
  scene.settings.imageWidth = 150;
  scene.settings.useFullPage = 0;
  scene.settings.centerOnPage = -1;
  scene.settings.includeLowerXsection = scene.settings.includeRightXsection = 0;
  app::PrintPlotDialog dialog(scene.settings, scene.settingsPath, scene.pictures, true, scene.printer, scene.ui,
                              nullptr);
  auto* width = Field<QLineEdit>(dialog, "Text1_0");
  EXPECT_TRUE(width->isEnabled());
  EXPECT_EQ(Field<QLineEdit>(dialog, "Text1_1")->text(), "75");
  width->clear();
  QTest::keyClicks(width, "100");
  EXPECT_EQ(Field<QLineEdit>(dialog, "Text1_1")->text(), "50");
  // The lower section makes the picture square.
  Field<QComboBox>(dialog, "PicOption")->setCurrentIndex(2);
  EXPECT_DOUBLE_EQ(dialog.Layout().height, 100);
  EXPECT_NEAR(dialog.Layout().left, (dialog.Page().paperWidth - 100) / 2, 1e-6);
  // Ticking "Use full page" fits the square into the printable area.
  Field<QCheckBox>(dialog, "Check1_0")->setChecked(true);
  EXPECT_FALSE(width->isEnabled());
  EXPECT_NEAR(dialog.Layout().width, std::min(dialog.Page().printableWidth, dialog.Page().printableHeight), 1e-6);
}

TEST(PrintPlotDialog, HiddenSectionsOfferOnlyThePlan) {
  PrintScene scene;
  scene.settings.includeLowerXsection = scene.settings.includeRightXsection = 1;
  app::PrintPlotDialog dialog(scene.settings, scene.settingsPath, scene.pictures, false, scene.printer, scene.ui,
                              nullptr);
  auto* option = Field<QComboBox>(dialog, "PicOption");
  EXPECT_EQ(option->currentText(), "Only Plan View");
  EXPECT_FALSE(option->isEnabled());
}

TEST(PrintPlotDialog, CloseStoresTheChosenPictureAndPrintDoesNot) {
  PrintScene scene;
  {
    app::PrintPlotDialog dialog(scene.settings, scene.settingsPath, scene.pictures, true, scene.printer, scene.ui,
                                nullptr);
    EXPECT_EQ(dialog.PlotPictureIndex(), 3);
    Field<QComboBox>(dialog, "PicOption")->setCurrentText("Plan View & Lower Cross-Section");
    dialog.CloseDialog();
  }
  Settings stored = scene.Stored();
  EXPECT_EQ(stored.includeLowerXsection, 1);
  EXPECT_EQ(stored.includeRightXsection, 0);
  EXPECT_GT(stored.imageWidth, 0);

  {
    app::PrintPlotDialog dialog(scene.settings, scene.settingsPath, scene.pictures, true, scene.printer, scene.ui,
                                nullptr);
    EXPECT_EQ(dialog.PlotPictureIndex(), 2);
    Field<QComboBox>(dialog, "PicOption")->setCurrentIndex(1);
    Field<QCheckBox>(dialog, "Check1_1")->setChecked(false);
    dialog.PrintImage();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  stored = scene.Stored();
  EXPECT_EQ(stored.includeLowerXsection, 1);
  EXPECT_EQ(stored.includeRightXsection, 0);
  EXPECT_EQ(stored.centerOnPage, 0);
  const std::string pdf = ReadWholeFile(scene.dir.File("print.pdf"));
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_GT(pdf.size(), 1000u);
}

}  // namespace
}  // namespace kestra::test
