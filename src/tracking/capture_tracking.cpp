#include "tracking/capture_tracking.h"

#include "tracking/placement.h"

namespace kestra {
namespace {

// The particles of every well, well after well; `first` gets the number of
// each well's first particle and, last, one past the last particle.
ParticleSet WellParticles(const CaptureRun& run, const std::vector<WellScreen>& wells, int divisions,
                          std::vector<int>& first) {
  PlacementCounts counts;
  const auto n = static_cast<std::int16_t>(divisions);
  for (FaceCount& face : counts.faces) face = {n, n};
  ParticleSet set;
  for (const WellScreen& well : wells) {
    first.push_back(set.ParticleCount() + 1);
    const std::vector<ParticleRecord> placed =
        PlacementParticles(run.state, run.settings, set, well.cells, counts, well.cells.front().layer);
    set.Particles.insert(set.Particles.end(), placed.begin(), placed.end());
  }
  first.push_back(set.ParticleCount() + 1);
  return set;
}

// What was recorded of particles first..last-1.
WellPaths PathsOfWell(const WellScreen& well, int first, int last, const CaptureTracks& all,
                      const std::vector<Mp7TimePoint>& timePoints) {
  WellPaths own{WellName(well), well.cells, {}, {}, {}};
  const auto mine = [&](int particle) { return particle >= first && particle < last; };
  for (const RecordedPath& p : all.paths)
    if (mine(p.particle)) own.paths.push_back(p);
  for (const Endpoint& e : all.endpoints)
    if (mine(e.particle)) own.endpoints.push_back(e);
  for (const Mp7TimePoint& t : timePoints)
    if (mine(t.particle)) own.timePoints.push_back(t);
  return own;
}

}  // namespace

CaptureTracks TrackFromWells(CaptureRun& run, const std::vector<WellScreen>& wells, int divisions,
                             const std::vector<double>& times) {
  std::vector<int> first;
  ParticleSet particles = WellParticles(run, wells, divisions, first);
  run.tracking.TimePoints = times;
  BatchOutput output(run.state, particles.ParticleCount(), nullptr, PathlineLayout::Kestra);
  output.RecordPaths();
  output.RecordTimePoints();
  if (run.progressed) output.OnProgress(run.progressed);
  if (run.started) run.started(particles.ParticleCount());
  RunControl control;
  TrackingRun tracking{run.state, run.settings, run.tracking, run.periods, particles,      run.busy,
                       run.ui,    output,       run.loader,   control,     run.threadCount};
  RunTrackingCommand(tracking, TrackMode::BackwardRun);
  output.Endpoints().AddMissing(particles, -1);

  CaptureTracks tracks;
  tracks.paths = output.Paths();
  tracks.endpoints = output.Endpoints().Endpoints();
  for (std::size_t w = 0; w < wells.size(); ++w)
    tracks.wells.push_back(PathsOfWell(wells[w], first[w], first[w + 1], tracks, output.TimePoints()));
  return tracks;
}

}  // namespace kestra
