// Flow fields a damaged run can leave behind: NaN or infinite flows end the
// particle with a reason instead of moving it for ever, and a particle in a
// dry cell keeps an elevation inside its cell.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tracking/endpoint_table.h"
#include "tracking_models.h"

namespace kestra {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// Five cells along a row with water flowing towards higher columns; the
// flow across one face is replaced by `badFlow`.
struct DamagedRow : test::TrackingFixture {
  explicit DamagedRow(float badFlow) : TrackingFixture(test::BoxModel(5, 1, 1, 10, 10, 10, 0.25f)) {
    test::SetUniformFlow(state, 1, 1.0f);
    state.QRIGHT(3, 1, 1) = badFlow;
    tracking.StepLength = 1000;
    tracking.MaximumSteps = 100;
    Add(1, 1, 1, 0.5f, 0.5f, 0.5f);
  }
};

TEST(TrackingGuards, NonFiniteFaceFlowsStopTheParticleWithAReason) {
  for (const float bad : {kNaN, kInfinity, -kInfinity}) {
    SCOPED_TRACE(bad);
    DamagedRow run(bad);
    run.Run(TrackMode::ForwardRun);
    ASSERT_EQ(run.observer.ends.size(), 1u);
    EXPECT_EQ(run.observer.ends[0].end, TrackEnd::NoFiniteVelocity);
    EXPECT_TRUE(run.Forward().stopped);
    // It moved with the sound flow up to the damaged cell and no further.
    EXPECT_EQ(run.Forward().cell.column, 3);
    for (const TrackSegment& segment : run.observer.segments) {
      EXPECT_TRUE(std::isfinite(segment.to.X) && std::isfinite(segment.to.Y) && std::isfinite(segment.to.Z));
      EXPECT_TRUE(std::isfinite(segment.time));
    }
    // A second run leaves the stopped particle where it is.
    const std::size_t segments = run.observer.segments.size();
    run.Run(TrackMode::ForwardRun);
    EXPECT_EQ(run.observer.segments.size(), segments);
    EXPECT_EQ(run.Forward().cell.column, 3);
  }
}

TEST(TrackingGuards, BackwardRunsAndOtherParticlesAreNotHeldUp) {
  DamagedRow run(kNaN);
  run.Add(5, 1, 1, 0.5f, 0.5f, 0.5f);  // downstream of the damage, against the closed east edge
  run.Run(TrackMode::ForwardRun);
  run.Run(TrackMode::BackwardRun);
  ASSERT_EQ(run.observer.ends.size(), 4u);
  EXPECT_EQ(run.observer.ends[0].end, TrackEnd::NoFiniteVelocity);
  EXPECT_EQ(run.observer.ends[1].end, TrackEnd::CannotLeaveCell);
  EXPECT_EQ(run.observer.ends[2].end, TrackEnd::CannotLeaveCell);   // particle 1 back to the closed west edge
  EXPECT_EQ(run.observer.ends[3].end, TrackEnd::NoFiniteVelocity);  // particle 2 back into the damage
  EXPECT_EQ(run.Forward(2).cell.column, 5);
  EXPECT_EQ(run.Backward(2).cell.column, 4);
}

TEST(TrackingGuards, TheEndPointTableNamesTheReason) {
  DamagedRow run(kInfinity);
  EndpointCollector endpoints(run.state, run.particles.ParticleCount());
  run.RunInto(endpoints, TrackMode::ForwardRun);
  ASSERT_EQ(endpoints.Endpoints().size(), 1u);
  const std::string line = EndpointCsvLine(endpoints.Endpoints().front());
  EXPECT_TRUE(line.ends_with(",its cell has no finite velocity")) << line;
}

// An unconfined top layer (bottom 10, top 20) whose cell (2, 1) went dry: its
// head is HDRY and the head reader made it inactive.
struct DryCell : test::TrackingFixture {
  DryCell() : TrackingFixture(test::BoxModel(3, 1, 2, 10, 10, 10, 0.25f)) {
    state.LAYCON[1] = 1;
    for (int j = 1; j <= 3; ++j) {
      state.HEAD(j, 1, 1) = 16;
      state.HEAD(j, 1, 2) = 16;
    }
    state.HEAD(2, 1, 1) = settings.HDRY;
    state.IBOUND(2, 1, 1) = 0;
    Add(2, 1, 1, 0.5f, 0.5f, 0.5f);
  }
};

TEST(TrackingGuards, AParticleInADryCellLiesBetweenTheCellsBottomAndTop) {
  DryCell run;
  run.Run(TrackMode::ForwardRun);
  ASSERT_EQ(run.observer.releases.size(), 1u);
  EXPECT_FLOAT_EQ(static_cast<float>(run.observer.releases[0].point.point.Z), 15);
  ASSERT_EQ(run.observer.ends.size(), 1u);
  EXPECT_TRUE(run.Forward().stopped);
  EXPECT_TRUE(run.observer.segments.empty());
}

TEST(TrackingGuards, AWetCellOfTheSameLayerStillUsesItsWaterTable) {
  DryCell run;
  run.Add(1, 1, 1, 0.5f, 0.5f, 0.5f);
  run.Run(TrackMode::ForwardRun);
  ASSERT_EQ(run.observer.releases.size(), 2u);
  EXPECT_FLOAT_EQ(static_cast<float>(run.observer.releases[1].point.point.Z), 13);  // halfway from 10 to the head 16
}

}  // namespace
}  // namespace kestra
