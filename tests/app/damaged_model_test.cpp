// A model whose results did not load whole: one question, the open model
// kept on "No", and on "Yes" a model shown without results on which no
// command tracks.
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "gui_model.h"

namespace kestra::test {
namespace {

TEST(DamagedModelWindow, CutHeadsAskAndTheAnswerKeepsOrOpensWithoutTracking) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  const std::string goodTitle = w.window.windowTitle().toStdString();
  TempDir damaged;
  std::filesystem::copy(TestDataDir() / "mixed3d/modflow", damaged.path());
  std::filesystem::resize_file(damaged.File("mixed3d.hds"), 4566);
  const std::string path = damaged.File("mixed3d.nam");

  std::string question;
  AnswerMessage(question, QMessageBox::No);
  w.window.OpenModelPath(path);
  EXPECT_NE(question.find("layer 2 (time step 1, stress period 1)"), std::string::npos) << question;
  EXPECT_EQ(w.window.model().ModelPath, w.modelPath);
  EXPECT_EQ(w.window.windowTitle().toStdString(), goodTitle);
  EXPECT_TRUE(w.window.ToolbarButton("forward")->isEnabled());

  AnswerMessage(question, QMessageBox::Yes);
  w.window.OpenModelPath(path);
  EXPECT_EQ(w.window.model().ModelPath, path);
  EXPECT_EQ(w.window.windowTitle().toStdString(), "KESTRA - [mixed3d.nam] (" + damaged.path().string() + ")");
  EXPECT_EQ(w.window.findChild<QLabel*>("results_loaded")->text(), "Results: none");
  for (const char* name : {"run_forward", "run_backward", "run_capture_zone", "run_source_zone"})
    EXPECT_FALSE(w.window.findChild<QAction*>(name)->isEnabled()) << name;
  EXPECT_FALSE(w.window.ToolbarButton("forward")->isEnabled());
  const QString hint = w.window.findChild<QLabel*>("hint")->text();
  EXPECT_EQ(hint, "No tracking: the heads of the time step could not be loaded.");
  // A redraw keeps the run buttons off.
  w.window.ToolbarButton("zoom out")->trigger();
  EXPECT_FALSE(w.window.ToolbarButton("backward")->isEnabled());

  // A whole model turns tracking on again.
  w.window.OpenModelPath(w.modelPath);
  EXPECT_EQ(w.window.findChild<QLabel*>("results_loaded")->text(), "Results: heads, flows, drawdowns");
  EXPECT_TRUE(w.window.findChild<QAction*>("run_forward")->isEnabled());
  EXPECT_EQ(w.window.findChild<QLabel*>("hint")->text(), "");
}

}  // namespace
}  // namespace kestra::test
