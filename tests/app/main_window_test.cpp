#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QMenu>
#include <gtest/gtest.h>

#include "app/help_window.h"
#include "app/main_window.h"

namespace {

TEST(MainWindow, HasTheFourMenusWithTheirCommands) {
  kestra::app::MainWindow window;
  EXPECT_EQ(window.objectName(), "kestra");
  for (const char* name : {"menu_file", "menu_run", "menu_options", "menu_help"})
    EXPECT_NE(window.findChild<QMenu*>(name), nullptr) << name;
  for (const char* name : {"file_open_model", "file_exit", "run_forward", "run_backward", "help_about"})
    EXPECT_NE(window.findChild<QAction*>(name), nullptr) << name;
}

TEST(MainWindow, CommandsThatNeedAModelStartDisabled) {
  kestra::app::MainWindow window;
  EXPECT_FALSE(window.findChild<QAction*>("run_forward")->isEnabled());
  EXPECT_TRUE(window.findChild<QAction*>("file_exit")->isEnabled());
}

TEST(MainWindow, EngineMessagesReachTheStatusBar) {
  kestra::app::MainWindow window;
  window.ui().SetStatusPane(5, "    1");
  window.ui().SetHint("Reading heads");
  window.ui().SetMeter(40);
  window.ui().SetWindowTitle("KESTRA - [site.mdl]");
  EXPECT_EQ(window.findChild<QLabel*>("Status_pane5")->text(), "    1");
  EXPECT_EQ(window.findChild<QLabel*>("hint")->text(), "Reading heads");
  EXPECT_EQ(window.findChild<QProgressBar*>("Meter")->value(), 40);
  EXPECT_EQ(window.windowTitle(), "KESTRA - [site.mdl]");
}

TEST(MainWindow, ToolbarHasElevenButtonsAndOnlyOpenWorksWithoutAModel) {
  kestra::app::MainWindow window;
  const QStringList keys = {"open",         "set particle", "delete particle", "zoom",
                            "zoom out",     "backward",     "step backward",   "stop",
                            "step forward", "forward",      "colors"};
  for (const QString& key : keys) {
    QAction* button = window.ToolbarButton(key);
    ASSERT_NE(button, nullptr) << key.toStdString();
    EXPECT_EQ(button->isEnabled(), key == "open") << key.toStdString();
  }
  EXPECT_EQ(window.ToolbarButton("forward")->toolTip(), "Run particles forward");
  EXPECT_TRUE(window.ToolbarButton("set particle")->isChecked());
  EXPECT_FALSE(window.findChild<QWidget*>("layer_spin_edit")->isEnabled());
}

TEST(MainWindow, ModelControlsEnableTogetherButStopWaitsForARun) {
  kestra::app::MainWindow window;
  window.SetModelControlsEnabled(true);
  EXPECT_TRUE(window.ToolbarButton("zoom")->isEnabled());
  EXPECT_FALSE(window.ToolbarButton("stop")->isEnabled());
  EXPECT_TRUE(window.findChild<QWidget*>("local_coordinate_edit")->isEnabled());
}

TEST(MainWindow, ClosesWithoutAModelEvenWhenAFlagIsSet) {
  kestra::app::MainWindow window;
  window.show();
  window.busy().redraw = true;
  EXPECT_TRUE(window.close());
}

TEST(HelpWindow, ShowsTheShippedGuide) {
  kestra::app::HelpWindow help;
  EXPECT_TRUE(help.HasGuide());
}

}  // namespace
