#include "tracking/track_particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/sink_codes.h"
#include "support/recording_interface.h"
#include "tracking/parallel_observer.h"
#include "tracking/time_steps.h"
#include "tracking_models.h"

namespace kestra {
namespace {

using test::BoxModel;
using test::RecordingObserver;
using test::ScriptedLoader;
using test::SetUniformFlow;
using test::TrackingFixture;

// Face velocities are 32-bit floats: times and positions derived from them
// agree with the closed forms to about 1e-6 relative.
constexpr double kFloatRelative = 2e-6;

// A row of ten 10 m cells along `axis` with pore velocity 0.25, the last
// cell fixed head.
ModelState UniformChannel(int axis, float velocity = 0.25f) {
  const int n = 10;
  ModelState state = BoxModel(axis == 1 ? n : 3, axis == 2 ? n : 3, axis == 3 ? n : 1, 10, 10, 10, 0.25f);
  SetUniformFlow(state, axis, velocity);
  for (int a = 1; a <= 3; ++a)
    for (int b = 1; b <= 3; ++b) {
      if (axis == 1) state.IBOUND(n, a, 1) = -1;
      if (axis == 2) state.IBOUND(a, n, 1) = -1;
      if (axis == 3) state.IBOUND(a, b, n) = -1;
    }
  return state;
}

TEST(TrackParticles, UniformFlowAlongEachAxisIsStraightAndTakesDelrOverVPerCell) {
  const double v = 0.25;
  for (int axis = 1; axis <= 3; ++axis) {
    SCOPED_TRACE(axis);
    TrackingFixture f(UniformChannel(axis));
    // The second cell along the axis: the first has a closed face at the
    // grid edge, so its flow is not uniform.
    f.Add(2, 2, axis == 3 ? 2 : 1, 0.5f, 0.5f, 0.5f);
    f.Run(TrackMode::ForwardRun);

    // Half a cell, seven whole cells, then the fixed-head cell stops it.
    const TrackState& end = f.Forward();
    EXPECT_TRUE(end.stopped);
    EXPECT_NEAR(end.time, 7.5 * 10 / v, 7.5 * 10 / v * kFloatRelative);
    ASSERT_EQ(f.observer.segments.size(), 8u);
    for (std::size_t n = 1; n < f.observer.segments.size(); ++n) {
      const TrackSegment& s = f.observer.segments[n];
      EXPECT_NEAR(s.time - f.observer.segments[n - 1].time, 10 / v, 10 / v * kFloatRelative);
      // Straight: the two other coordinates never change.
      if (axis != 1) {
        EXPECT_DOUBLE_EQ(s.to.X, 15);
      }
      if (axis != 2) {
        EXPECT_DOUBLE_EQ(s.to.Y, 15);
      }
      if (axis != 3) {
        EXPECT_NEAR(s.to.Z, 5, 1e-5);
      }
    }
    EXPECT_EQ(f.observer.ends.back().end, TrackEnd::NoExitFromSink);
    const CellIndex expected = axis == 1 ? CellIndex{10, 2, 1} : axis == 2 ? CellIndex{2, 10, 1} : CellIndex{2, 2, 10};
    EXPECT_EQ(end.cell, expected);
  }
}

// Column 2 of three carries velocities 1 at its low face and 3 at its high
// face (a linear field of gradient 0.2 per metre); column 3 is fixed head.
ModelState AcceleratingCell() {
  ModelState state = BoxModel(3, 1, 1, 10, 10, 10, 0.25f);
  const float faceArea = 10 * 10 * 0.25f;
  state.QRIGHT(1, 1, 1) = 1 * faceArea;
  state.QRIGHT(2, 1, 1) = 3 * faceArea;
  state.IBOUND(3, 1, 1) = -1;
  return state;
}

TEST(TrackParticles, LinearVelocityFollowsTheExponentialSolution) {
  TrackingFixture f(AcceleratingCell());
  f.Steps(1, 100);
  f.Add(2, 1, 1, 0.1f, 0.5f, 0.5f);
  const double gradient = 0.2, v1 = 1, x0 = 1;  // particle 1 m into the cell
  const double vp = v1 + gradient * x0;
  auto analytic = [&](double t) { return 10 + (vp * std::exp(gradient * t) - v1) / gradient; };
  f.Run(TrackMode::ForwardStep);
  EXPECT_NEAR(f.observer.segments.back().to.X, analytic(1), 1e-5);
  f.Run(TrackMode::ForwardStep);
  EXPECT_NEAR(f.observer.segments.back().to.X, analytic(2), 1e-5);
  f.Run(TrackMode::ForwardRun);
  const double exitTime = std::log(3 / vp) / gradient;
  EXPECT_NEAR(f.Forward().time, exitTime, exitTime * kFloatRelative);
  EXPECT_NEAR(f.observer.segments.back().to.X, 20, 1e-5);
}

TEST(TrackParticles, ParticleInAConvergingCellStopsWithoutMoving) {
  TrackingFixture f(BoxModel(3, 1, 1, 10, 10, 10, 0.25f));
  f.state.QRIGHT(1, 1, 1) = 5;   // into column 2 from the left
  f.state.QRIGHT(2, 1, 1) = -5;  // and from the right
  f.Add(2, 1, 1, 0.3f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  EXPECT_TRUE(f.Forward().stopped);
  EXPECT_EQ(f.Forward().time, 0);
  EXPECT_TRUE(f.observer.segments.empty());
  EXPECT_EQ(f.observer.ends.back().end, TrackEnd::CannotLeaveCell);
}

TEST(TrackParticles, EqualExitTimesLeaveThroughTheLaterAxis) {
  const struct {
    int firstAxis, layers;
    CellIndex start, exit;
  } cases[] = {
      {1, 2, {2, 2, 1}, {2, 3, 1}},  // column and row tie: the row wins
      {2, 3, {2, 2, 2}, {2, 2, 3}},  // row and layer tie: the layer wins
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.firstAxis);
    TrackingFixture f(BoxModel(3, 3, c.layers, 10, 10, 10, 0.25f));
    SetUniformFlow(f.state, c.firstAxis, 0.5f);
    SetUniformFlow(f.state, c.firstAxis + 1, 0.5f);
    f.Add(c.start.column, c.start.row, c.start.layer, 0.5f, 0.5f, 0.5f);
    f.Run(TrackMode::ForwardStep);  // a step of 1e6 ends at the first stop
    ASSERT_FALSE(f.observer.points.empty());
    EXPECT_EQ(f.observer.points.front().point.cell, c.exit);
  }
}

TEST(TrackParticles, SingleStepsEndExactlyAtStepEnds) {
  TrackingFixture f(UniformChannel(1, 2.5f));  // 2.5 m per time unit: several cells per step
  f.Steps(10, 100);
  f.Add(1, 2, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardStep);
  EXPECT_EQ(f.Forward().time, 10.0);
  EXPECT_GT(f.observer.segments.size(), 2u);
  f.Run(TrackMode::ForwardStep);
  EXPECT_EQ(f.Forward().time, 20.0);
  EXPECT_FALSE(f.Forward().stopped);
}

TEST(TrackParticles, RunsEndAfterMaximumStepsAndTheNextRunContinues) {
  TrackingFixture f(UniformChannel(1, 0.01f));
  f.Steps(1, 100);
  f.Add(1, 2, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  EXPECT_EQ(f.Forward().time, 100.0);
  EXPECT_EQ(f.Forward().timeLimit, 100.0);
  f.Run(TrackMode::ForwardRun);
  EXPECT_EQ(f.Forward().time, 200.0);
  EXPECT_EQ(f.observer.ends.back().end, TrackEnd::ReachedStopTime);
}

// Moves of 5 time units at 0.1 m per time unit, marks every `interval` steps.
TEST(TrackParticles, TimeMarksFollowTheIntervalOnTheViewsThatShowThem) {
  const struct {
    double interval;
    int maximumSteps, column;
    std::int16_t onTop, onSections;
    std::vector<double> markX;  // of every mark; NaN: not checked
  } cases[] = {
      // Marks at the ends of the moves at times 10, 20 and 30.
      {2, 7, 2, -1, 0, {16, 17, 18}},
      // One move passes the mark times 2.5 and 5: one mark.
      {0.5, 1, 1, 0, -1, {NAN}},
      {1, 4, 1, 0, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval);
    TrackingFixture f(UniformChannel(1, 0.1f));
    f.Steps(5, c.maximumSteps);
    f.tracking.MarkInterval = c.interval;
    f.tracking.MarkOnTopView = c.onTop;
    f.tracking.MarkOnXsections = c.onSections;
    f.Add(c.column, 2, 1, 0.5f, 0.5f, 0.5f);
    f.Run(TrackMode::ForwardRun);
    ASSERT_EQ(f.observer.markPoints.size(), c.markX.size());
    for (std::size_t m = 0; m < c.markX.size(); ++m)
      if (!std::isnan(c.markX[m])) {
        EXPECT_NEAR(f.observer.markPoints[m].X, c.markX[m], 1e-4);
      }
  }
}

// A 2-D field that bends the pathlines: velocities grow along both axes.
ModelState BendingField() {
  ModelState state = BoxModel(6, 6, 1, 10, 10, 10, 0.3f);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      state.QRIGHT(j, i, 1) = 3.0f * static_cast<float>(j + i);
      state.QFRONT(j, i, 1) = 2.0f * static_cast<float>(j) + 0.5f * static_cast<float>(i * i);
    }
  return state;
}

TEST(TrackParticles, BackwardTrackingRetracesTheForwardPathline) {
  TrackingFixture f(BendingField());
  f.Steps(2, 10);
  f.Add(2, 2, 1, 0.3f, 0.6f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  const TrackState reached = f.Forward();
  ASSERT_FALSE(reached.stopped);
  ASSERT_GT(f.observer.points.size(), 3u);  // it crossed cells

  TrackingFixture back(BendingField());
  back.tracking = f.tracking;
  back.Add(reached.cell.column, reached.cell.row, reached.cell.layer, reached.local.x, reached.local.y,
           reached.local.z);
  back.Run(TrackMode::BackwardRun);
  const TrackState& home = back.Backward();
  EXPECT_EQ(home.time, 20.0);
  EXPECT_EQ(home.cell, (CellIndex{2, 2, 1}));
  // Each face crossing moves a particle on by 1e-6 of a cell.
  EXPECT_NEAR(home.local.x, 0.3, 1e-4);
  EXPECT_NEAR(home.local.y, 0.6, 1e-4);
  EXPECT_FALSE(back.observer.directionMarks.empty());
}

TEST(TrackParticles, ParticleLeavingThroughTheTopEndsAtItsExitPoint) {
  TrackingFixture f(BoxModel(3, 1, 2, 10, 10, 10, 0.25f));
  SetUniformFlow(f.state, 3, -0.5f);           // upward
  f.state.QET(2, 1, 1) = -0.5f * 0.25f * 100;  // evapotranspiration takes it out at the top
  f.Add(2, 1, 2, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  const TrackState& end = f.Forward();
  EXPECT_TRUE(end.stopped);
  EXPECT_EQ(f.observer.ends.back().end, TrackEnd::LeftGrid);
  // Into layer 1, then out through its top: the exit point is reported in
  // the cell it leaves, at the cell's top.
  EXPECT_EQ(end.cell, (CellIndex{2, 1, 1}));
  EXPECT_NEAR(end.local.z, 1, 1e-5);
  EXPECT_EQ(f.observer.segments.size(), 2u);
  ASSERT_EQ(f.observer.points.size(), 2u);
  const PathPoint& exit = f.observer.points.back().point;
  EXPECT_EQ(exit.cell, (CellIndex{2, 1, 1}));
  EXPECT_FLOAT_EQ(exit.localZ, 1);
  EXPECT_NEAR(exit.point.Z, 20, 1e-9);
  EXPECT_DOUBLE_EQ(exit.time, end.time);
}

TEST(TrackParticles, AFaceWhoseSidesPointAtEachOtherHoldsTheParticle) {
  // Water rises from layer 2 into layer 1, where a loss assigned to the
  // bottom face draws it down again: the face between them is a sink.
  TrackingFixture f(BoxModel(1, 1, 2, 10, 10, 10, 0.25f));
  f.state.QLOWER(1, 1, 1) = -1;
  f.state.QRECH(1, 1, 1) = -3;
  f.Add(1, 1, 2, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  EXPECT_TRUE(f.Forward().stopped);
  EXPECT_EQ(f.observer.ends.back().end, TrackEnd::CannotLeaveCell);
  EXPECT_EQ(f.Forward().cell, (CellIndex{1, 1, 1}));
  EXPECT_LT(f.observer.segments.size(), 3u);
}

// A weak sink or source in column 5 of the channel, which ends in
// fixed-head cells at the grid's edge: water leaves them through no face.
TEST(TrackParticles, TheWeakCellRuleDecidesWhetherAParticlePassesOrStays) {
  const struct {
    std::int16_t code;
    int releaseColumn, direction;
    WeakCellRule rule;
    TrackEnd end;
    int endColumn;
  } cases[] = {
      {kBoundarySink, 1, 1, WeakCellRule::Stop, TrackEnd::EnteredSinkCell, 5},
      {kBoundarySink, 1, 1, WeakCellRule::PassThrough, TrackEnd::NoExitFromSink, 10},
      // Released in a cell that holds it, it stops at its release point.
      {kOutflowCell, 5, 1, WeakCellRule::Stop, TrackEnd::EnteredSinkCell, 5},
      {kInflowCell, 5, -1, WeakCellRule::Stop, TrackEnd::EnteredSinkCell, 5},
      {kBoundarySink, 5, 1, WeakCellRule::Stop, TrackEnd::EnteredSinkCell, 5},
      {kOutflowCell, 5, 1, WeakCellRule::PassThrough, TrackEnd::NoExitFromSink, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << " released in column " << c.releaseColumn);
    TrackingFixture f(UniformChannel(1));
    f.state.SINKCODE(5, 2, 1) = c.code;
    (c.direction > 0 ? f.tracking.WeakSinks : f.tracking.WeakSources) = c.rule;
    f.Add(c.releaseColumn, 2, 1, 0.3f, 0.5f, 0.5f);
    f.Run(c.direction > 0 ? TrackMode::ForwardRun : TrackMode::BackwardRun);
    const TrackState& end = c.direction > 0 ? f.Forward() : f.Backward();
    EXPECT_EQ(end.cell.column, c.endColumn);
    EXPECT_EQ(f.observer.ends.back().end, c.end);
    if (c.endColumn != c.releaseColumn) continue;
    EXPECT_TRUE(end.stopped);
    EXPECT_EQ(end.time, 0);
    EXPECT_TRUE(f.observer.segments.empty());
    EXPECT_EQ(f.observer.releases.size(), 1u);
  }
}

TEST(TrackParticles, AStrongSinkStopsAParticleWhereItEntersWhateverTheRule) {
  // Water enters column 4 from both sides and leaves through no face.
  for (const WeakCellRule rule : {WeakCellRule::Stop, WeakCellRule::PassThrough}) {
    TrackingFixture f(UniformChannel(1));
    f.state.SINKCODE(4, 2, 1) = kOutflowCell;
    for (int i = 1; i <= 3; ++i) f.state.QRIGHT(4, i, 1) = -f.state.QRIGHT(4, i, 1);
    f.tracking.WeakSinks = rule;
    f.Add(2, 2, 1, 0.5f, 0.5f, 0.5f);
    f.Run(TrackMode::ForwardRun);
    EXPECT_EQ(f.observer.ends.back().end, TrackEnd::NoExitFromSink);
    EXPECT_EQ(f.Forward().cell, (CellIndex{4, 2, 1}));
    EXPECT_NEAR(f.Forward().local.x, 0, 1e-5) << "where it entered";
  }
}

TEST(TrackParticles, ZeroThicknessStopsTheRunAndKeepsTheTimeOfStoredMoves) {
  TrackingFixture f(UniformChannel(1, 1.0f));
  f.state.TOP(5, 2, 1) = f.state.BOT(5, 2, 1);
  f.tracking.StepLength = 1000;
  for (int n = 0; n < 2; ++n) f.Add(1, 2, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text,
            "The thickness of aquifer in cell (row, col, layer) = (2,5,1) is zero or negative. Computation stops!");
  EXPECT_EQ(f.ui.messages[0].title, kApplicationTitle);
  EXPECT_EQ(f.ui.beeps, 1);
  // The first particle stands at the face of column 5 with the time it took
  // to get there; the second never started.
  EXPECT_EQ(f.Forward(1).cell, (CellIndex{5, 2, 1}));
  EXPECT_GT(f.Forward(1).time, 0);
  EXPECT_EQ(f.Forward(1).time, f.observer.segments.back().time);
  EXPECT_EQ(f.Forward(2).time, 0);
  EXPECT_FALSE(f.busy.trackingRun);
}

TEST(TrackParticles, UnconfinedCellsStopAtTheWaterTableNotAtTheirTop) {
  // One unconfined cell, water table 4 m above its bottom, top at 10;
  // evapotranspiration draws 0.5 upward through the saturated top, none
  // enters through the bottom: a linear field of gradient 0.5 / 4.
  TrackingFixture f(BoxModel(1, 1, 1, 10, 10, 10, 0.25f));
  f.state.LAYCON[1] = 1;
  f.state.HEAD(1, 1, 1) = 4;
  f.state.QET(1, 1, 1) = -0.5f * 0.25f * 100;
  f.Add(1, 1, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  ASSERT_EQ(f.observer.segments.size(), 1u);
  EXPECT_NEAR(f.observer.segments[0].to.Z, 4, 1e-6);
  EXPECT_NEAR(f.observer.segments[0].time, std::log(0.5 / 0.25) / (0.5 / 4), 1e-5);
}

TEST(TrackParticles, ReplayRetracesToTheTimeLimitsOfTheLastRun) {
  TrackingFixture f(BendingField());
  f.Steps(3, 4);
  f.Add(2, 2, 1, 0.3f, 0.6f, 0.5f);
  f.Add(1, 1, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  f.Run(TrackMode::ForwardStep);
  const std::vector<TrackSegment> interactive = f.observer.segments;
  const TrackState reached = f.Forward(1);

  f.observer = RecordingObserver{};
  PrepareReplay(f.particles);
  f.Run(TrackMode::ForwardRun, TrackKind::Replay);
  EXPECT_EQ(f.Forward(1).time, reached.time);
  EXPECT_EQ(f.Forward(1).cell, reached.cell);
  EXPECT_EQ(f.observer.releases.size(), 2u);
  ASSERT_EQ(f.observer.segments.size(), interactive.size());
}

// Presses the stop button during the third move.
class StopButton : public RecordingObserver {
 public:
  explicit StopButton(RunControl& control) : control_(control) {}
  void Segment(const TrackSegment& segment) override {
    RecordingObserver::Segment(segment);
    if (segments.size() == 3) control_.breakRequested = true;
  }

 private:
  RunControl& control_;
};

TEST(TrackParticles, TheStopButtonEndsTheRunWithPositionAndTimeInAgreement) {
  TrackingFixture f(UniformChannel(1, 2.5f));
  f.Steps(1, 100);
  for (int n = 0; n < 2; ++n) f.Add(2, 2, 1, 0.5f, 0.5f, 0.5f);
  StopButton stop(f.control);
  f.RunInto(stop, TrackMode::ForwardRun);
  ASSERT_EQ(stop.segments.size(), 3u);
  EXPECT_EQ(f.Forward(1).time, stop.segments.back().time);
  EXPECT_EQ(f.Forward(1).timeLimit, f.Forward(1).time);
  EXPECT_EQ(f.Forward(2).time, 0);
  EXPECT_EQ(stop.ends.back().end, TrackEnd::RunBroken);
}

// Splits its work over the threads; the part that reports particle 100
// (in the second chunk) throws, as a part that runs out of memory would.
class FailingParts : public ParallelObserver {
 public:
  class Part : public TrackObserver {
   public:
    void Segment(const TrackSegment& segment) override {
      if (segment.particle == 100) throw std::runtime_error("no room for particle 100");
    }
  };
  std::unique_ptr<TrackObserver> NewPart() override { return std::make_unique<Part>(); }
  void Merge(TrackObserver&) override { ++merged; }
  int merged = 0;
};

TEST(TrackParticles, WhatAWorkerThreadThrowsReachesTheCaller) {
  for (const int threads : {1, 2, 3}) {
    TrackingFixture f(UniformChannel(1));
    for (int n = 0; n < 200; ++n) f.Add(1, 2, 1, 0.5f, 0.5f, 0.5f);
    FailingParts failing;
    EXPECT_THROW(f.RunInto(failing, TrackMode::ForwardRun, threads), std::runtime_error);
    // At most the first chunk was reported, nothing after the failing one.
    EXPECT_LE(failing.merged, 1) << threads << " threads";
  }
}

// Splits its work like the batch output: each part keeps the ends its
// particles reached, a merge takes them over in order.
class CollectingParts : public ParallelObserver {
 public:
  class Part : public TrackObserver {
   public:
    void ParticleEnd(int particle, int, const TrackState&, TrackEnd end) override { ends.push_back({particle, end}); }
    std::vector<std::pair<int, TrackEnd>> ends;
  };
  std::unique_ptr<TrackObserver> NewPart() override { return std::make_unique<Part>(); }
  void Merge(TrackObserver& part) override {
    auto& held = static_cast<Part&>(part).ends;
    ends.insert(ends.end(), held.begin(), held.end());
    held.clear();
  }
  std::vector<std::pair<int, TrackEnd>> ends;
};

TEST(TrackParticles, ASplitObserverHearsWhatAWholeOneHearsUpToTheParticleThatEndsTheRun) {
  // Particle 70, in the second chunk of particles, meets a cell without
  // thickness; the rest leave the grid.
  TrackingFixture f(UniformChannel(1, 1.0f));
  f.state.TOP(5, 3, 1) = f.state.BOT(5, 3, 1);
  for (int n = 1; n <= 100; ++n) f.Add(1, n == 70 ? 3 : 2, 1, 0.5f, 0.5f, 0.5f);
  const ParticleSet released = f.particles;
  f.Run(TrackMode::ForwardRun);
  std::vector<std::pair<int, TrackEnd>> whole;
  for (const test::RecordedEnd& end : f.observer.ends) whole.push_back({end.particle, end.end});
  ASSERT_EQ(whole.size(), 70u);
  EXPECT_EQ(whole.back(), std::make_pair(70, TrackEnd::ThicknessFault));
  for (const int threads : {1, 2}) {
    f.particles = released;
    CollectingParts split;
    f.RunInto(split, TrackMode::ForwardRun, threads);
    EXPECT_EQ(split.ends, whole) << threads << " threads";
  }
}

// Another long operation only beeps; otherwise the command reloads missing
// flow terms, which tracking alone does not, tracks and ends the run.
TEST(RunTrackingCommand, BeepsWhileBusyAndOtherwiseReloadsMissingFlowTermsBeforeItTracks) {
  TrackingFixture f(UniformChannel(1));
  f.Add(2, 2, 1, 0.5f, 0.5f, 0.5f);
  f.state.flowTermsLoaded = false;
  f.Run(TrackMode::ForwardRun);
  EXPECT_TRUE(f.observer.ends.empty()) << "the engine alone does not load missing flow terms";
  f.busy.contourDrawing = true;
  TrackingRun run = f.RunFor(f.observer);
  RunTrackingCommand(run, TrackMode::ForwardRun);
  EXPECT_EQ(f.ui.beeps, 1);
  EXPECT_EQ(f.loader.reloads, 0);
  EXPECT_TRUE(f.observer.segments.empty());
  f.busy.contourDrawing = false;
  RunTrackingCommand(run, TrackMode::ForwardRun);
  EXPECT_EQ(f.loader.reloads, 1);
  EXPECT_FALSE(f.observer.segments.empty());
  EXPECT_FALSE(f.busy.trackingRun);
}

// Two stress periods of 10 time units, one step each: the water moves 1 m
// per time unit in the first and 2 m in the second, along a channel of a
// hundred 10 m cells ending in a fixed-head cell.
void TwoSpeedField(ModelState& state) { SetUniformFlow(state, 1, state.CurrentPeriod == 1 ? 1.0f : 2.0f); }

struct TransientChannel : TrackingFixture {
  TransientChannel() : TrackingFixture(BoxModel(100, 1, 1, 10, 10, 10, 0.25f)) {
    state.IBOUND(100, 1, 1) = -1;
    TwoSpeedField(state);
    periods = {.NPER = 2, .PERLEN = {0, 10, 10}, .NSTP = {0, 1, 1}, .TSMULT = {0, 1, 1}};
    tracking.SimulationMode = 2;
    Steps(100, 1);
    loader = ScriptedLoader(TwoSpeedField);
  }
};

using StepIds = std::vector<ScriptedLoader::StepId>;

// One particle tracked through the two periods of the channel.
struct PathlineCase {
  const char* what;
  std::int16_t stopAtTimeLimit;
  std::optional<double> releaseTime;  // none: the start of the current step
  int currentPeriod;
  StepIds held;
  int column;
  TrackMode mode;
  double time;           // tracked by the run
  double endX;           // NaN: the particle never moves
  double endXTolerance;  // each face crossing moves a particle on by 1e-6 of a cell
  std::optional<StepIds> loads;
  StepIds restores;  // empty: not checked
};

TEST(PathlineMode, RunsFollowTheFlowFieldOfEachTimeStepFromTheReleaseTime) {
  const PathlineCase cases[] = {
      {"with the time limit: 10 m in the first period, 20 m in the second", -1, {}, 1, {}, 2, TrackMode::ForwardRun, 20,
       15 + 10 + 20, 1e-4, StepIds{{2, 1}, {1, 1}}, {{1, 1}}},
      {"a held step keeps the field loaded last: 1 m per time unit throughout", -1, {}, 1, {{2, 1}}, 2,
       TrackMode::ForwardRun, 20, 15 + 10 + 10, 1e-4, StepIds{{1, 1}}, {}},
      {"without the time limit on in the last field: 80 more at 2 m", 0, {}, 1, {}, 2, TrackMode::ForwardRun, 100,
       45 + 80 * 2, 19 * 1e-5 + 1e-5, {}, {}},
      {"backward from period 2 through period 1 only", -1, {}, 2, {}, 50, TrackMode::BackwardRun, 10, 495 - 10, 1e-4,
       {}, {}},
      {"backward from the first step with the time limit ends at once", -1, {}, 1, {}, 50, TrackMode::BackwardRun, 0,
       NAN, 0, StepIds{}, {}},
      {"backward from the simulation's end: 10 at 2 m, then 10 at 1 m", -1, 20, 1, {}, 50, TrackMode::BackwardRun, 20,
       495 - 20 - 10, 1e-4, StepIds{{2, 1}, {1, 1}}, {}},
      {"a release beyond the simulation with the time limit tracks nothing", -1, 20, 1, {}, 50, TrackMode::ForwardRun,
       0, NAN, 0, {}, {}},
      {"released within a step, backward: 5 time units at 2 m, then 10 at 1 m", -1, 15, 1, {}, 50,
       TrackMode::BackwardRun, 15, 495 - 10 - 10, 1e-3, {}, {}},
      {"released within a step, forward: 5 time units at 2 m, then the simulation ends", -1, 15, 1, {}, 2,
       TrackMode::ForwardRun, 5, 15 + 10, 1e-4, {}, {}},
  };
  for (const PathlineCase& c : cases) {
    SCOPED_TRACE(c.what);
    TransientChannel f;
    f.tracking.StopAtTimeLimit = c.stopAtTimeLimit;
    f.tracking.ReleaseTime = c.releaseTime;
    f.state.CurrentPeriod = c.currentPeriod;
    TwoSpeedField(f.state);
    f.loader.held = c.held;
    f.Add(c.column, 1, 1, 0.5f, 0.5f, 0.5f);
    f.Run(c.mode);
    const TrackState& end = c.mode == TrackMode::ForwardRun ? f.Forward() : f.Backward();
    if (std::isnan(c.endX)) {
      EXPECT_TRUE(f.observer.segments.empty());
      EXPECT_EQ(end.time, 0);
    } else {
      ASSERT_FALSE(f.observer.segments.empty());
      EXPECT_NEAR(end.time, c.time, 1e-9);
      EXPECT_NEAR(f.observer.segments.back().to.X, c.endX, c.endXTolerance);
      EXPECT_FALSE(end.stopped) << "a time limit or the simulation's end does not stop a particle";
    }
    if (c.loads) {
      EXPECT_EQ(f.loader.loads, *c.loads);
    }
    if (!c.restores.empty()) {
      EXPECT_EQ(f.loader.restores, c.restores);
    }
    EXPECT_EQ(f.state.CurrentPeriod, c.currentPeriod) << "the step current before the run is current again";
  }
}

TEST(PathlineMode, ParticlesAheadOfTheLoadedStepWaitForTheirOwn) {
  TransientChannel f;
  f.tracking.StopAtTimeLimit = -1;
  f.Steps(5, 3);
  f.Add(2, 1, 1, 0.5f, 0.5f, 0.5f);
  f.Add(30, 1, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);  // both to time 15: 10 at speed 1, 5 at speed 2
  EXPECT_NEAR(f.Forward(1).time, 15, 1e-9);
  EXPECT_NEAR(f.Forward(2).time, 15, 1e-9);
  f.observer = RecordingObserver{};
  f.Run(TrackMode::ForwardRun);  // from 15 to 20 in period 2 only
  EXPECT_NEAR(f.Forward(1).time, 20, 1e-9);
  EXPECT_NEAR(f.observer.segments.back().to.X, 295 + 10 + 20, 1e-4);
}

TEST(PathlineMode, AMoveEndingJustShortOfTheStepEndDoesNotHangTheRun) {
  // Step ends that sums of move times cannot hit exactly.
  TransientChannel f;
  f.periods.PERLEN = {0, 0.1f, 0.7f};
  f.periods.NSTP = {0, 3, 7};
  f.periods.TSMULT = {0, 1.1f, 1.3f};
  f.tracking.StopAtTimeLimit = -1;
  f.Steps(0.01, 1000);
  for (int j = 2; j < 40; ++j) f.Add(j, 1, 1, 0.37f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);
  EXPECT_NEAR(f.Forward(1).time, 0.8, 1e-6);
  EXPECT_EQ(f.loader.loads.size(), 10u);  // nine steps after the first, then the restore
}

}  // namespace
}  // namespace kestra
