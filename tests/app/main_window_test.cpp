// The main window before and after a model is open: its menus, toolbar and
// status bar.
#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <gtest/gtest.h>

#include "app/help_window.h"
#include "gui_model.h"

namespace kestra::test {
namespace {

TEST(MainWindow, CommandsThatNeedAModelWaitForOne) {
  app::MainWindow empty;
  EXPECT_EQ(empty.objectName(), "kestra");
  for (const char* name : {"menu_file", "menu_run", "menu_options", "menu_help"})
    EXPECT_NE(empty.findChild<QMenu*>(name), nullptr) << name;
  for (const char* name : {"file_open_model", "file_exit", "help_about"}) {
    ASSERT_NE(empty.findChild<QAction*>(name), nullptr) << name;
    EXPECT_TRUE(empty.findChild<QAction*>(name)->isEnabled()) << name;
  }
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  for (const char* name : {"run_forward", "run_backward", "options_environment", "options_maps", "file_save_heads_as",
                           "file_save_drawdowns_as", "file_save_velocity_as", "file_save_plot_as", "file_print"}) {
    SCOPED_TRACE(name);
    ASSERT_NE(empty.findChild<QAction*>(name), nullptr);
    EXPECT_FALSE(empty.findChild<QAction*>(name)->isEnabled());
    EXPECT_TRUE(w.window.findChild<QAction*>(name)->isEnabled());
  }
}

TEST(MainWindow, EngineMessagesReachTheStatusBar) {
  app::MainWindow window;
  window.ui().SetStatusPane(5, "    1");
  window.ui().SetHint("Reading heads");
  window.ui().SetMeter(40);
  window.ui().SetWindowTitle("KESTRA - [site.mdl]");
  EXPECT_EQ(Pane(window, 5), "    1");
  EXPECT_EQ(window.findChild<QLabel*>("hint")->text(), "Reading heads");
  EXPECT_EQ(window.findChild<QProgressBar*>("Meter")->value(), 40);
  EXPECT_EQ(window.windowTitle(), "KESTRA - [site.mdl]");
}

TEST(MainWindow, ToolbarHasElevenButtonsAndOnlyOpenWorksWithoutAModel) {
  app::MainWindow window;
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
  app::MainWindow window;
  window.SetModelControlsEnabled(true);
  EXPECT_TRUE(window.ToolbarButton("zoom")->isEnabled());
  EXPECT_FALSE(window.ToolbarButton("stop")->isEnabled());
  EXPECT_TRUE(window.findChild<QWidget*>("local_coordinate_edit")->isEnabled());
}

TEST(MainWindow, ClosesWithoutAModelEvenWhenAFlagIsSet) {
  app::MainWindow window;
  window.show();
  window.busy().redraw = true;
  EXPECT_TRUE(window.close());
}

TEST(HelpWindow, ShowsTheShippedGuide) {
  app::HelpWindow help;
  EXPECT_TRUE(help.HasGuide());
}

}  // namespace
}  // namespace kestra::test
