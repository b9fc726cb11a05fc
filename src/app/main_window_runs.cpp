// The run commands: particles tracked forward or backward, runs and single
// steps, drawn on the views as they move and kept for every redraw; the stop
// button ends a run. Run, Restart puts the particles back; Run, Delete All
// Particles empties the set.
#include <QAction>
#include <QTimer>
#include <QToolBar>

#include "app/main_window.h"
#include "core/number_format.h"
#include "graphics/pathline_drawing.h"
#include "session/flow_terms.h"
#include "session/time_step_results.h"
#include "tracking/run_progress.h"

namespace kestra::app {

void MainWindow::run_forward_Click() { RunParticles(TrackMode::ForwardRun); }
void MainWindow::run_backward_Click() { RunParticles(TrackMode::BackwardRun); }
void MainWindow::run_step_forward_Click() { RunParticles(TrackMode::ForwardStep); }
void MainWindow::run_step_backward_Click() { RunParticles(TrackMode::BackwardStep); }

// The flow terms of the current step are read again before each run. The
// pictures are put on the screen by the repaint clock while the run goes on,
// so that pathlines appear as they are computed.
void MainWindow::RunParticles(TrackMode mode) {
  if (RefuseCommand()) return;
  RemoveSectionMarker();
  if (!LoadFlowTerms(session_.model, ui_, true)) return;
  PlotContext context = Context();
  PathlineDrawing pathlines(context, session_.tracking, false);
  SetUpScreenPathlines(pathlines);
  pathlines.SetDimmed(pathsStale_);
  const bool forward = mode == TrackMode::ForwardRun || mode == TrackMode::ForwardStep;
  SavedSteps held;
  if (!CheckUnsavedSteps(session_, forward ? 1 : -1, ui_, held)) return;
  endpoints_->NoteHeldSteps(held);
  RunProgress progress(ui_, particles_.ParticleCount(), forward ? 1 : -1);
  ObserverFanOut observers({&pathlines, &storedPaths_, &*endpoints_, &progress});
  ModelStepLoader loader(session_.settings, session_.tracking, ui_);
  TrackingRun run{session_.model, session_.settings, session_.tracking, session_.periods, particles_,
                  session_.busy,  ui_,                observers,          loader,           runControl_};
  SetRunButtonsRunning(true);
  repaintClock_->start();
  TrackParticles(run, mode, TrackKind::Interactive);
  repaintClock_->stop();
  SetRunButtonsRunning(false);
  RefreshViews();
  emit ResultsChanged();
  if (redrawAgain_) {
    redrawAgain_ = false;
    RedrawViews(true);
  }
}

// While a run or a redraw goes on only "stop" works on the toolbar.
void MainWindow::SetRunButtonsRunning(bool running) {
  for (QAction* action : toolbar_->actions()) {
    const QString key = action->data().toString();
    if (key.isEmpty() || key == "open") continue;
    action->setEnabled(key == "stop" ? running : !running);
  }
  if (!running && !ToolbarButton("zoom")->isChecked()) ToolbarButton("set particle")->setChecked(true);
}

void MainWindow::StopRequested() {
  const bool running = session_.busy.trackingRun || session_.busy.particleRedraw;
  if (!running) return;
  session_.busy.trackingRun = false;
  runControl_.breakRequested = true;
  SetRunButtonsRunning(false);
  ui_.Beep();
}

void MainWindow::run_restart_Click() {
  if (RefuseCommand()) return;
  ResetRuns();
  ui_.SetHint("");
  RedrawViews(false);
}

void MainWindow::run_delete_all_particles_Click() {
  if (RefuseCommand()) return;
  particles_.Particles.clear();
  ResetRuns();
  findChild<QAction*>("file_save_particles_as")->setEnabled(false);
  RedrawViews(false);
}

void MainWindow::ShowParticleCount() { ui_.SetStatusPane(7, IntegerMaskText(particles_.ParticleCount())); }

}  // namespace kestra::app
