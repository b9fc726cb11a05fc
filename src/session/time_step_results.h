// The results of the current time step: what an open, a pathline run that
// walks through the simulation, the end of such a run and the tracking
// options all load when CurrentStep/CurrentPeriod change.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "results/saved_steps.h"
#include "session/session.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/track_particles.h"

namespace kestra {

// How much of the step to load: the flow field the tracking engine needs,
// or everything the views show as well.
enum class StepResults { FlowField, All };

// Reports the loading stages 7 (heads), 8 (flow terms) and 9 (drawdowns).
using LoadingStage = std::function<void(int stage)>;

// Reloads the sink cells (by the tracking settings' boundary-cell rule),
// the heads and, when the heads loaded, the flow terms of
// CurrentStep/CurrentPeriod (an imported model's recharge package
// included); with StepResults::All also the drawdowns. The readers report their own
// failures (drawdowns silently) and leave what they could not read as it
// was; the result says what loaded (the flow terms: model.flowTermsLoaded).
// Ranges are left unset.
LoadStatus LoadTimeStepResults(ModelState& model, const Settings& settings, const TrackingSettings& tracking,
                               UserInterface& ui, StepResults which, const LoadingStage& stage = {});

// The cell-centre velocities (VX, VY, VZ) and their largest speed, from the
// flow terms of the loaded time step. Only the velocity vectors, the speed
// flood and the velocity exports read them, so they are computed at the
// first such use after a load, not at every open or change of time step.
// False without flow terms.
bool CellVelocitiesReady(Session& session);

// Why no particle can be tracked in the time step the session loaded: its
// heads, or the flow terms read after them, did not load. Empty when they did.
std::string FlowFieldProblem(const Session& session);

// What the session holds of its time step's results, for the status bar:
// "heads, flows, drawdowns", "heads, flows", ..., or "none".
std::string LoadedResultsText(const Session& session);

// The session keeps its grid, boundary cells and maps but none of the
// results its readers left half read: heads and drawdowns are HNOFLO, flows
// and velocities zero, and nothing counts as loaded.
void ForgetResults(Session& session);

// The session's current time step was changed from (previousPeriod,
// previousStep): loads its results from the boundary codes as read. When its
// heads cannot be read the previous step comes back with its results, and
// the result is false.
bool LoadChangedTimeStep(Session& session, int previousPeriod, int previousStep, UserInterface& ui);

// The time steps of the model as a pathline run walks through them.
class ModelStepLoader : public TimeStepLoader {
 public:
  ModelStepLoader(const Settings& settings, const TrackingSettings& tracking, UserInterface& ui)
      : settings_(settings), tracking_(tracking), ui_(ui) {}
  bool LoadFlowField(ModelState& state) override {
    LoadTimeStepResults(state, settings_, tracking_, ui_, StepResults::FlowField);
    return state.flowTermsLoaded;
  }
  void RestoreTimeStep(ModelState& state) override {
    LoadTimeStepResults(state, settings_, tracking_, ui_, StepResults::All);
  }
  bool ReloadFlowTerms(ModelState& state) override;
  // With the tracking options' hold rule, a step whose heads or flows the
  // result files do not hold.
  bool HoldsFlowField(const ModelState& state) override;

 private:
  const Settings& settings_;
  const TrackingSettings& tracking_;
  UserInterface& ui_;
  std::optional<SavedSteps> saved_;  // steps with both heads and flows, listed at the first need
};

// The simulation time the particles of a run start at: a pathline run's
// release time when one is set, else the start of the current time step.
double RunReleaseTime(const Session& session);

// The time steps a pathline run from `releaseTime` may walk through in
// `direction` whose heads or flows the result files do not hold. Empty
// when a file cannot be listed: loading its steps says why.
SavedSteps UnsavedStepsOfRun(const ModelState& model, const StressPeriods& periods, int direction,
                             double releaseTime);

// Before a pathline run in `direction`: the steps it may pass whose results
// were not saved. With the tracking options' hold rule the run's loader
// keeps the last loaded flow field over them, and they join `held`;
// otherwise the user is told which they are and the result is false.
bool CheckUnsavedSteps(const Session& session, int direction, UserInterface& ui, SavedSteps& held);

}  // namespace kestra
