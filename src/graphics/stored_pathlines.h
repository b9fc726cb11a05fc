// The pathlines of the window's runs since the last restart, kept as the
// runs drew them so that every redraw of the views draws them again: a zoom,
// a pan or a layer change no longer throws the user's work away.
#pragma once

#include <vector>

#include "tracking/track_observer.h"

namespace kestra {

class StoredPathlines : public TrackObserver {
 public:
  void Segment(const TrackSegment& segment) override { events_.push_back({Kind::Segment, segment}); }
  void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) override;
  void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) override;

  // Hands every move and mark to `drawing` in the order the runs made them.
  void DrawOnto(TrackObserver& drawing) const;

  bool Empty() const { return events_.empty(); }
  void Clear() { events_.clear(); }
  // Forgets the pathlines of the particles after the first `count`.
  void KeepParticles(int count);

 private:
  enum class Kind { Segment, TimeMark, DirectionMark };
  struct Event {
    Kind kind;
    TrackSegment move;  // a mark keeps its particle, direction and the two points
  };
  std::vector<Event> events_;
};

}  // namespace kestra
