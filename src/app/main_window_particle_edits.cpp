// Undo and redo of the particle edits, and the question before unsaved
// particles are lost. Particles an undo keeps in the same order keep their
// runs; a different set starts again from its release points.
#include <QAction>

#include "app/main_window.h"
#include "core/number_format.h"

namespace kestra::app {

void MainWindow::RecordParticleEdit(std::vector<ParticleRecord> before) {
  particleHistory_.Record(std::move(before));
  EnableParticleItems();
}

void MainWindow::EnableParticleItems() {
  findChild<QAction*>("edit_undo")->setEnabled(particleHistory_.CanUndo());
  findChild<QAction*>("edit_redo")->setEnabled(particleHistory_.CanRedo());
  findChild<QAction*>("file_save_particles_as")->setEnabled(!particles_.Particles.empty());
}

void MainWindow::edit_undo_Click() {
  if (RefuseCommand()) return;
  ShowRestoredParticles(particleHistory_.Undo(particles_));
}

void MainWindow::edit_redo_Click() {
  if (RefuseCommand()) return;
  ShowRestoredParticles(particleHistory_.Redo(particles_));
}

void MainWindow::ShowRestoredParticles(Restored how) {
  if (how == Restored::Replaced) {
    ResetRuns();
  } else if (how == Restored::Shortened) {
    storedPaths_.KeepParticles(particles_.ParticleCount());
    endpoints_->KeepParticles(particles_.ParticleCount());
    emit ResultsChanged();
  }
  EnableParticleItems();
  ui_.SetStatusPane(7, IntegerMaskText(particles_.ParticleCount()));
  RedrawViews(false);
}

bool MainWindow::MayDiscardParticles() {
  if (!session_.model.HasModel() || !particleHistory_.Unsaved(particles_)) return true;
  return ui_.AskYesNo("The particles placed have not been saved: File, Save Particles As keeps them.\n\n"
                      "Go on and lose them?",
                      kApplicationTitle);
}

}  // namespace kestra::app
