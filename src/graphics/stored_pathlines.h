// The pathlines of the window's runs since the last restart, kept as the
// runs drew them so that every redraw of the views draws them again: a zoom,
// a pan or a layer change no longer throws the user's work away.
#pragma once

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "tracking/particle_set.h"
#include "tracking/track_observer.h"

namespace kestra {

// A pathline found under a point of the plan: whose, and the particle time
// there.
struct PathlineHit {
  int particle = 0;
  int direction = 1;
  double time = 0;
};

class StoredPathlines : public TrackObserver {
 public:
  void ReleasePoint(int particle, int direction, const PathPoint& point) override;
  void Segment(const TrackSegment& segment) override { events_.push_back({Kind::Segment, segment}); }
  void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) override;
  void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) override;

  // Hands every move and mark to `drawing` in the order the runs made them.
  void DrawOnto(TrackObserver& drawing) const;

  bool Empty() const { return events_.empty(); }
  void Clear() {
    events_.clear();
    releaseTimes_.clear();
  }
  // Forgets the pathlines of the particles after the first `count`.
  void KeepParticles(int count);
  // Keeps the pathlines of the particles left after a deletion, under their new numbers.
  void Renumber(const ParticleRenumbering& renumbering);

  // The pathline passing nearest plan point (x, y), at most `reach` from it
  // in plan units; the time there is interpolated along the move.
  std::optional<PathlineHit> PathlineAt(double x, double y, double reach) const;

 private:
  enum class Kind { Segment, TimeMark, DirectionMark };
  struct Event {
    Kind kind;
    TrackSegment move;  // a mark keeps its particle, direction and the two points
  };
  std::vector<Event> events_;
  std::map<std::pair<int, int>, double> releaseTimes_;  // by particle and direction
};

}  // namespace kestra
