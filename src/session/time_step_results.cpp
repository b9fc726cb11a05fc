#include "session/time_step_results.h"

#include <algorithm>
#include <iterator>

#include "core/model_family.h"
#include "results/result_files.h"
#include "session/flow_terms.h"
#include "session/sink_cells.h"
#include "tracking/face_velocities.h"
#include "tracking/time_steps.h"

namespace kestra {

LoadStatus LoadTimeStepResults(ModelState& model, const Settings& settings, const TrackingSettings& tracking,
                               UserInterface& ui, StepResults which, const LoadingStage& stage) {
  const auto report = [&stage](int number) {
    if (stage) stage(number);
  };
  LoadStatus loaded;
  // The flow terms reader keeps terms it already holds: these are another step's.
  model.flowTermsLoaded = false;
  loaded.sinkCellsLoaded = LoadSinkCells(model, tracking.BoundaryCells, ui, true, &loaded.sinksWithoutFlowTerms);
  loaded.headsLoaded = LoadHeads(model, settings, ui, true);
  if (loaded.headsLoaded) FamilyOf(model).AdjustLoadedHeads(model);
  report(7);
  if (loaded.headsLoaded) LoadFlowTerms(model, ui, true);
  report(8);
  if (which == StepResults::FlowField) return loaded;
  loaded.drawdownsLoaded = LoadDrawdowns(model, ui, false);
  report(9);
  return loaded;
}

bool CellVelocitiesReady(Session& session) {
  if (!session.model.flowTermsLoaded) return false;
  LoadStatus& loaded = session.loaded;
  if (!loaded.velocitiesComputed) {
    loaded.maxSpeed = ComputeCellVelocities(session.model, session.settings, session.tracking);
    loaded.velocitiesComputed = true;
  }
  return true;
}

namespace {

// The results of the current time step; false when its heads could not be read.
bool LoadStepResults(Session& session, UserInterface& ui) {
  session.model.IBOUND = session.model.IBOUND0;
  const LoadStatus status =
      LoadTimeStepResults(session.model, session.settings, session.tracking, ui, StepResults::All);
  session.loaded.headsLoaded = status.headsLoaded;
  session.loaded.drawdownsLoaded = status.drawdownsLoaded;
  session.loaded.velocitiesComputed = false;  // those of the step before
  return status.headsLoaded;
}

}  // namespace

bool LoadChangedTimeStep(Session& session, int previousPeriod, int previousStep, UserInterface& ui) {
  if (LoadStepResults(session, ui)) return true;
  session.model.CurrentPeriod = previousPeriod;
  session.model.CurrentStep = previousStep;
  LoadStepResults(session, ui);
  return false;
}

std::string FlowFieldProblem(const Session& session) {
  if (session.loaded.headsLoaded && session.model.flowTermsLoaded) return {};
  const char* missing = session.loaded.headsLoaded ? "flow terms" : "heads";
  return std::string("the ") + missing + " of the time step could not be loaded";
}

std::string LoadedResultsText(const Session& session) {
  std::vector<std::string> parts;
  if (session.loaded.headsLoaded) parts.push_back("heads");
  if (session.model.flowTermsLoaded) parts.push_back("flows");
  if (session.loaded.drawdownsLoaded) parts.push_back("drawdowns");
  if (parts.empty()) return "none";
  std::string text = parts.front();
  for (std::size_t i = 1; i < parts.size(); ++i) text += ", " + parts[i];
  return text;
}

void ForgetResults(Session& session) {
  ModelState& m = session.model;
  std::fill(m.HEAD.values.begin(), m.HEAD.values.end(), session.settings.HNOFLO);
  std::fill(m.DRAWDOWN.values.begin(), m.DRAWDOWN.values.end(), session.settings.HNOFLO);
  for (CellArray<float>* flows : {&m.QRIGHT, &m.QFRONT, &m.QLOWER, &m.QRECH, &m.QET, &m.VX, &m.VY, &m.VZ})
    std::fill(flows->values.begin(), flows->values.end(), 0.0f);
  m.BoundaryFaceFlows = {};
  m.ArealFaceFlows = {};
  m.flowTermsLoaded = false;
  LoadStatus kept;
  kept.sinkCellsLoaded = session.loaded.sinkCellsLoaded;
  kept.sinksWithoutFlowTerms = std::move(session.loaded.sinksWithoutFlowTerms);
  session.loaded = std::move(kept);
}

double RunReleaseTime(const Session& session) {
  const TrackingSettings& tracking = session.tracking;
  if (tracking.SimulationMode == 2 && tracking.ReleaseTime) return *tracking.ReleaseTime;
  return StepTimeWindow(session.periods, session.model.CurrentStep, session.model.CurrentPeriod).T0;
}

namespace {

// The steps with both heads and flows; none when a file cannot be listed.
std::optional<SavedSteps> StepsWithResults(const ModelState& model) {
  SavedSteps heads, flows, both;
  if (!ListHeadSteps(model.HeadPath, heads) || !ListBudgetSteps(model.BudgetPath, flows)) return std::nullopt;
  std::set_intersection(heads.begin(), heads.end(), flows.begin(), flows.end(), std::inserter(both, both.end()));
  return both;
}

}  // namespace

bool ModelStepLoader::HoldsFlowField(const ModelState& state) {
  if (tracking_.UnsavedSteps != UnsavedStepRule::HoldLastSaved) return false;
  if (!saved_) saved_ = StepsWithResults(state).value_or(SavedSteps{});
  return !saved_->empty() && !saved_->contains({state.CurrentPeriod, state.CurrentStep});
}

SavedSteps UnsavedStepsOfRun(const ModelState& model, const StressPeriods& periods, int direction,
                             double releaseTime) {
  const std::optional<SavedSteps> saved = StepsWithResults(model);
  if (!saved) return {};
  SavedSteps unsaved;
  for (int period = 1; period <= periods.NPER; ++period)
    for (int step = 1; step <= periods.NSTP[period]; ++step) {
      const TimeWindow window = StepTimeWindow(periods, step, period);
      const bool walked = direction > 0 ? window.T1 > releaseTime : window.T0 < releaseTime;
      const SavedStep key{period, step};
      if (walked && !saved->contains(key)) unsaved.insert(key);
    }
  return unsaved;
}

bool CheckUnsavedSteps(const Session& session, int direction, UserInterface& ui, SavedSteps& held) {
  if (session.tracking.SimulationMode != 2) return true;
  const SavedSteps unsaved =
      UnsavedStepsOfRun(session.model, session.periods, direction, RunReleaseTime(session));
  if (unsaved.empty()) return true;
  if (session.tracking.UnsavedSteps == UnsavedStepRule::HoldLastSaved) {
    held.insert(unsaved.begin(), unsaved.end());
    return true;
  }
  Complain(ui, "The pathline run passes time steps whose heads or flows were not saved by the output control: " +
                    StepListText(unsaved) +
                    ". Save every step in the MODFLOW run, or let the tracking options hold the last saved flow "
                    "field over unsaved steps.",
           MessageIcon::Exclamation, "Unsaved Time Steps");
  return false;
}

bool ModelStepLoader::ReloadFlowTerms(ModelState& state) {
  if (!LoadFlowTerms(state, ui_, true)) return false;
  ComputeCellVelocities(state, settings_, tracking_);
  return true;
}

}  // namespace kestra
