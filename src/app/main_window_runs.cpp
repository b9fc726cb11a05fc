// The run commands: particles tracked forward or backward, runs and single
// steps, drawn on the views as they move; the stop button ends a run.
#include <QAction>
#include <QToolBar>

#include "app/main_window.h"
#include "graphics/time_marks.h"
#include "input/flow_terms.h"
#include "input/result_files.h"
#include "input/sink_cells.h"
#include "tracking/face_velocities.h"

namespace kestra::app {
namespace {

// Each move on the plan and both sections, with the time marks the
// tracking options ask for.
class ScreenPathlines : public TrackObserver {
 public:
  ScreenPathlines(PlotContext& context, const TrackingSettings& tracking) : context_(context), tracking_(tracking) {}

  void Segment(const TrackSegment& s) override {
    SetViewWindow(context_.layout);
    DrawSegment(context_, Plan(s.from.X), Plan(s.from.Y), Plan(s.to.X), Plan(s.to.Y), s.color, false, true);
    DrawSegmentRowSection(context_, Plan(s.from.X), Plan(s.from.Z), Plan(s.to.X), Plan(s.to.Z), s.color, false);
    DrawSegmentColumnSection(context_, Plan(s.from.Z), Plan(s.from.Y), Plan(s.to.Z), Plan(s.to.Y), s.color, false);
    lastColour_ = s.color;
  }

  void TimeMark(int, int direction, const PlanPoint& from, const PlanPoint& to) override { Marks(direction, from, to); }
  void DirectionMark(int, const PlanPoint& from, const PlanPoint& to) override { Marks(-1, from, to); }

 private:
  static float Plan(double v) { return static_cast<float>(v); }

  void Marks(int direction, const PlanPoint& from, const PlanPoint& to) {
    if (IsOn(tracking_.MarkOnTopView))
      DrawArrowMark(context_, Plan(from.X), Plan(from.Y), Plan(to.X), Plan(to.Y), Plan(to.Z), lastColour_, direction,
                    tracking_.MarkSizeTopView, false);
    if (IsOn(tracking_.MarkOnXsections))
      DrawSectionMark(context_, Plan(to.X), Plan(to.Y), Plan(to.Z), lastColour_, tracking_.MarkSizeXsections);
  }

  PlotContext& context_;
  const TrackingSettings& tracking_;
  Colour lastColour_ = 0;
};

// The results of the time steps a pathline run walks through.
class SessionStepLoader : public TimeStepLoader {
 public:
  SessionStepLoader(Session& session, UserInterface& ui) : session_(session), ui_(ui) {}

  bool LoadFlowField(ModelState& state) override {
    LoadSinkCells(state, ui_, true);
    if (!LoadHeads(state, session_.settings, ui_, true)) return false;
    return LoadFlowTerms(state, ui_, true);
  }

  void RestoreTimeStep(ModelState& state) override {
    if (LoadFlowField(state)) ComputeCellVelocities(state, session_.settings, session_.tracking);
    LoadDrawdowns(state, ui_, false);
  }

 private:
  Session& session_;
  UserInterface& ui_;
};

}  // namespace

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
  ScreenPathlines pathlines(context, session_.tracking);
  SessionStepLoader loader(session_, ui_);
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
  const bool running = session_.busy.trackingRun || session_.busy.redraw;
  if (!running) return;
  session_.busy.trackingRun = false;
  session_.busy.redraw = false;
  runControl_.breakRequested = true;
  SetRunButtonsRunning(false);
  ui_.Beep();
}

}  // namespace kestra::app
