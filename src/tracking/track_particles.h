// The tracking run: moves every particle of the set forward or backward,
// through the flow field of the loaded time step (flowlines) or through the
// successive time steps of a transient simulation (pathlines).
#pragma once

#include <atomic>

#include "core/model_state.h"
#include "core/run_state.h"
#include "core/user_interface.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/particle_set.h"
#include "tracking/track_observer.h"

namespace kestra {

enum class TrackMode { ForwardRun = 1, ForwardStep = 2, BackwardRun = 3, BackwardStep = 4 };

// Interactive runs go as far as the tracking options allow; a replay
// retraces every particle from its release point to its time limit.
enum class TrackKind { Interactive = 1, Replay = 2 };

// Loads the results of another time step while a pathline run walks
// through the simulation.
class TimeStepLoader {
 public:
  virtual ~TimeStepLoader() = default;
  // Sink cells, heads and, when the heads loaded, the flow terms of
  // CurrentStep/CurrentPeriod. False when the flow terms did not load; the
  // arrays then hold what could be read.
  virtual bool LoadFlowField(ModelState& state) = 0;
  // As LoadFlowField, plus drawdowns and cell-centre velocities: called at
  // the end of a run that changed the time step, so the views show it again.
  virtual void RestoreTimeStep(ModelState& state) = 0;
  // The flow terms of the current step read again after an earlier load
  // failed, this time with their messages, and the cell-centre velocities
  // from them. False when they still do not load.
  virtual bool ReloadFlowTerms(ModelState& state) = 0;
  // True when the run keeps the flow field it loaded last over the current
  // step instead of loading it (a step whose results were not saved).
  virtual bool HoldsFlowField(const ModelState&) { return false; }
};

// Set by the stop button (or a resize or loss of activation) while a run goes on.
struct RunControl {
  std::atomic<bool> breakRequested{false};
};

// Everything a run works on.
struct TrackingRun {
  ModelState& state;
  const Settings& settings;
  const TrackingSettings& tracking;
  const StressPeriods& periods;
  ParticleSet& particles;
  BusyFlags& busy;
  UserInterface& ui;
  TrackObserver& observer;
  TimeStepLoader& loader;
  RunControl& control;
  int threadCount = 1;  // particles tracked at once; the result does not depend on it
};

// One run command. Does nothing without a model or loaded flow terms. A
// replay expects the particles at their release points (PrepareReplay).
// Afterwards every particle's time limit in the run's direction is its
// time, and the time step current before the run is current again.
void TrackParticles(TrackingRun& run, TrackMode mode, TrackKind kind);

// A run command of the menu, toolbar or batch tool: only beeps while
// another long operation runs or no model is open; otherwise reloads the
// flow terms if they are not loaded (with messages) and tracks.
void RunTrackingCommand(TrackingRun& run, TrackMode mode);

// Retraces every particle from its release point, forward and then
// backward, each as far as the last interactive runs took it: what the
// pathline export writes. The particles end where the replay took them,
// with their time limits kept.
void ReplayParticles(TrackingRun& run);

}  // namespace kestra
