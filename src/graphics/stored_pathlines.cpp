#include "graphics/stored_pathlines.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kestra {

void StoredPathlines::ReleasePoint(int particle, int direction, const PathPoint& point) {
  releaseTimes_.try_emplace({particle, direction}, point.time);
}

void StoredPathlines::TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) {
  TrackSegment mark;
  mark.particle = particle, mark.direction = direction, mark.from = from, mark.to = to;
  events_.push_back({Kind::TimeMark, mark});
}

void StoredPathlines::DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) {
  TrackSegment mark;
  mark.particle = particle, mark.direction = -1, mark.from = from, mark.to = to;
  events_.push_back({Kind::DirectionMark, mark});
}

void StoredPathlines::DrawOnto(TrackObserver& drawing) const {
  for (const Event& e : events_) {
    switch (e.kind) {
      case Kind::Segment:
        drawing.Segment(e.move);
        break;
      case Kind::TimeMark:
        drawing.TimeMark(e.move.particle, e.move.direction, e.move.from, e.move.to);
        break;
      case Kind::DirectionMark:
        drawing.DirectionMark(e.move.particle, e.move.from, e.move.to);
        break;
    }
  }
}

void StoredPathlines::KeepParticles(int count) {
  std::erase_if(events_, [count](const Event& event) { return event.move.particle > count; });
  std::erase_if(releaseTimes_, [count](const auto& release) { return release.first.first > count; });
}

void StoredPathlines::Renumber(const ParticleRenumbering& renumbering) {
  std::erase_if(events_, [&](Event& event) {
    event.move.particle = renumbering.NewNumber(event.move.particle);
    return event.move.particle == 0;
  });
  std::map<std::pair<int, int>, double> releases;
  for (const auto& [key, time] : releaseTimes_)
    if (const int particle = renumbering.NewNumber(key.first)) releases.emplace(std::pair{particle, key.second}, time);
  releaseTimes_ = std::move(releases);
}

std::optional<PathlineHit> StoredPathlines::PathlineAt(double x, double y, double reach) const {
  std::optional<PathlineHit> nearest;
  double nearestDistance = reach;
  // Each move starts at the time the previous one of its pathline ended.
  std::map<std::pair<int, int>, double> startTimes = releaseTimes_;
  for (const Event& e : events_) {
    if (e.kind != Kind::Segment) continue;
    const TrackSegment& s = e.move;
    const auto start = startTimes.try_emplace({s.particle, s.direction}, s.time).first;
    const double startTime = start->second;
    start->second = s.time;
    const double dx = s.to.X - s.from.X, dy = s.to.Y - s.from.Y;
    const double length2 = dx * dx + dy * dy;
    const double along = length2 > 0 ? std::clamp(((x - s.from.X) * dx + (y - s.from.Y) * dy) / length2, 0.0, 1.0) : 1;
    const double distance = std::hypot(s.from.X + along * dx - x, s.from.Y + along * dy - y);
    if (distance > nearestDistance) continue;
    nearestDistance = distance;
    nearest = PathlineHit{s.particle, s.direction, startTime + along * (s.time - startTime)};
  }
  return nearest;
}

}  // namespace kestra
