// The run commands: particles tracked forward or backward, runs and single
// steps, drawn on the views as they move and kept for every redraw; the stop
// button ends a run. Run, Restart puts the particles back; Run, Delete All
// Particles empties the set.
#include <QAction>
#include <QLabel>
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
  if (RefuseCommand() || RefuseWithoutFlowField()) return;
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
  if (!running) ShowLoadedResults();
}

// Every command that tracks particles.
constexpr const char* kTrackingActions[] = {"run_forward",       "run_backward",     "run_step_forward",
                                            "run_step_backward", "run_capture_zone", "run_source_zone"};
constexpr const char* kTrackingButtons[] = {"backward", "step backward", "step forward", "forward"};

// The status bar names the results of the time step; without its heads or
// flows no command tracks, and their hints say why.
void MainWindow::ShowLoadedResults() {
  resultsLabel_->setText(tr("Results: %1").arg(QString::fromStdString(LoadedResultsText(session_))));
  const QString problem = TrackingOffText();
  for (const char* name : kTrackingActions) {
    QAction* action = findChild<QAction*>(name);
    action->setEnabled(problem.isEmpty());
    action->setStatusTip(problem);
  }
  for (const char* key : kTrackingButtons) {
    QAction* button = ToolbarButton(key);
    if (!problem.isEmpty()) button->setEnabled(false);
    button->setToolTip(problem.isEmpty() ? button->text() : problem);
  }
  // The hint line also carries other commands' hints: only this one is taken back.
  const QString shown = findChild<QLabel*>("hint")->text();
  if (!problem.isEmpty() || shown.startsWith(tr("No tracking:"))) ui_.SetHint(problem.toStdString());
}

QString MainWindow::TrackingOffText() const {
  const std::string problem = FlowFieldProblem(session_);
  return problem.empty() ? QString() : tr("No tracking: %1.").arg(QString::fromStdString(problem));
}

bool MainWindow::RefuseWithoutFlowField() {
  const QString problem = TrackingOffText();
  if (problem.isEmpty()) return false;
  ui_.Beep();
  ui_.SetHint(problem.toStdString());
  return true;
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
  if (RefuseCommand() || particles_.Particles.empty()) return;
  std::vector<ParticleRecord> before = std::move(particles_.Particles);
  particles_.Particles.clear();
  ResetRuns();
  RecordParticleEdit(std::move(before));
  RedrawViews(false);
}

void MainWindow::ShowParticleCount() { ui_.SetStatusPane(7, IntegerMaskText(particles_.ParticleCount())); }

}  // namespace kestra::app
