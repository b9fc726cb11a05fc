#include "tracking/capture_tracking.h"

#include <algorithm>
#include <cmath>
#include <utility>

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
  WellTracker(CaptureRun& run, const std::vector<double>& times, bool forward) : run_(run), forward_(forward) {
    run_.tracking.TimePoints = times;
  }

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
    RunTrackingCommand(tracking, forward_ ? TrackMode::ForwardRun : TrackMode::BackwardRun);
    output.Endpoints().AddMissing(set, forward_ ? 1 : -1);
    Keep(output, static_cast<int>(from));
  }

  // The tracks well by well; the tracker is empty afterwards.
  CaptureTracks TakeResult(const std::vector<WellScreen>& wells) {
    CaptureTracks tracks;
    for (const WellScreen& well : wells)
      tracks.wells.push_back({well.name.empty() ? WellName(well) : well.name, well.cells, {}, {}, {}, forward_});
    const auto wellOf = [&](int particle) -> WellPaths& { return tracks.wells[releases_[particle - 1].well]; };
    for (RecordedPath& p : paths_) wellOf(p.particle).paths.push_back(std::move(p));
    for (const Endpoint& e : endpoints_) wellOf(e.particle).endpoints.push_back(e);
    for (const Mp7TimePoint& t : timePoints_) wellOf(t.particle).timePoints.push_back(t);
    paths_.clear();
    endpoints_.clear();
    timePoints_.clear();
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
  bool forward_;
  std::vector<Release> releases_;
  std::vector<PlanPoint> ends_;  // per release tracked
  std::vector<RecordedPath> paths_;
  std::vector<Endpoint> endpoints_;
  std::vector<Mp7TimePoint> timePoints_;
};

constexpr int kTopFace = 4;

// The face templates of every cell of every well (the top faces only from a
// source), and the pairs of neighbours along both directions of each face.
std::vector<ReleasePair> AddFaceTemplates(WellTracker& tracker, const std::vector<WellScreen>& wells,
                                          const WellRelease& release) {
  const int n = release.divisions;
  std::vector<ReleasePair> pairs;
  for (std::size_t w = 0; w < wells.size(); ++w)
    for (const CellIndex cell : wells[w].cells)
      for (int face = release.fromSource ? kTopFace : 0; face < (release.fromSource ? kTopFace + 1 : 6); ++face) {
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
  WellTracker tracker(run, times, release.fromSource);
  std::vector<ReleasePair> pairs = AddFaceTemplates(tracker, wells, release);
  tracker.TrackNew();
  for (int level = 0; level < release.splitLevels && release.splitDistance > 0 && !pairs.empty(); ++level) {
    pairs = SplitParted(tracker, pairs, release);
    if (pairs.empty()) break;
    tracker.TrackNew();
  }
  return tracker.TakeResult(wells);
}

std::vector<RecordedPath> AllPaths(const CaptureTracks& tracks) {
  std::vector<RecordedPath> paths;
  for (const WellPaths& well : tracks.wells) paths.insert(paths.end(), well.paths.begin(), well.paths.end());
  std::sort(paths.begin(), paths.end(), [](const auto& a, const auto& b) { return a.particle < b.particle; });
  return paths;
}

std::vector<Endpoint> AllEndpoints(const CaptureTracks& tracks) {
  std::vector<Endpoint> endpoints;
  for (const WellPaths& well : tracks.wells)
    endpoints.insert(endpoints.end(), well.endpoints.begin(), well.endpoints.end());
  std::sort(endpoints.begin(), endpoints.end(), [](const auto& a, const auto& b) { return a.particle < b.particle; });
  return endpoints;
}

}  // namespace kestra
