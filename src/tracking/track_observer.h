// What the tracking engine reports while it moves particles: the drawing
// layer draws it, the pathline writer writes it, the batch tool collects end
// points. Particles are numbered from 1; direction is +1 forward, -1 backward.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "tracking/particle_set.h"

namespace kestra {

// A point of a pathline in plan coordinates (X from the grid's left edge, Y
// from its upper edge, growing with the row number) and elevation Z.
struct PlanPoint {
  double X = 0;
  double Y = 0;
  double Z = 0;
};

// A point written to the pathline file: where, in which cell, at which
// particle time. A point on a face where the particle enters `cell` keeps
// the elevation of the cell it left (pathlines stay continuous); `cellZ` is
// then the elevation of its local height in `cell`, whose saturated
// thickness may differ. NaN: `point.Z` is the elevation in `cell`.
// `leftCell` is the cell left through that face, `leftLocalZ` the point's
// local height there; none for a point inside its cell.
struct PathPoint {
  PlanPoint point;
  float localZ = 0;
  CellIndex cell;
  double time = 0;
  double cellZ = std::numeric_limits<double>::quiet_NaN();
  std::optional<CellIndex> leftCell = std::nullopt;
  float leftLocalZ = 0;

  double ElevationInCell() const { return std::isnan(cellZ) ? point.Z : cellZ; }
};

// Why a particle's tracking ended in one pass of a run.
enum class TrackEnd {
  LeftGrid,             // left through a side, the top of layer 1 or the bottom of the last layer (stopped)
  EnteredInactiveCell,  // entered an inactive or fixed-head cell (stopped)
  EnteredSinkCell,      // entered a weak sink (backward: source) cell and the rule stops it there (stopped)
  NoExitFromSink,       // entered (or was released in) a sink or source cell that water leaves through no face (stopped)
  CannotLeaveCell,      // the flow keeps it inside its cell (stopped)
  NoFiniteVelocity,     // a velocity, travel time or position of its cell is not a finite number (stopped)
  ReachedStopTime,      // reached the time this run allows (its steps or the replay limit)
  StepDone,             // a single step ended
  WindowEnd,            // reached the end of the loaded time step (pathline mode)
  OutsideWindow,        // its time lies outside the loaded time step (pathline mode)
  NoTimeLeft,           // no positive time to move in this pass
  AlreadyStopped,       // had stopped in an earlier run
  RunBroken,            // the run was stopped
  ThicknessFault,       // its cell has no saturated thickness; the run ends
};

// True for the ends that set the particle's stop flag.
inline bool StopsParticle(TrackEnd end) {
  return end == TrackEnd::LeftGrid || end == TrackEnd::EnteredInactiveCell || end == TrackEnd::EnteredSinkCell ||
         end == TrackEnd::NoExitFromSink || end == TrackEnd::CannotLeaveCell || end == TrackEnd::NoFiniteVelocity;
}

// One move as drawn: from the end of the previous segment to the new point.
struct TrackSegment {
  int particle = 0;
  int direction = 1;
  PlanPoint from;
  PlanPoint to;
  CellIndex cell;            // the cell the move ran through
  double time = 0;           // particle time at the end of the move
  std::int32_t color = 0;    // the particle's colour
};

class TrackObserver {
 public:
  virtual ~TrackObserver() = default;
  // The release point, before the first move in a direction.
  virtual void ReleasePoint(int particle, int direction, const PathPoint& point) { (void)particle, (void)direction, (void)point; }
  virtual void Segment(const TrackSegment& segment) { (void)segment; }
  // The new point after a move that kept the particle in the grid.
  virtual void PointReached(int particle, int direction, const PathPoint& point) { (void)particle, (void)direction, (void)point; }
  // The position at time point `index` (from 1) of the tracking's time points.
  virtual void TimePointReached(int particle, int direction, const PathPoint& point, int index) {
    (void)particle, (void)direction, (void)point, (void)index;
  }
  // A time mark at the end of a move that passed a mark time: the plan arrow
  // runs from `from` to `to`, the section mark sits at `to`.
  virtual void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) {
    (void)particle, (void)direction, (void)from, (void)to;
  }
  // The direction mark of a first backward move: the arrow from the new
  // point `from` back to the release point `to`, the section mark at `to`.
  virtual void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) {
    (void)particle, (void)from, (void)to;
  }
  // The particle's tracking in this pass has ended; `state` is where it stands.
  virtual void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) {
    (void)particle, (void)direction, (void)state, (void)end;
  }
};

}  // namespace kestra
