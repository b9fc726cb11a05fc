#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QMenu>
#include <gtest/gtest.h>

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

}  // namespace
