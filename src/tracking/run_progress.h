// What a window run reports besides drawing: every engine event goes to
// several observers (the pathline drawing, the end point table), and the
// meter and hint line follow the particles as they are tracked.
#pragma once

#include <string>
#include <vector>

#include "core/user_interface.h"
#include "tracking/track_observer.h"

namespace kestra {

// Passes every event on to each observer in turn, in the order given.
class ObserverFanOut : public TrackObserver {
 public:
  explicit ObserverFanOut(std::vector<TrackObserver*> observers) : observers_(std::move(observers)) {}

  void ReleasePoint(int particle, int direction, const PathPoint& point) override;
  void Segment(const TrackSegment& segment) override;
  void PointReached(int particle, int direction, const PathPoint& point) override;
  void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) override;
  void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) override;
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override;

 private:
  std::vector<TrackObserver*> observers_;
};

// The hint line of a run in a direction (+1 forward, -1 backward).
std::string RunHint(int direction, int particleCount);

// Shows the run's hint and the meter at 1 % as the run starts, then moves
// the meter to the share of particles done as each one ends its pass; a
// pathline run goes through the particles once per time step and the meter
// follows each pass. The destructor clears the meter and the hint.
class RunProgress : public TrackObserver {
 public:
  RunProgress(UserInterface& ui, int particleCount, int direction);
  ~RunProgress() override;
  RunProgress(const RunProgress&) = delete;
  RunProgress& operator=(const RunProgress&) = delete;

  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override;

 private:
  UserInterface& ui_;
  const int count_;
  int percent_ = 1;
};

}  // namespace kestra
