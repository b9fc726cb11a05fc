// Small hand-built models for the tracking tests: a box of equal cells with
// flows set directly, and an observer that records what the engine reports.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "support/recording_interface.h"
#include "tracking/particle_set.h"
#include "tracking/pathline_writer.h"
#include "tracking/track_observer.h"
#include "tracking/track_particles.h"

namespace kestra::test {

// An active, confined box of ncol x nrow x nlay cells of delr x delc x
// thickness, layer 1 on top with its bottom at (nlay - 1) * thickness, heads
// 0, flow terms loaded, no flow.
inline ModelState BoxModel(int ncol, int nrow, int nlay, float delr, float delc, float thickness, float porosity) {
  ModelState state;
  DimensionModel(state, ncol, nrow, nlay);
  for (int j = 1; j <= ncol; ++j) state.DELR[j] = delr;
  for (int i = 1; i <= nrow; ++i) state.DELC[i] = delc;
  ComputeGridGeometry(state);
  for (int k = 1; k <= nlay; ++k)
    for (int i = 1; i <= nrow; ++i)
      for (int j = 1; j <= ncol; ++j) {
        state.IBOUND(j, i, k) = 1;
        state.TOP(j, i, k) = thickness * static_cast<float>(nlay - k + 1);
        state.BOT(j, i, k) = thickness * static_cast<float>(nlay - k);
        state.POROSITY(j, i, k) = porosity;
      }
  state.IBOUND0 = state.IBOUND;
  state.ModelPath = "box.mdl";
  state.flowTermsLoaded = true;
  return state;
}

// Flows that give the pore velocity `v` (model length per time) along the
// rows (axis 1), the columns (axis 2) or downward (axis 3) in every cell of
// the box.
inline void SetUniformFlow(ModelState& state, int axis, float v) {
  for (int k = 1; k <= state.NLAY; ++k)
    for (int i = 1; i <= state.NROW; ++i)
      for (int j = 1; j <= state.NCOL; ++j) {
        const float n = state.POROSITY(j, i, k);
        const float b = state.TOP(j, i, k) - state.BOT(j, i, k);
        if (axis == 1) state.QRIGHT(j, i, k) = v * n * state.DELC[i] * b;
        if (axis == 2) state.QFRONT(j, i, k) = v * n * state.DELR[j] * b;
        if (axis == 3) state.QLOWER(j, i, k) = v * n * state.DELR[j] * state.DELC[i];
      }
}

struct RecordedEnd {
  int particle;
  int direction;
  TrackState state;
  TrackEnd end;
};

struct RecordedPoint {
  int particle;
  int direction;
  PathPoint point;
};

// Keeps everything the engine reports.
class RecordingObserver : public TrackObserver {
 public:
  void ReleasePoint(int particle, int direction, const PathPoint& point) override {
    releases.push_back({particle, direction, point});
  }
  void Segment(const TrackSegment& segment) override { segments.push_back(segment); }
  void PointReached(int particle, int direction, const PathPoint& point) override {
    points.push_back({particle, direction, point});
  }
  void TimeMark(int particle, int, const PlanPoint&, const PlanPoint& to) override {
    markParticles.push_back(particle);
    markPoints.push_back(to);
  }
  void DirectionMark(int particle, const PlanPoint&, const PlanPoint&) override { directionMarks.push_back(particle); }
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override {
    ends.push_back({particle, direction, state, end});
  }

  std::vector<RecordedPoint> releases;
  std::vector<TrackSegment> segments;
  std::vector<RecordedPoint> points;
  std::vector<int> markParticles;
  std::vector<PlanPoint> markPoints;
  std::vector<int> directionMarks;
  std::vector<RecordedEnd> ends;
};

// A loader that counts its calls and lets the test set the flow field of
// each time step.
class ScriptedLoader : public TimeStepLoader {
 public:
  using FieldSetter = void (*)(ModelState&);
  explicit ScriptedLoader(FieldSetter setField = nullptr) : setField_(setField) {}
  bool LoadFlowField(ModelState& state) override {
    loads.push_back({state.CurrentPeriod, state.CurrentStep});
    if (setField_) setField_(state);
    state.flowTermsLoaded = true;
    return true;
  }
  void RestoreTimeStep(ModelState& state) override {
    restores.push_back({state.CurrentPeriod, state.CurrentStep});
    LoadFlowField(state);
  }
  bool ReloadFlowTerms(ModelState& state) override {
    ++reloads;
    return LoadFlowField(state);
  }
  struct StepId {
    int period;
    int step;
    bool operator==(const StepId&) const = default;
  };
  bool HoldsFlowField(const ModelState& state) override {
    return std::find(held.begin(), held.end(), StepId{state.CurrentPeriod, state.CurrentStep}) != held.end();
  }
  std::vector<StepId> held;  // steps over which the run keeps the field loaded last
  std::vector<StepId> loads;
  std::vector<StepId> restores;
  int reloads = 0;

 private:
  FieldSetter setField_;
};

// A model with its settings, particles and a recording observer, ready to
// run the engine; tracking steps are long and one per run unless a test
// says otherwise.
struct TrackingFixture {
  explicit TrackingFixture(ModelState model) : state(std::move(model)) {
    tracking.StepLength = 1e6;
    tracking.MaximumSteps = 1;
  }

  // Tracking steps of `length`, at most `maximum` of them per run.
  void Steps(double length, int maximum) {
    tracking.StepLength = length;
    tracking.MaximumSteps = maximum;
  }

  void Add(int j, int i, int k, float x, float y, float z) {
    ASSERT_TRUE(AddParticle(particles, {static_cast<std::int16_t>(j), static_cast<std::int16_t>(i),
                                        static_cast<std::int16_t>(k)},
                            {x, y, z}, 0, ui));
  }

  // A run of the fixture's model and particles that reports to `target`.
  TrackingRun RunFor(TrackObserver& target, int threads = 1) {
    return {state, settings, tracking, periods, particles, busy, ui, target, loader, control, threads};
  }

  void Run(TrackMode mode, TrackKind kind = TrackKind::Interactive, int threads = 1) {
    TrackingRun run = RunFor(observer, threads);
    TrackParticles(run, mode, kind);
  }

  // Tracks into `target` instead of the recording observer.
  void RunInto(TrackObserver& target, TrackMode mode, int threads = 1) {
    TrackingRun run = RunFor(target, threads);
    TrackParticles(run, mode, TrackKind::Interactive);
  }

  // Retraces all particles into `target`, as the pathline export does.
  void Replay(TrackObserver& target) {
    TrackingRun run = RunFor(target);
    ReplayParticles(run);
  }

  const TrackState& Forward(int n = 1) const { return particles.Particles[n - 1].forward; }
  const TrackState& Backward(int n = 1) const { return particles.Particles[n - 1].backward; }

  ModelState state;
  Settings settings;
  TrackingSettings tracking;
  StressPeriods periods;
  ParticleSet particles;
  BusyFlags busy;
  RecordingInterface ui;
  RecordingObserver observer;
  ScriptedLoader loader;
  RunControl control;
};

// The pathline file a replay of the fixture's particles writes.
inline std::string Replayed(TrackingFixture& f) {
  std::ostringstream text;
  PathlineWriter writer(text, f.state.YEDGE[f.state.NROW]);
  f.Replay(writer);
  return text.str();
}

}  // namespace kestra::test
