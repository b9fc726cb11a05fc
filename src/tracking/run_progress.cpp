#include "tracking/run_progress.h"

#include <algorithm>

namespace kestra {

void ObserverFanOut::ReleasePoint(int particle, int direction, const PathPoint& point) {
  for (TrackObserver* o : observers_) o->ReleasePoint(particle, direction, point);
}

void ObserverFanOut::Segment(const TrackSegment& segment) {
  for (TrackObserver* o : observers_) o->Segment(segment);
}

void ObserverFanOut::PointReached(int particle, int direction, const PathPoint& point) {
  for (TrackObserver* o : observers_) o->PointReached(particle, direction, point);
}

void ObserverFanOut::TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) {
  for (TrackObserver* o : observers_) o->TimeMark(particle, direction, from, to);
}

void ObserverFanOut::DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) {
  for (TrackObserver* o : observers_) o->DirectionMark(particle, from, to);
}

void ObserverFanOut::ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) {
  for (TrackObserver* o : observers_) o->ParticleEnd(particle, direction, state, end);
}

std::string RunHint(int direction, int particleCount) {
  return std::string(direction > 0 ? "Tracking forward: " : "Tracking backward: ") + std::to_string(particleCount) +
         (particleCount == 1 ? " particle" : " particles") + " (Esc stops)";
}

RunProgress::RunProgress(UserInterface& ui, int particleCount, int direction) : ui_(ui), count_(particleCount) {
  ui_.SetHint(RunHint(direction, count_));
  ui_.SetMeter(percent_);
}

RunProgress::~RunProgress() {
  ui_.SetMeter(0);
  ui_.SetHint("");
}

void RunProgress::ParticleEnd(int particle, int, const TrackState&, TrackEnd) {
  if (count_ <= 0) return;
  // The meter shows at least 1 %, so that it stays visible.
  const int percent = std::clamp(particle * 100 / count_, 1, 100);
  if (percent == percent_) return;
  percent_ = percent;
  ui_.SetMeter(percent);
}

}  // namespace kestra
