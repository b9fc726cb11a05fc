// Holds what the engine reported for one particle so that particles tracked
// on several threads reach the real observer in particle order.
#pragma once

#include <vector>

#include "tracking/track_observer.h"

namespace kestra {

class TrackEventBuffer : public TrackObserver {
 public:
  void ReleasePoint(int particle, int direction, const PathPoint& point) override;
  void Segment(const TrackSegment& segment) override;
  void PointReached(int particle, int direction, const PathPoint& point) override;
  void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) override;
  void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) override;
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override;

  // Reports every held event to `target` in the order they came, then
  // forgets them.
  void Flush(TrackObserver& target);

 private:
  enum class Kind { Release, Segment, Point, TimeMark, DirectionMark, End };
  struct Event {
    Kind kind;
    TrackSegment segment;  // particle, direction, from, to, cell, time, colour as the kind uses them
    float localZ = 0;
    TrackState state;
    TrackEnd end = TrackEnd::AlreadyStopped;
  };
  void HoldPoint(Kind kind, int particle, int direction, const PathPoint& point);

  std::vector<Event> events_;
};

}  // namespace kestra
