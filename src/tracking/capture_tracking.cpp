#include "tracking/capture_tracking.h"

#include <cmath>

#include "tracking/placement.h"

namespace kestra {
namespace {

struct Release {
  std::size_t well = 0;
  CellIndex cell;
  LocalPoint local;
};

// Two neighbouring releases on one face, by their indexes.
struct ReleasePair {
  std::size_t first = 0, second = 0;
};

float Centre(int index, int count) { return (static_cast<float>(index) + 0.5f) / static_cast<float>(count); }

// Tracks releases in rounds, numbering every particle by its release
// (particle n is release n - 1) across the rounds.
class WellTracker {
 public:
  WellTracker(CaptureRun& run, const std::vector<double>& times) : run_(run) { run_.tracking.TimePoints = times; }

  std::size_t Add(const Release& release) {
    releases_.push_back(release);
    return releases_.size() - 1;
  }
  std::size_t Count() const { return releases_.size(); }
  const Release& At(std::size_t n) const { return releases_[n]; }
  const PlanPoint& EndOf(std::size_t n) const { return ends_[n]; }

  // Tracks the releases added since the last round.
  void TrackNew() {
    const std::size_t from = ends_.size();
    ParticleSet set;
    for (std::size_t n = from; n < releases_.size(); ++n) {
      const Release& r = releases_[n];
      set.Particles.push_back(
          NewParticle(set, r.cell, r.local, ElevationOfLocalHeight(run_.state, run_.settings, r.cell, r.local.z)));
    }
    BatchOutput output(run_.state, set.ParticleCount(), nullptr, PathlineLayout::Kestra);
    output.RecordPaths();
    output.RecordTimePoints();
    if (run_.progressed) output.OnProgress(run_.progressed);
    if (run_.started) run_.started(set.ParticleCount());
    RunControl control;
    TrackingRun tracking{run_.state, run_.settings, run_.tracking, run_.periods,    set, run_.busy, run_.ui,
                         output,     run_.loader,   control,       run_.threadCount};
    RunTrackingCommand(tracking, TrackMode::BackwardRun);
    output.Endpoints().AddMissing(set, -1);
    Keep(output, static_cast<int>(from));
  }

  CaptureTracks Result(const std::vector<WellScreen>& wells) const {
    CaptureTracks tracks{{}, paths_, endpoints_};
    for (const WellScreen& well : wells) tracks.wells.push_back({WellName(well), well.cells, {}, {}, {}});
    const auto wellOf = [&](int particle) -> WellPaths& { return tracks.wells[releases_[particle - 1].well]; };
    for (const RecordedPath& p : paths_) wellOf(p.particle).paths.push_back(p);
    for (const Endpoint& e : endpoints_) wellOf(e.particle).endpoints.push_back(e);
    for (const Mp7TimePoint& t : timePoints_) wellOf(t.particle).timePoints.push_back(t);
    return tracks;
  }

 private:
  void Keep(BatchOutput& output, int offset) {
    ends_.resize(releases_.size());
    for (RecordedPath path : output.Paths()) {
      path.particle += offset;
      paths_.push_back(std::move(path));
    }
    for (Endpoint end : output.Endpoints().Endpoints()) {
      end.particle += offset;
      ends_[static_cast<std::size_t>(end.particle) - 1] = end.finalGlobal;
      endpoints_.push_back(end);
    }
    for (Mp7TimePoint point : output.TimePoints()) {
      point.particle += offset;
      timePoints_.push_back(point);
    }
  }

  CaptureRun& run_;
  std::vector<Release> releases_;
  std::vector<PlanPoint> ends_;  // per release tracked
  std::vector<RecordedPath> paths_;
  std::vector<Endpoint> endpoints_;
  std::vector<Mp7TimePoint> timePoints_;
};

// The face templates of every cell of every well, and the pairs of
// neighbours along both directions of each face.
std::vector<ReleasePair> AddFaceTemplates(WellTracker& tracker, const std::vector<WellScreen>& wells, int n) {
  std::vector<ReleasePair> pairs;
  for (std::size_t w = 0; w < wells.size(); ++w)
    for (const CellIndex cell : wells[w].cells)
      for (int face = 0; face < 6; ++face) {
        const std::size_t first = tracker.Count();
        for (int a = 0; a < n; ++a)
          for (int b = 0; b < n; ++b) tracker.Add({w, cell, FaceTemplatePoint(face, Centre(a, n), Centre(b, n))});
        const auto at = [&](int a, int b) { return first + static_cast<std::size_t>(a * n + b); };
        for (int a = 0; a < n; ++a)
          for (int b = 0; b < n; ++b) {
            if (a + 1 < n) pairs.push_back({at(a, b), at(a + 1, b)});
            if (b + 1 < n) pairs.push_back({at(a, b), at(a, b + 1)});
          }
      }
  return pairs;
}

double EndDistance(const WellTracker& tracker, const ReleasePair& pair) {
  const PlanPoint &a = tracker.EndOf(pair.first), &b = tracker.EndOf(pair.second);
  return std::hypot(a.X - b.X, a.Y - b.Y);
}

// Releases one particle halfway between each pair whose particles ended
// too far apart; the new pairs on either side of it.
std::vector<ReleasePair> SplitParted(WellTracker& tracker, const std::vector<ReleasePair>& pairs,
                                     const WellRelease& release) {
  std::vector<ReleasePair> split;
  for (const ReleasePair& pair : pairs) {
    if (static_cast<int>(tracker.Count()) >= release.mostParticles) break;
    if (!(EndDistance(tracker, pair) > release.splitDistance)) continue;
    const Release &a = tracker.At(pair.first), &b = tracker.At(pair.second);
    const LocalPoint middle{(a.local.x + b.local.x) / 2, (a.local.y + b.local.y) / 2, (a.local.z + b.local.z) / 2};
    const std::size_t m = tracker.Add({a.well, a.cell, middle});
    split.push_back({pair.first, m});
    split.push_back({m, pair.second});
  }
  return split;
}

}  // namespace

CaptureTracks TrackFromWells(CaptureRun& run, const std::vector<WellScreen>& wells, const WellRelease& release,
                             const std::vector<double>& times) {
  WellTracker tracker(run, times);
  std::vector<ReleasePair> pairs = AddFaceTemplates(tracker, wells, release.divisions);
  tracker.TrackNew();
  for (int level = 0; level < release.splitLevels && release.splitDistance > 0 && !pairs.empty(); ++level) {
    pairs = SplitParted(tracker, pairs, release);
    if (pairs.empty()) break;
    tracker.TrackNew();
  }
  return tracker.Result(wells);
}

}  // namespace kestra
