// Tracking one particle through one pass of a run: the cell-by-cell moves,
// face crossings, time marks and stop rules.
#pragma once

#include <atomic>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/cell_record_cache.h"
#include "tracking/particle_set.h"
#include "tracking/time_steps.h"
#include "tracking/track_observer.h"

namespace kestra {

// What every particle of one pass sees. Nothing in it changes during the
// pass, so particles may be tracked on several threads at once.
struct PassContext {
  const ModelState& state;
  const Settings& settings;
  const TrackingSettings& tracking;
  CellRecordCache& cells;  // of state, settings and tracking
  int direction = 1;          // +1 with the flow, -1 against it
  bool singleStep = false;    // a particle ends its run at its next tracking-step end
  bool replay = false;        // retraces only the particles that earlier runs started
  bool windowActive = false;  // pathline mode: moves end at the loaded time step's ends
  TimeWindow window;          // the loaded time step, simulation time
  double releaseTime = 0;     // Tstart: simulation time of particle time 0
  const std::atomic<bool>* breakRequested = nullptr;
  UserInterface* eventPump = nullptr;  // lets window events run before every move
};

// Run-long state of one particle.
struct ParticleProgress {
  double stopTime = 0;     // particle time at which this run ends for it
  bool stepDone = false;   // reached a tracking-step end in this run
  bool releaseReported = false;
};

struct PassOutcome {
  TrackEnd end = TrackEnd::AlreadyStopped;
  bool moved = false;
  CellIndex faultCell;     // the cell without thickness, for TrackEnd::ThicknessFault
  bool faultBeeps = false; // the fault was found at the start of a move
};

// True when time `a` has reached `b` going forward: equal up to the rounding
// that sums of move times carry (1e-9 relative).
bool TimeReached(double a, double b);

// True when the simulation time of a particle lies in the window: [T0, T1)
// forward, (T0, T1] backward, with the rounding of TimeReached.
bool ParticleInTimeWindow(double simulationTime, int direction, const TimeWindow& window);

// Tracks particle `number` in the context's direction until it stops,
// reaches a limit of this pass or the run is broken; the particle's state
// for that direction and `progress` are updated and every move reported to
// `observer`. A stopped particle is left as it is.
PassOutcome TrackParticlePass(const PassContext& context, int number, ParticleRecord& particle,
                              ParticleProgress& progress, TrackObserver& observer);

}  // namespace kestra
