#include "tracking/replay_record.h"

#include "tracking/batch_output.h"

namespace kestra {

void ReplayParticlesTo(TrackingRun& tracked, TrackObserver& observer) {
  TrackingRun replay{tracked.state,     tracked.settings, tracked.tracking,   tracked.periods,
                     tracked.particles, tracked.busy,     tracked.ui,         observer,
                     tracked.loader,    tracked.control,  tracked.threadCount};
  ReplayParticles(replay);
}

ReplayedRuns RecordReplay(TrackingRun& tracked) {
  BatchOutput output(tracked.state, tracked.particles.ParticleCount(), nullptr, PathlineLayout::Kestra);
  output.RecordPaths();
  ReplayParticlesTo(tracked, output);
  return {output.Paths(), output.Endpoints().Endpoints()};
}

}  // namespace kestra
