// The environment options and the contour parameter dialogs: the OK checks
// with their messages, what OK stores and writes, what Cancel keeps.
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/contour_dialogs.h"
#include "app/environment_dialog.h"
#include "graphics/contour_table.h"
#include "gui_model.h"
#include "settings/ini_file.h"
#include "support/recording_interface.h"

namespace kestra::test {
namespace {

QLineEdit* Field(QWidget& dialog, const char* name) {
  auto* field = dialog.findChild<QLineEdit*>(name);
  EXPECT_NE(field, nullptr) << name;
  return field;
}

// Answers the next modal dialog: `answer` fills it and presses its buttons.
void AnswerNextDialog(std::function<void(QDialog&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

struct EnvironmentScene {
  OpenWindow w{"mixed3d/lahey", "mixed3d.mdl"};
  RecordingInterface ui;
  app::EnvironmentDialog dialog{w.window.session(), 0, 60, ui, nullptr};

  // Types `text` into the field, presses OK and gives the message shown ("" when none).
  std::string Ok(const char* field, const std::string& text) {
    Field(dialog, field)->setText(QString::fromStdString(text));
    ui.messages.clear();
    dialog.accept();
    return ui.LastMessage();
  }
};

TEST(EnvironmentOptions, EnabledOnceAModelIsOpen) {
  app::MainWindow empty;
  EXPECT_FALSE(empty.findChild<QAction*>("options_environment")->isEnabled());
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  EXPECT_TRUE(w.window.findChild<QAction*>("options_environment")->isEnabled());
}

TEST(EnvironmentOptions, RowAndColumnChecks) {
  EnvironmentScene s;
  EXPECT_EQ(s.Ok("Projection_Row", "0"), "Valid range is 1 to 25");
  EXPECT_EQ(s.ui.beeps, 1);
  EXPECT_EQ(s.ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(s.dialog.findChild<QTabWidget*>("SSTab1")->currentIndex(), 2);
  EXPECT_NE(s.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(s.Ok("Projection_Row", "26"), "Valid range is 1 to 25");
  Field(s.dialog, "Projection_Row")->setText("25");
  EXPECT_EQ(s.Ok("Projection_Column", "31"), "Valid range is 1 to 30");
}

TEST(EnvironmentOptions, ElevationExaggerationAndVectorChecks) {
  EnvironmentScene s;
  EXPECT_EQ(s.Ok("MinElevation", "low"), "Please enter a real number");
  EXPECT_EQ(s.Ok("MinElevation", "70"), "The maximum elevation must be greater than the minimum elevation");
  Field(s.dialog, "MinElevation")->setText("-5");
  EXPECT_EQ(s.Ok("factor_edit", "0.000009"), "Valid range is 0.00001 to 1000");
  EXPECT_EQ(s.Ok("factor_edit", "1001"), "Valid range is 0.00001 to 1000");
  Field(s.dialog, "factor_edit")->setText("1000");
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
  ASSERT_EQ(session.contours.ContourCount(), 10);
  EXPECT_FLOAT_EQ(session.contours.levels[0].value, session.loaded.headRange.minimum);
  EXPECT_NEAR(session.contours.levels[10].value, session.loaded.headRange.maximum, 1e-3);
  EXPECT_EQ(s.dialog.findChild<QTableWidget*>("TDBGrid1")->rowCount(), 11);
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

TEST(EnvironmentOptions, LevelColumnRebuildsTheTable) {
  EnvironmentScene s;
  AnswerNextDialog([](QDialog& d) {
    Field(d, "Text1_0")->setText("0");
    Field(d, "Text1_1")->setText("10");
    Field(d, "Text1_2")->setText("4");
    d.accept();
  });
  s.dialog.OpenColumnDialog(0);
  const ContourTable& table = s.w.window.session().contours;
  ASSERT_EQ(table.ContourCount(), 2);  // 2.5 rounds to even
  EXPECT_EQ(table.levels[2].value, 8);
  AnswerNextDialog([](QDialog& d) {
    Field(d, "Text1_0")->setText("2");
    Field(d, "Text1_1")->setText("1");
    d.accept();
  });
  s.dialog.OpenColumnDialog(2);
  EXPECT_EQ(table.levels[0].label, 0);
  EXPECT_EQ(table.levels[1].label, 1);
  EXPECT_EQ(table.levels[2].label, 1);
  AnswerNextDialog([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Label Spacing");
    Field(d, "Text1_0")->setText("77");
    d.accept();
  });
  s.dialog.OpenColumnDialog(4);
  for (const auto& level : table.levels) EXPECT_EQ(level.labelSpacing, 77);
  AnswerNextDialog([](QDialog& d) {
    auto* colours = dynamic_cast<app::ContourColorsDialog*>(&d);
    ASSERT_NE(colours, nullptr);
    colours->SetButtonColour(0, kBlack);
    colours->SetButtonColour(1, kWhite);
    d.accept();
  });
  s.dialog.OpenColumnDialog(1);
  EXPECT_EQ(table.levels[1].colour, RgbColour(128, 128, 128));
  EXPECT_EQ(s.w.window.session().settings.maxContourColor, kWhite);
}

// Pixels of the colour in the image.
int PixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

TEST(EnvironmentOptions, OkRedrawsThePlanWithTheContours) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  const QRgb magenta = qRgb(255, 0, 255);
  EXPECT_EQ(PixelsOf(w.window.Raster(0).Image(), magenta), 0);
  AnswerNextDialog([](QDialog& d) {
    d.findChild<QCheckBox*>("Contour_Visible")->setChecked(true);
    AnswerNextDialog([](QDialog& colours) {
      static_cast<app::ContourColorsDialog&>(colours).SetButtonColour(0, RgbColour(255, 0, 255));
      static_cast<app::ContourColorsDialog&>(colours).SetButtonColour(1, RgbColour(255, 0, 255));
      colours.accept();
    });
    static_cast<app::EnvironmentDialog&>(d).OpenColumnDialog(1);
    d.accept();
  });
  w.window.findChild<QAction*>("options_environment")->trigger();
  EXPECT_FALSE(w.window.busy().contourDrawing);
  EXPECT_GT(PixelsOf(w.window.Raster(0).Image(), magenta), 200);
}

TEST(ContourLevelsDialog, Checks) {
  RecordingInterface ui;
  app::ContourLevelsDialog dialog({0, 10, 1}, ui, nullptr);
  Field(dialog, "Text1_0")->setText("11");
  dialog.accept();
  EXPECT_EQ(ui.LastMessage(), "Minimum Contour > Maximum Contour");
  EXPECT_EQ(ui.messages.back().icon, MessageIcon::Error);
  Field(dialog, "Text1_0")->setText("0");
  Field(dialog, "Text1_2")->setText("0");
  dialog.accept();
  EXPECT_EQ(ui.LastMessage(), "Value must be > 0");
  Field(dialog, "Text1_1")->setText("100000");
  Field(dialog, "Text1_2")->setText("1");
  dialog.accept();
  EXPECT_NE(ui.LastMessage().find("more than 32767"), std::string::npos);
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  Field(dialog, "Text1_0")->setText("5");
  Field(dialog, "Text1_1")->setText("5");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Values().maximum, 5);
}

TEST(ContourLabelsDialog, EntriesLieBetweenZeroAndTheLastLevel) {
  RecordingInterface ui;
  app::ContourLabelsDialog dialog(12, ui, nullptr);
  Field(dialog, "Text1_0")->setText("13");
  dialog.accept();
  EXPECT_EQ(ui.LastMessage(), "Valid range is 0 to 12");
  EXPECT_EQ(ui.beeps, 1);
  Field(dialog, "Text1_0")->setText("0");
  Field(dialog, "Text1_1")->setText("12");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.First(), 0);
  EXPECT_EQ(dialog.Frequency(), 12);
}

TEST(OneValueDialog, RefusesNonPositiveAndNonNumbers) {
  RecordingInterface ui;
  app::OneValueDialog dialog("Label Height", "Label Height=", 5, ui, nullptr);
  for (const char* bad : {"0", "-1"}) {
    Field(dialog, "Text1_0")->setText(bad);
    dialog.accept();
    EXPECT_EQ(ui.LastMessage(), "Value must be > 0") << bad;
  }
  Field(dialog, "Text1_0")->setText("abc");
  dialog.accept();
  EXPECT_EQ(ui.LastMessage(), "Please enter a valid value");
  EXPECT_FLOAT_EQ(dialog.Value(), 5);
  Field(dialog, "Text1_0")->setText("2.5");
  dialog.accept();
  EXPECT_FLOAT_EQ(dialog.Value(), 2.5f);
}

TEST(LabelFormatDialog, DecimalsUpToNineAndEmptyTexts) {
  RecordingInterface ui;
  app::LabelFormatDialog dialog({1, 2, "h=", "m"}, ui, nullptr);
  Field(dialog, "Text1_0")->setText("10");
  dialog.accept();
  EXPECT_EQ(ui.LastMessage(), "Valid range is 0 to 9");
  Field(dialog, "Text1_0")->setText("3");
  Field(dialog, "Text1_1")->setText("");
  Field(dialog, "Text1_2")->setText("");
  dialog.findChild<QRadioButton*>("Option1_0")->setChecked(true);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Values().style, 0);
  EXPECT_EQ(dialog.Values().decimals, 3);
  EXPECT_EQ(dialog.Values().prefix, "");
  EXPECT_EQ(dialog.Values().suffix, "");
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
