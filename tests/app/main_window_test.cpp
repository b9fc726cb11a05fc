#include <QAction>
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

}  // namespace
