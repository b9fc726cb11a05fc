#include "tracking/track_event_buffer.h"

namespace kestra {

void TrackEventBuffer::HoldPoint(Kind kind, int particle, int direction, const PathPoint& point) {
  Event event{kind, {particle, direction, {}, point.point, point.cell, point.time, 0}, point.localZ, {}, {}};
  events_.push_back(event);
}

void TrackEventBuffer::ReleasePoint(int particle, int direction, const PathPoint& point) {
  HoldPoint(Kind::Release, particle, direction, point);
}

void TrackEventBuffer::PointReached(int particle, int direction, const PathPoint& point) {
  HoldPoint(Kind::Point, particle, direction, point);
}

void TrackEventBuffer::Segment(const TrackSegment& segment) {
  events_.push_back({Kind::Segment, segment, 0, {}, {}});
}

void TrackEventBuffer::TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) {
  events_.push_back({Kind::TimeMark, {particle, direction, from, to, {}, 0, 0}, 0, {}, {}});
}

void TrackEventBuffer::DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) {
  events_.push_back({Kind::DirectionMark, {particle, -1, from, to, {}, 0, 0}, 0, {}, {}});
}

void TrackEventBuffer::ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) {
  events_.push_back({Kind::End, {particle, direction, {}, {}, {}, 0, 0}, 0, state, end});
}

void TrackEventBuffer::Flush(TrackObserver& target) {
  for (const Event& e : events_) {
    const TrackSegment& s = e.segment;
    const PathPoint point{s.to, e.localZ, s.cell, s.time};
    switch (e.kind) {
      case Kind::Release: target.ReleasePoint(s.particle, s.direction, point); break;
      case Kind::Point: target.PointReached(s.particle, s.direction, point); break;
      case Kind::Segment: target.Segment(s); break;
      case Kind::TimeMark: target.TimeMark(s.particle, s.direction, s.from, s.to); break;
      case Kind::DirectionMark: target.DirectionMark(s.particle, s.from, s.to); break;
      case Kind::End: target.ParticleEnd(s.particle, s.direction, e.state, e.end); break;
    }
  }
  events_.clear();
}

}  // namespace kestra
