// The pathlines and end points of the runs made so far, retraced into
// memory: what the window's GIS and VTK exports of pathlines write.
#pragma once

#include <vector>

#include "tracking/endpoint_table.h"
#include "tracking/recorded_paths.h"
#include "tracking/track_particles.h"

namespace kestra {

struct ReplayedRuns {
  std::vector<RecordedPath> paths;
  std::vector<Endpoint> endpoints;  // of the particles and directions the runs moved
};

// Retraces every particle as ReplayParticles does, through `tracked` with
// `observer` in place of its own; the particles end where the runs had taken them.
void ReplayParticlesTo(TrackingRun& tracked, TrackObserver& observer);

// The same into memory.
ReplayedRuns RecordReplay(TrackingRun& tracked);

}  // namespace kestra
