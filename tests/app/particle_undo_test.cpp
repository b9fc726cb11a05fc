// Edit, Undo and Redo of particle edits, and the question before particles
// that no file holds are lost.
#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "gui_model.h"

namespace kestra::test {
namespace {

QAction* Item(app::MainWindow& window, const char* name) { return window.findChild<QAction*>(name); }
int Count(const app::MainWindow& window) { return static_cast<int>(window.Endpoints().Endpoints().size()); }

TEST(ParticleUndo, UndoAndRedoWalkTheEditsAndKeepTheRunsOfKeptParticles) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  app::MainWindow& window = w.window;
  EXPECT_FALSE(Item(window, "edit_undo")->isEnabled());
  QTest::mouseClick(window.View(0), Qt::RightButton, {}, w.CellCentre(10, 5));
  window.ToolbarButton("forward")->trigger();
  const double time = window.particles().Particles[0].forward.time;
  ASSERT_GT(time, 0);
  const QImage tracked = window.Raster(0).Image();

  // A second particle, taken back: the first keeps its run and its pathline.
  QTest::mouseClick(window.View(0), Qt::RightButton, {}, w.CellCentre(12, 8));
  ASSERT_EQ(window.particles().ParticleCount(), 2);
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(window.particles().ParticleCount(), 1);
  EXPECT_EQ(window.particles().Particles[0].forward.time, time);
  EXPECT_EQ(Count(window), 1);
  EXPECT_EQ(window.Raster(0).Image(), tracked);
  EXPECT_EQ(Pane(window, 7), "1");

  // Redone, it comes back at its release point.
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(window.particles().ParticleCount(), 2);
  EXPECT_EQ(window.particles().Particles[1].forward.time, 0);
  EXPECT_FALSE(Item(window, "edit_redo")->isEnabled());

  // Delete All and its undo: both particles back, to be tracked again.
  Item(window, "run_delete_all_particles")->trigger();
  ASSERT_EQ(window.particles().ParticleCount(), 0);
  EXPECT_FALSE(Item(window, "file_save_particles_as")->isEnabled());
  Item(window, "edit_undo")->trigger();
  ASSERT_EQ(window.particles().ParticleCount(), 2);
  EXPECT_EQ(window.particles().Particles[0].forward.time, 0);
  EXPECT_TRUE(Item(window, "file_save_particles_as")->isEnabled());
  EXPECT_TRUE(Item(window, "edit_redo")->isEnabled());
}

// The delete tool numbers the particles left anew; their runs, pathlines and
// end points go with them.
TEST(ParticleUndo, ParticlesLeftByTheDeleteToolKeepTheirRunsUnderTheirNewNumbers) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  app::MainWindow& window = w.window;
  QTest::mouseClick(window.View(0), Qt::RightButton, {}, w.CellCentre(10, 5));
  QTest::mouseClick(window.View(0), Qt::RightButton, {}, w.CellCentre(12, 8));
  window.ToolbarButton("forward")->trigger();
  const ParticleRecord second = window.particles().Particles[1];
  ASSERT_GT(second.forward.time, 0);
  const double endTime = window.Endpoints().Endpoints()[1].time;

  window.ToolbarButton("delete particle")->trigger();
  Drag(window.View(0), Qt::LeftButton, w.CellCentre(10, 5) - QPoint(2, 2), w.CellCentre(10, 5) + QPoint(2, 2));
  ASSERT_EQ(window.particles().ParticleCount(), 1);
  EXPECT_EQ(window.particles().Particles[0].forward.time, second.forward.time);
  EXPECT_EQ(window.particles().Particles[0].forward.cell, second.forward.cell);
  const std::vector<Endpoint> ends = window.Endpoints().Endpoints();
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].particle, 1);
  EXPECT_EQ(ends[0].time, endTime);

  // Its pathline is kept after a redraw and found under its new number, with its end.
  window.ToolbarButton("zoom out")->trigger();
  auto* inspector = window.findChild<QTableWidget*>("cell_inspector");
  MovePointer(window.View(0), w.CellCentre(12, 8));
  EXPECT_EQ(InspectedLine(inspector, "Pathline"), "particle 1, forward");
  EXPECT_NE(InspectedLine(inspector, "Run ended"), "(no line Run ended)");
}

TEST(ParticleUndo, UnsavedParticlesAskBeforeAnotherModelOrTheEnd) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  app::MainWindow& window = w.window;
  QTest::mouseClick(window.View(0), Qt::RightButton, {}, w.CellCentre(10, 5));

  std::string question;
  AnswerMessage(question, QMessageBox::No);
  window.OpenModelPath(w.modelPath);
  EXPECT_NE(question.find("have not been saved"), std::string::npos) << question;
  EXPECT_EQ(window.particles().ParticleCount(), 1) << "No keeps the particles and the model";

  QCloseEvent close;
  question.clear();
  AnswerMessage(question, QMessageBox::No);
  QApplication::sendEvent(&window, &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_FALSE(question.empty());

  // Once saved, nothing is asked.
  AnswerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
    dialog.selectFile(QString::fromStdString(w.dir.File("kept.par")));
    static_cast<QDialog&>(dialog).accept();
  });
  Item(window, "file_save_particles_as")->trigger();
  QCloseEvent again;
  QApplication::sendEvent(&window, &again);
  EXPECT_TRUE(again.isAccepted());
}

}  // namespace
}  // namespace kestra::test
