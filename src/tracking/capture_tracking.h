// The tracking behind capture zones: particles released on the faces of
// every cell of each well's screen (each face divided n x n, as MODPATH's
// face templates place them) and tracked backward, or on the top faces of a
// source's cells and tracked forward, their pathlines, end
// points and positions at the travel times kept well by well.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "core/run_state.h"
#include "core/stress_periods.h"
#include "core/user_interface.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/batch_output.h"
#include "tracking/track_particles.h"
#include "tracking/well_screens.h"

namespace kestra {

// What was tracked from one well.
struct WellPaths {
  std::string well;               // its name, "2,8,15" or "1-3,8,15"
  std::vector<CellIndex> screen;  // its cells
  std::vector<RecordedPath> paths;
  std::vector<Endpoint> endpoints;
  // The particles' positions at the travel times: index 1 is the first time.
  std::vector<Mp7TimePoint> timePoints;
  bool fromSource = false;  // tracked forward from a source, not backward from a well
};

struct CaptureRun {
  ModelState& state;
  const Settings& settings;
  TrackingSettings tracking;  // the model's; the travel times become its time points
  const StressPeriods& periods;
  BusyFlags& busy;
  UserInterface& ui;
  TimeStepLoader& loader;
  int threadCount = 1;
  std::function<void(int particles)> started;          // before the run, with the particle count
  std::function<void(const BatchCounts&)> progressed;  // as the run goes
};

struct CaptureTracks {
  std::vector<WellPaths> wells;  // in the order of the wells given
};

// Every well's paths and end points together in particle order, for the
// pathline export.
std::vector<RecordedPath> AllPaths(const CaptureTracks& tracks);
std::vector<Endpoint> AllEndpoints(const CaptureTracks& tracks);

// How particles are released at a well: each face of its cells divided
// n x n, a particle at the centre of each part. Where two neighbouring
// particles of a face end farther apart than `splitDistance`, one more is
// released halfway between them and tracked, and so on for the new pairs,
// up to `splitLevels` times: the paths then also trace where the water of
// a well parts, such as around a stagnation point.
inline constexpr int kMostFaceDivisions = 50;

struct WellRelease {
  int divisions = 4;
  double splitDistance = 0;  // 0: no particle is added
  int splitLevels = 10;
  int mostParticles = 200000;  // of all wells together
  // Released on the top faces only and tracked forward: the zone a source
  // on the water table reaches, instead of the zone that reaches a well.
  bool fromSource = false;
};

// Tracks the particles of `release` at every cell of every well backward
// (forward from a source) from the start of the current time step, reporting their positions at
// `times` (travel times, increasing, model time unit).
CaptureTracks TrackFromWells(CaptureRun& run, const std::vector<WellScreen>& wells, const WellRelease& release,
                             const std::vector<double>& times);

}  // namespace kestra
