#include "graphics/stored_pathlines.h"

namespace kestra {

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
}

}  // namespace kestra
