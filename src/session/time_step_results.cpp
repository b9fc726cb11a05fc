#include "session/time_step_results.h"

#include "core/model_family.h"
#include "results/result_files.h"
#include "session/flow_terms.h"
#include "session/sink_cells.h"
#include "tracking/face_velocities.h"

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
  if (model.flowTermsLoaded) {
    loaded.maxSpeed = ComputeCellVelocities(model, settings, tracking);
    loaded.velocitiesComputed = true;
  }
  return loaded;
}

namespace {

// The results of the current time step; false when its heads could not be read.
bool LoadStepResults(Session& session, UserInterface& ui) {
  session.model.IBOUND = session.model.IBOUND0;
  const LoadStatus status =
      LoadTimeStepResults(session.model, session.settings, session.tracking, ui, StepResults::All);
  session.loaded.headsLoaded = status.headsLoaded;
  session.loaded.drawdownsLoaded = status.drawdownsLoaded;
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

bool ModelStepLoader::ReloadFlowTerms(ModelState& state) {
  if (!LoadFlowTerms(state, ui_, true)) return false;
  ComputeCellVelocities(state, settings_, tracking_);
  return true;
}

}  // namespace kestra
