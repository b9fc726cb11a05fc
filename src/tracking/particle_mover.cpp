#include "tracking/particle_mover.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "core/sink_codes.h"
#include "tracking/exit_time.h"
#include "tracking/face_velocities.h"

namespace kestra {
namespace {

// Local coordinates are kept this far inside the faces so that a particle
// on a face is always in one cell. Each face crossing moves the particle on
// by this share of the new cell without adding time, so it is kept far
// below the 1e-5 relative agreement that travel times must reach.
constexpr float kInsideLow = 1e-6f;
constexpr float kInsideHigh = 1.0f - 1e-6f;
// A particle time this close below a step end (model time units) already
// counts as that step end when a run starts.
constexpr double kStepEndSlack = 0.0001;
// Relative rounding that sums of move times carry.
constexpr double kTimeRounding = 1e-9;

double TimeTolerance(double t) { return kTimeRounding * std::max(1.0, std::fabs(t)); }

// Simulation time running backward: `a` has come down to `b`.
bool TimeReachedBackward(double a, double b) { return a <= b + TimeTolerance(b); }

[[gnu::always_inline]] inline LocalPoint InsideCell(LocalPoint local) {
  return {std::clamp(local.x, kInsideLow, kInsideHigh), std::clamp(local.y, kInsideLow, kInsideHigh),
          std::clamp(local.z, kInsideLow, kInsideHigh)};
}

// The first multiple of `interval` after `time` (infinite for no interval).
double NextMultiple(double time, double interval) {
  if (!(interval > 0)) return std::numeric_limits<double>::infinity();
  return (std::floor((time + kStepEndSlack) / interval) + 1) * interval;
}

// Moves one local coordinate across its faces. Only the exit axis changes
// cell; on the other axes the coordinate is kept just inside.
void CrossAxis(float& local, std::int16_t& index, bool exitAxis, int lowStep) {
  if (local <= kInsideLow) {
    if (exitAxis) {
      index = static_cast<std::int16_t>(index - lowStep);
      local = kInsideHigh;
    } else {
      local = kInsideLow;
    }
  } else if (local >= kInsideHigh) {
    if (exitAxis) {
      index = static_cast<std::int16_t>(index + lowStep);
      local = kInsideLow;
    } else {
      local = kInsideHigh;
    }
  }
}

template <typename... Values>
bool AllFinite(Values... values) {
  return (std::isfinite(values) && ...);
}

// The face a particle leaves through: ties go to the later axis (layer
// before row before column).
int ExitAxis(double dtx, double dty, double dtz) {
  int axis = 1;
  if (dty <= dtx && dty <= dtz) axis = 2;
  if (dtz <= dtx && dtz <= dty) axis = 3;
  return axis;
}

// True when water leaves a cell of these face velocities through none of
// its faces, in the tracking direction.
bool NoExitFace(const FaceVelocities& f, int direction) {
  const double d = direction;
  return !(d * f.VX1 < 0 || d * f.VX2 > 0 || d * f.VY1 < 0 || d * f.VY2 > 0 || d * f.VZ1 < 0 || d * f.VZ2 > 0);
}

class ParticleMover {
 public:
  ParticleMover(const PassContext& context, int number, ParticleRecord& particle, ParticleProgress& progress,
                TrackObserver& observer)
      : c_(context),
        state_(context.state),
        number_(number),
        particle_(particle),
        track_(particle.State(context.direction)),
        progress_(progress),
        observer_(observer) {}

  PassOutcome Run() {
    if (track_.stopped || (c_.replay && !track_.released)) return outcome_;
    ReportRelease();
    if (const std::optional<TrackEnd> end = StopAtRelease()) {
      outcome_.end = Stop(*end);
      observer_.ParticleEnd(number_, c_.direction, track_, outcome_.end);
      return outcome_;
    }
    const double stepLength = c_.tracking.StepLength;
    nextStepTime_ = NextMultiple(track_.time, stepLength);
    nextMarkTime_ = NextMultiple(track_.time, stepLength * c_.tracking.MarkInterval);
    nextTimePoint_ = FirstTimePointAfter(track_.time);
    std::optional<TrackEnd> end;
    while (!(end = CheckBeforeMove()) && !(end = Move())) {
    }
    outcome_.end = *end;
    observer_.ParticleEnd(number_, c_.direction, track_, *end);
    return outcome_;
  }

 private:
  // The release point, once per run, before anything can end the
  // particle's tracking: every pathline starts with it, even one that
  // cannot move.
  void ReportRelease() {
    const CellIndex cell = track_.cell;
    if (progress_.releaseReported || track_.time != 0 || !state_.Shape().Contains(cell.column, cell.row, cell.layer))
      return;
    progress_.releaseReported = true;
    track_.released = true;
    const LocalPoint local = InsideCell(track_.local);
    const CellRecord& record = RecordOf(cell);
    observer_.ReleasePoint(number_, c_.direction, {GlobalPoint(cell, local, record), local.z, cell, 0});
  }

  // A particle released in a sink (backward: source) cell that holds it
  // stops at its release point before it moves.
  std::optional<TrackEnd> StopAtRelease() {
    const CellIndex cell = track_.cell;
    if (track_.time != 0 || !(cell == particle_.startCell) || !(track_.local == particle_.startLocal) ||
        !state_.Shape().Contains(cell.column, cell.row, cell.layer))
      return std::nullopt;
    const CellRecord& record = RecordOf(cell);
    if (!record.flowCell) return std::nullopt;
    return SinkStop(cell, record);
  }

  // Fixed-head cells take part in the tracking as any other cell when each
  // cell's faces carry its own flows: their head holds water in or out, so
  // that they are sinks or sources by the balance of their faces.
  bool FixedHeadTracked(const CellRecord& record) const {
    return c_.tracking.FaceVelocities == FaceVelocityRule::OwnCell && record.ibound < 0;
  }

  // True when more water enters a tracked fixed-head cell through its faces
  // than leaves it, in the tracking direction: its head takes water out.
  bool FixedHeadSink(CellIndex cell, const CellRecord& record) const {
    if (!FixedHeadTracked(record)) return false;
    const int j = cell.column, i = cell.row;
    const FaceVelocities& f = record.faces;
    const double thickness = record.saturatedThickness;
    const double inflow = (static_cast<double>(f.VX1) - f.VX2) * thickness * state_.DELC[i] +
                          (static_cast<double>(f.VY1) - f.VY2) * thickness * state_.DELR[j] +
                          (static_cast<double>(f.VZ1) - f.VZ2) * state_.DELR[j] * state_.DELC[i];
    return c_.direction * inflow > 0;
  }

  // The stop of a particle in a sink (backward: source) cell: always where
  // water leaves the cell through no face, else by the weak cell rule of
  // the direction.
  std::optional<TrackEnd> SinkStop(CellIndex cell, const CellRecord& record) {
    const bool sink = StopsParticle(record.sinkCode, c_.direction) || FixedHeadSink(cell, record);
    if (!sink) return std::nullopt;
    if (NoExitFace(record.faces, c_.direction)) return TrackEnd::NoExitFromSink;
    const WeakCellRule rule = c_.direction > 0 ? c_.tracking.WeakSinks : c_.tracking.WeakSources;
    if (rule == WeakCellRule::Stop) return TrackEnd::EnteredSinkCell;
    return std::nullopt;
  }

  PlanPoint GlobalPoint(CellIndex cell, LocalPoint local, const CellRecord& record) const {
    const int j = cell.column, i = cell.row;
    return {state_.XEDGE[j - 1] + local.x * static_cast<double>(state_.DELR[j]),
            state_.YEDGE[i - 1] + local.y * static_cast<double>(state_.DELC[i]),
            record.bottom + local.z * record.thickness};
  }

  double SimulationTime(double particleTime) const {
    return c_.releaseTime + c_.direction * particleTime;
  }

  bool AtWindowEnd(double particleTime) const {
    const double simulationTime = SimulationTime(particleTime);
    return c_.direction > 0 ? TimeReached(simulationTime, c_.window.T1)
                            : TimeReachedBackward(simulationTime, c_.window.T0);
  }

  std::optional<TrackEnd> CheckBeforeMove() {
    if (c_.eventPump) c_.eventPump->ProcessEvents();
    if (c_.breakRequested && c_.breakRequested->load(std::memory_order_relaxed)) return TrackEnd::RunBroken;
    if (c_.singleStep && progress_.stepDone) return TrackEnd::StepDone;
    if (c_.windowActive && !ParticleInTimeWindow(SimulationTime(track_.time), c_.direction, c_.window))
      return TrackEnd::OutsideWindow;
    if (TimeReached(track_.time, progress_.stopTime)) return TrackEnd::ReachedStopTime;
    return std::nullopt;
  }

  TrackEnd Stop(TrackEnd end) {
    track_.stopped = true;
    return end;
  }

  TrackEnd Fault(CellIndex cell, bool beeps) {
    outcome_.faultCell = cell;
    outcome_.faultBeeps = beeps;
    return TrackEnd::ThicknessFault;
  }

  std::size_t FirstTimePointAfter(double time) const {
    const std::vector<double>& points = c_.tracking.TimePoints;
    std::size_t next = 0;
    while (next < points.size() && TimeReached(time, points[next])) ++next;
    return next;
  }

  std::optional<double> NextTimePoint() const {
    const std::vector<double>& points = c_.tracking.TimePoints;
    if (nextTimePoint_ >= points.size()) return std::nullopt;
    return points[nextTimePoint_];
  }

  // The particle time at the end of a move of `dt`: clipped to the end of
  // the loaded time step, to the next time point, to the tracking-step end
  // and to the run's stop time, whichever comes first.
  double TimeAfterMove(double dt) {
    const double time = track_.time;
    if (c_.windowActive) {
      const double simulationTime = SimulationTime(time);
      if (c_.direction > 0 && TimeReached(simulationTime + dt, c_.window.T1)) dt = c_.window.T1 - simulationTime;
      if (c_.direction < 0 && TimeReachedBackward(simulationTime - dt, c_.window.T0)) dt = simulationTime - c_.window.T0;
    }
    const std::optional<double> timePoint = NextTimePoint();
    const double end = StepClippedTime(timePoint && TimeReached(time + dt, *timePoint) ? *timePoint : time + dt);
    atTimePoint_ = timePoint && TimeReached(end, *timePoint);
    return end;
  }

  double StepClippedTime(double newTime) {
    const bool stopTimeFirst = !TimeReached(progress_.stopTime, nextStepTime_);
    if (stopTimeFirst && TimeReached(newTime, progress_.stopTime)) return progress_.stopTime;
    if (TimeReached(newTime, nextStepTime_)) {
      progress_.stepDone = true;
      const double stepEnd = nextStepTime_;
      nextStepTime_ += c_.tracking.StepLength;
      return stepEnd;
    }
    return newTime;
  }

  std::optional<TrackEnd> Move() {
    const CellIndex cell = track_.cell;
    const int j = cell.column, i = cell.row, k = cell.layer;
    if (!state_.Shape().Contains(j, i, k)) return Stop(TrackEnd::LeftGrid);
    const CellRecord& record = RecordOf(cell);
    if (record.saturatedThickness <= 0 && record.flowCell) return Fault(cell, true);
    const double dz = record.thickness;
    const LocalPoint local = InsideCell(track_.local);
    const double xlow = state_.XEDGE[j - 1], ylow = state_.YEDGE[i - 1], zlow = record.bottom;
    const double delr = state_.DELR[j], delc = state_.DELC[i];
    const PlanPoint old = GlobalPoint(cell, local, record);

    // Backward tracking is forward tracking in the reversed field; a
    // retarded solute moves slower than the water by its retardation factor.
    const FaceVelocities& f = record.faces;
    const double scale = c_.direction / static_cast<double>(particle_.Retardation);
    const double vx1 = f.VX1 * scale, vx2 = f.VX2 * scale;
    const double vy1 = f.VY1 * scale, vy2 = f.VY2 * scale;
    const double vz1 = f.VZ1 * scale, vz2 = f.VZ2 * scale;
    const double ax = (vx2 - vx1) / delr, ay = (vy2 - vy1) / delc, az = (vz2 - vz1) / dz;
    const double vx = vx1 + ax * (old.X - xlow), vy = vy1 + ay * (old.Y - ylow), vz = vz1 + az * (old.Z - zlow);
    // NaN compares false everywhere and infinities give NaN times: either
    // would keep the particle in endless moves that go nowhere.
    if (!AllFinite(vx1, vx2, vy1, vy2, vz1, vz2, ax, ay, az, vx, vy, vz)) return Stop(TrackEnd::NoFiniteVelocity);
    PrefetchNeighbours(cell, vx, vy, vz);
    // The top face is the saturated top: a particle never rises above the
    // water table of an unconfined cell.
    // The high faces lie one cell width from the low ones, as the local
    // coordinates count, so that a particle reaching a face has local 1.
    const double dtx = ExitTime(vx1, vx2, ax, xlow, xlow + delr, vx, old.X).dt;
    const double dty = ExitTime(vy1, vy2, ay, ylow, ylow + delc, vy, old.Y).dt;
    const double dtz = ExitTime(vz1, vz2, az, zlow, zlow + dz, vz, old.Z).dt;
    if (dtx >= kNoExit && dty >= kNoExit && dtz >= kNoExit) return Stop(TrackEnd::CannotLeaveCell);
    const int exitAxis = ExitAxis(dtx, dty, dtz);

    const double newTime = TimeAfterMove(std::min({dtx, dty, dtz}));
    const double dt = newTime - track_.time;
    if (!std::isfinite(dt)) return Stop(TrackEnd::NoFiniteVelocity);
    if (!(dt > 0)) return TrackEnd::NoTimeLeft;
    const PlanPoint next{PositionAfter(old.X, vx, ax, dt), PositionAfter(old.Y, vy, ay, dt),
                         PositionAfter(old.Z, vz, az, dt)};
    if (!AllFinite(next.X, next.Y, next.Z)) return Stop(TrackEnd::NoFiniteVelocity);
    observer_.Segment({number_, c_.direction, {old.X, old.Y, track_.lastElevation}, next, cell, newTime,
                       particle_.ParticleColor});
    track_.lastElevation = static_cast<float>(next.Z);
    track_.time = newTime;
    outcome_.moved = true;
    DrawMarks(old, next);

    LocalPoint moved{static_cast<float>((next.X - xlow) / delr), static_cast<float>((next.Y - ylow) / delc),
                     static_cast<float>((next.Z - zlow) / dz)};
    if (atTimePoint_) {
      ++nextTimePoint_;
      observer_.TimePointReached(number_, c_.direction, {next, InsideCell(moved).z, cell, newTime},
                                 static_cast<int>(nextTimePoint_));
    }
    return Arrive(cell, moved, exitAxis, next);
  }

  // The record of a cell of the grid; the cell a move entered is asked for
  // again by the next move.
  const CellRecord& RecordOf(CellIndex cell) {
    if (!(cell == heldCell_)) {
      held_ = &c_.cells.At(cell.column, cell.row, cell.layer, scratch_);
      heldCell_ = cell;
    }
    return *held_;
  }

  // The cells the particle can move on to, one across each axis on the side
  // it moves towards (layers count downward). Most moves cross into another
  // cell, whose record is rarely in the processor's cache on a large grid.
  [[gnu::always_inline]] void PrefetchNeighbours(CellIndex cell, double vx, double vy, double vz) const {
    c_.cells.Prefetch(cell.column + (vx < 0 ? -1 : 1), cell.row, cell.layer);
    c_.cells.Prefetch(cell.column, cell.row + (vy < 0 ? -1 : 1), cell.layer);
    c_.cells.Prefetch(cell.column, cell.row, cell.layer + (vz < 0 ? 1 : -1));
  }

  void DrawMarks(const PlanPoint& old, const PlanPoint& next) {
    const TrackingSettings& t = c_.tracking;
    if ((t.MarkOnTopView || t.MarkOnXsections) && TimeReached(track_.time, nextMarkTime_)) {
      // One mark per move, however many mark times it passed.
      nextMarkTime_ += t.MarkInterval * t.StepLength;
      observer_.TimeMark(number_, c_.direction, old, next);
    }
    if (c_.direction < 0 && track_.cell == particle_.startCell && track_.local == particle_.startLocal)
      observer_.DirectionMark(number_, next, old);
  }

  // Crosses the faces the move reached, stores the new position and applies
  // the stop rules.
  std::optional<TrackEnd> Arrive(CellIndex cell, LocalPoint moved, int exitAxis, const PlanPoint& point) {
    CellIndex next = cell;
    LocalPoint local = moved;
    CrossAxis(local.x, next.column, exitAxis == 1, 1);
    CrossAxis(local.y, next.row, exitAxis == 2, 1);
    // Layers count downward: leaving through the bottom enters layer K+1.
    CrossAxis(local.z, next.layer, exitAxis == 3, -1);
    if (next.layer < 1 || next.layer > state_.NLAY) {
      // Out through the top of the first or the bottom of the last layer:
      // the exit point is the last of its cell.
      track_.local = InsideCell(moved);
      observer_.PointReached(number_, c_.direction, {point, std::clamp(moved.z, 0.0f, 1.0f), cell, track_.time});
      return Stop(TrackEnd::LeftGrid);
    }
    const bool crossed = !(next == cell);
    if (crossed && justCrossed_ && next == cameFrom_) {
      // Straight back through the face it came in by: the velocities on the
      // two sides of that face point at each other (recharge or
      // evapotranspiration assigned to one side only), a sink on the face
      // that would otherwise hold the particle in endless tiny moves.
      track_.local = InsideCell(moved);
      observer_.PointReached(number_, c_.direction, {point, track_.local.z, cell, track_.time});
      return Stop(TrackEnd::CannotLeaveCell);
    }
    justCrossed_ = crossed;
    cameFrom_ = cell;
    track_.cell = next;
    track_.local = local;
    const GridShape grid = state_.Shape();
    if (!grid.Contains(next.column, next.row, next.layer)) {
      observer_.PointReached(number_, c_.direction, {point, local.z, cell, track_.time});
      return Stop(TrackEnd::LeftGrid);
    }
    const CellRecord& record = RecordOf(next);
    const double cellZ = record.bottom + local.z * record.thickness;
    const std::optional<CellIndex> left = crossed ? std::optional(cell) : std::nullopt;
    observer_.PointReached(number_, c_.direction,
                           {point, local.z, next, track_.time, cellZ, left, std::clamp(moved.z, 0.0f, 1.0f)});
    if (next.layer != cell.layer && record.flowCell && record.top - record.bottom <= 0) return Fault(next, false);
    if (record.ibound == 0 || (record.ibound < 0 && !FixedHeadTracked(record)))
      return Stop(TrackEnd::EnteredInactiveCell);
    if (const std::optional<TrackEnd> end = SinkStop(next, record)) return Stop(*end);
    if (c_.windowActive && AtWindowEnd(track_.time)) return TrackEnd::WindowEnd;
    if (c_.singleStep && progress_.stepDone) return TrackEnd::StepDone;
    return std::nullopt;
  }

  const PassContext& c_;
  const ModelState& state_;
  const int number_;
  ParticleRecord& particle_;
  TrackState& track_;
  ParticleProgress& progress_;
  TrackObserver& observer_;
  double nextStepTime_ = 0;
  double nextMarkTime_ = 0;
  std::size_t nextTimePoint_ = 0;  // into the tracking's time points
  bool atTimePoint_ = false;       // the move under way ends at the next time point
  bool justCrossed_ = false;  // the last move entered the current cell from cameFrom_
  CellIndex cameFrom_;
  CellIndex heldCell_;  // the cell of held_; none (0, 0, 0) at first
  const CellRecord* held_ = nullptr;
  CellRecord scratch_;  // a record another thread is still storing
  PassOutcome outcome_;
};

}  // namespace

bool TimeReached(double a, double b) { return a >= b - TimeTolerance(b); }

bool ParticleInTimeWindow(double simulationTime, int direction, const TimeWindow& window) {
  if (direction > 0) return TimeReached(simulationTime, window.T0) && !TimeReached(simulationTime, window.T1);
  return TimeReachedBackward(simulationTime, window.T1) && !TimeReachedBackward(simulationTime, window.T0);
}

PassOutcome TrackParticlePass(const PassContext& context, int number, ParticleRecord& particle,
                              ParticleProgress& progress, TrackObserver& observer) {
  return ParticleMover(context, number, particle, progress, observer).Run();
}

}  // namespace kestra
