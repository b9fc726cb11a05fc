// The environment options and the contour parameter dialogs: the OK checks
// with their messages, what OK stores and writes, what Cancel keeps.
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/contour_dialogs.h"
#include "app/environment_dialog.h"
#include "core/round_numbers.h"
#include "graphics/contour_table.h"
#include "gui_model.h"
#include "settings/ini_file.h"
#include "support/recording_interface.h"

namespace kestra::test {
namespace {

struct EnvironmentScene {
  OpenWindow w{"mixed3d/lahey", "mixed3d.mdl"};
  RecordingInterface ui;
  app::EnvironmentDialog dialog{w.window.session(), 0, 60, ui, nullptr};

  // Types `text` into the field, presses OK and gives the message shown ("" when none).
  std::string Ok(const char* field, const char* text) { return Submit(dialog, ui, {{field, text}}); }
  QLineEdit* Edit(const char* name) { return Field<QLineEdit>(dialog, name); }
};

TEST(EnvironmentOptions, RowAndColumnChecks) {
  EnvironmentScene s;
  EXPECT_EQ(s.Ok("Projection_Row", "0"), "Valid range is 1 to 25");
  EXPECT_EQ(s.ui.beeps, 1);
  EXPECT_EQ(s.ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(s.dialog.findChild<QTabWidget*>("SSTab1")->currentIndex(), 2);
  EXPECT_NE(s.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(s.Ok("Projection_Row", "26"), "Valid range is 1 to 25");
  s.Edit("Projection_Row")->setText("25");
  EXPECT_EQ(s.Ok("Projection_Column", "31"), "Valid range is 1 to 30");
}

TEST(EnvironmentOptions, ElevationExaggerationAndVectorChecks) {
  EnvironmentScene s;
  EXPECT_EQ(s.Ok("MinElevation", "low"), "Please enter a real number");
  EXPECT_EQ(s.Ok("MinElevation", "70"), "The maximum elevation must be greater than the minimum elevation");
  s.Edit("MinElevation")->setText("-5");
  EXPECT_EQ(s.Ok("factor_edit", "0.000009"), "Valid range is 0.00001 to 1000");
  EXPECT_EQ(s.Ok("factor_edit", "1001"), "Valid range is 0.00001 to 1000");
  s.Edit("factor_edit")->setText("1000");
  EXPECT_EQ(s.Ok("vector_size_edit", "0"), "Valid range is 1 to 32767");
  EXPECT_EQ(s.dialog.findChild<QTabWidget*>("SSTab1")->currentIndex(), 3);
  EXPECT_EQ(s.Ok("vector_size_edit", "30"), "");
  EXPECT_EQ(s.dialog.result(), QDialog::Accepted);
  EXPECT_FLOAT_EQ(s.w.window.session().settings.exaggeration, 1000);
  EXPECT_FLOAT_EQ(s.dialog.MinElevation(), -5);
}

TEST(EnvironmentOptions, OkWritesTheSettingsAndTheContourFile) {
  EnvironmentScene s;
  s.dialog.findChild<QCheckBox*>("Contour_Visible")->setChecked(true);
  s.dialog.findChild<QCheckBox*>("model_worksheet_check_6")->setChecked(false);
  s.dialog.SetSwatchColour(2, 4242);
  EXPECT_EQ(s.Ok("factor_edit", "0.00001"), "");
  const Settings& settings = s.w.window.session().settings;
  EXPECT_EQ(settings.contourDisplay, kOn);
  EXPECT_EQ(settings.showContours, kOn);
  EXPECT_EQ(settings.showDrains, kOff);
  EXPECT_EQ(settings.fixedHeadCellColor, 4242);
  const IniFile ini = IniFile::Load(s.w.window.session().settingsPath);
  EXPECT_EQ(ini.Get("GRID_APPEARANCE", "CONTOURS"), "-1");
  EXPECT_EQ(ini.Get("CROSS_SECTIONS", "EXAGGERATION"), "1E-05");
  ContourTable written;
  std::string problem;
  ASSERT_TRUE(ReadContourTable(s.w.dir.File("mixed3d.ctr"), written, problem));
  EXPECT_EQ(written, s.w.window.session().contours);
}

TEST(EnvironmentOptions, AContourFileThatCannotBeWrittenIsSaid) {
  EnvironmentScene s;
  std::filesystem::remove(s.w.dir.File("mixed3d.ctr"));
  std::filesystem::create_directory(s.w.dir.File("mixed3d.ctr"));
  s.Ok("factor_edit", "2");
  ASSERT_FALSE(s.ui.messages.empty());
  EXPECT_TRUE(s.ui.LastMessage().starts_with("Cannot write " + s.w.dir.File("mixed3d.ctr"))) << s.ui.LastMessage();
  EXPECT_EQ(s.ui.messages.back().icon, MessageIcon::Error);
}

TEST(EnvironmentOptions, TheLevelDialogStartsFromTheLayerShownNow) {
  EnvironmentScene s;
  Session& session = s.w.window.session();
  const ValueRange opened = ResultRange(session.model, session.model.HEAD);
  session.model.CurrentLayer = 3;
  const ValueRange heads = ResultRange(session.model, session.model.HEAD);
  ASSERT_NE(heads.maximum, opened.maximum);
  AnswerNextDialog([&](QDialog& d) {
    EXPECT_NEAR(Field<QLineEdit>(d, "Text1_0")->text().toFloat(), heads.minimum, 1e-3);
    EXPECT_NEAR(Field<QLineEdit>(d, "Text1_1")->text().toFloat(), heads.maximum, 1e-3);
    d.reject();
  });
  s.dialog.OpenColumnDialog(0);
}

TEST(EnvironmentOptions, CancelKeepsTheOldColour) {
  EnvironmentScene s;
  const std::int32_t old = s.w.window.session().settings.riverColor;
  s.dialog.SetSwatchColour(7, 1234);
  s.dialog.reject();
  EXPECT_EQ(s.w.window.session().settings.riverColor, old);
}

TEST(EnvironmentOptions, RestoreDefaultsSpansTheHeads) {
  EnvironmentScene s;
  Session& session = s.w.window.session();
  session.contours.levels.resize(2);
  s.dialog.RestoreDefaults();
  const auto& levels = session.contours.levels;
  ASSERT_GE(levels.size(), 5u);
  const ValueRange heads = ResultRange(session.model, session.model.HEAD);
  const float step = levels[1].value - levels[0].value;
  EXPECT_GE(levels.front().value, heads.minimum);
  EXPECT_LT(levels.front().value - step, heads.minimum);
  EXPECT_LE(levels.back().value, heads.maximum);
  EXPECT_GT(levels.back().value + step, heads.maximum);
  EXPECT_EQ(s.dialog.findChild<QTableWidget*>("TDBGrid1")->rowCount(), static_cast<int>(levels.size()));
}

TEST(EnvironmentOptions, LevelCellsTakeNumbersAndPositiveSizes) {
  EnvironmentScene s;
  auto* grid = s.dialog.findChild<QTableWidget*>("TDBGrid1");
  const auto& levels = s.w.window.session().contours.levels;
  const float height = levels[3].labelHeight;
  grid->item(3, 3)->setText("0");
  EXPECT_EQ(s.ui.LastMessage(), "Value must be > 0");
  EXPECT_EQ(levels[3].labelHeight, height);
  grid->item(3, 0)->setText("abc");
  EXPECT_EQ(s.ui.LastMessage(), "Please enter a valid value");
  grid->item(3, 0)->setText("41.25");
  EXPECT_FLOAT_EQ(levels[3].value, 41.25f);
}

TEST(EnvironmentOptions, LevelsReadAsPlainDecimalsAndTheDialogKeepsItsSize) {
  EnvironmentScene s;
  auto* grid = s.dialog.findChild<QTableWidget*>("TDBGrid1");
  ASSERT_GT(grid->rowCount(), 0);
  for (int row = 0; row < grid->rowCount(); ++row) {
    const std::string level = grid->item(row, 0)->text().toStdString();
    SCOPED_TRACE(level);
    EXPECT_EQ(level, PlainText(s.w.window.session().contours.levels[static_cast<std::size_t>(row)].value));
    EXPECT_NE(level.front(), '.');
    EXPECT_LE(level.size(), 9u);
  }
  s.dialog.resize(910, 640);
  s.dialog.reject();
  app::EnvironmentDialog again(s.w.window.session(), 0, 60, s.ui, nullptr);
  EXPECT_EQ(again.size(), QSize(910, 640));
}

TEST(EnvironmentOptions, LevelColumnRebuildsTheTable) {
  EnvironmentScene s;
  AnswerNextDialog([&](QDialog& d) { Submit(d, s.ui, {{"Text1_0", "0"}, {"Text1_1", "10"}, {"Text1_2", "4"}}); });
  s.dialog.OpenColumnDialog(0);
  const ContourTable& table = s.w.window.session().contours;
  ASSERT_EQ(table.ContourCount(), 2);  // 2.5 rounds to even
  EXPECT_EQ(table.levels[2].value, 8);
  AnswerNextDialog([&](QDialog& d) { Submit(d, s.ui, {{"Text1_0", "2"}, {"Text1_1", "1"}}); });
  s.dialog.OpenColumnDialog(2);
  EXPECT_EQ(table.levels[0].label, 0);
  EXPECT_EQ(table.levels[1].label, 1);
  EXPECT_EQ(table.levels[2].label, 1);
  AnswerNextDialog([&](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Label Spacing");
    Submit(d, s.ui, {{"Text1_0", "77"}});
  });
  s.dialog.OpenColumnDialog(4);
  for (const auto& level : table.levels) EXPECT_EQ(level.labelSpacing, 77);
  AnswerNextDialog<app::ContourColorsDialog>([](app::ContourColorsDialog& colours) {
    colours.SetButtonColour(0, kBlack);
    colours.SetButtonColour(1, kWhite);
    colours.accept();
  });
  s.dialog.OpenColumnDialog(1);
  EXPECT_EQ(table.levels[1].colour, RgbColour(128, 128, 128));
  EXPECT_EQ(s.w.window.session().settings.maxContourColor, kWhite);
}

TEST(EnvironmentOptions, OkRedrawsThePlanWithTheContours) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  const QRgb magenta = qRgb(255, 0, 255);
  EXPECT_EQ(PixelsOf(w.window.Raster(0).Image(), magenta), 0);
  AnswerNextDialog<app::EnvironmentDialog>([](app::EnvironmentDialog& d) {
    d.findChild<QCheckBox*>("Contour_Visible")->setChecked(true);
    AnswerNextDialog<app::ContourColorsDialog>([](app::ContourColorsDialog& colours) {
      colours.SetButtonColour(0, RgbColour(255, 0, 255));
      colours.SetButtonColour(1, RgbColour(255, 0, 255));
      colours.accept();
    });
    d.OpenColumnDialog(1);
    d.accept();
  });
  w.window.findChild<QAction*>("options_environment")->trigger();
  EXPECT_FALSE(w.window.busy().contourDrawing);
  EXPECT_GT(PixelsOf(w.window.Raster(0).Image(), magenta), 200);
}

TEST(ContourLevelsDialog, RefusesReversedEmptyAndOversizedRanges) {
  RecordingInterface ui;
  app::ContourLevelsDialog dialog({0, 10, 1}, ui, nullptr);
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "11"}}), "Minimum Contour > Maximum Contour");
  EXPECT_EQ(ui.messages.back().icon, MessageIcon::Error);
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "0"}, {"Text1_2", "0"}}), "Value must be > 0");
  EXPECT_NE(Submit(dialog, ui, {{"Text1_1", "100000"}, {"Text1_2", "1"}}).find("more than 32767"), std::string::npos);
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "5"}, {"Text1_1", "5"}}), "");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Values().maximum, 5);
}

TEST(ContourLabelsDialog, EntriesLieBetweenZeroAndTheLastLevel) {
  RecordingInterface ui;
  app::ContourLabelsDialog dialog(12, ui, nullptr);
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "13"}}), "Valid range is 0 to 12");
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "0"}, {"Text1_1", "12"}}), "");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.First(), 0);
  EXPECT_EQ(dialog.Frequency(), 12);
}

TEST(OneValueDialog, RefusesNonPositiveAndNonNumbers) {
  RecordingInterface ui;
  app::OneValueDialog dialog("Label Height", "Label Height=", 5, ui, nullptr);
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "0"}}), "Value must be > 0");
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "-1"}}), "Value must be > 0");
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "abc"}}), "Please enter a valid value");
  EXPECT_FLOAT_EQ(dialog.Value(), 5);
  Submit(dialog, ui, {{"Text1_0", "2.5"}});
  EXPECT_FLOAT_EQ(dialog.Value(), 2.5f);
}

TEST(LabelFormatDialog, DecimalsUpToNineAndEmptyTexts) {
  RecordingInterface ui;
  app::LabelFormatDialog dialog({1, 2, "h=", "m"}, ui, nullptr);
  EXPECT_EQ(Submit(dialog, ui, {{"Text1_0", "10"}}), "Valid range is 0 to 9");
  dialog.findChild<QRadioButton*>("Option1_0")->setChecked(true);
  Submit(dialog, ui, {{"Text1_0", "3"}, {"Text1_1", ""}, {"Text1_2", ""}});
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const app::LabelFormatValues& values = dialog.Values();
  EXPECT_EQ(values.style, 0);
  EXPECT_EQ(values.decimals, 3);
  EXPECT_EQ(values.prefix + values.suffix, "");
}

TEST(QtUserInterface, EscAmongThePendingKeysBreaksAndOtherKeysBeep) {
  app::MainWindow window;
  window.show();
  QApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  EXPECT_TRUE(window.ui().EscapePressed());
  EXPECT_FALSE(window.ui().EscapePressed());
  const int beeps = window.ui().BeepCount();
  QApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
  EXPECT_FALSE(window.ui().EscapePressed());
  EXPECT_EQ(window.ui().BeepCount(), beeps + 1);
}

}  // namespace
}  // namespace kestra::test
