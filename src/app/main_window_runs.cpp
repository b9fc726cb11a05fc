// The run commands: particles tracked forward or backward, runs and single
// steps, drawn on the views as they move; the stop button ends a run.
#include <QAction>
#include <QToolBar>

#include "app/main_window.h"
#include "graphics/pathline_drawing.h"
#include "input/flow_terms.h"
#include "input/time_step_results.h"

namespace kestra::app {

void MainWindow::run_forward_Click() { RunParticles(TrackMode::ForwardRun); }
void MainWindow::run_backward_Click() { RunParticles(TrackMode::BackwardRun); }
void MainWindow::run_step_forward_Click() { RunParticles(TrackMode::ForwardStep); }
void MainWindow::run_step_backward_Click() { RunParticles(TrackMode::BackwardStep); }

// The flow terms of the current step are read again before each run.
void MainWindow::RunParticles(TrackMode mode) {
  if (RefuseCommand()) return;
  RemoveSectionMarker();
  if (!LoadFlowTerms(session_.model, ui_, true)) return;
  PlotContext context = Context();
  PathlineDrawing pathlines(context, session_.tracking, false);
  ModelStepLoader loader(session_.settings, session_.tracking, ui_);
  TrackingRun run{session_.model, session_.settings, session_.tracking, session_.periods, particles_,
                  session_.busy,  ui_,                pathlines,          loader,           runControl_};
  SetRunButtonsRunning(true);
  TrackParticles(run, mode, TrackKind::Interactive);
  SetRunButtonsRunning(false);
  RefreshViews();
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

}  // namespace kestra::app
