// Flow fields a damaged run can leave behind: NaN or infinite flows end the
// particle with a reason instead of moving it for ever, and a particle in a
// dry cell keeps an elevation inside its cell.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

#include "tracking/endpoint_table.h"
#include "tracking/track_particles.h"
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
    Steps(1000, 100);
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

TEST(TrackingGuards, AParticleInADryCellLiesBetweenTheCellsBottomAndTopAndAWetCellUsesItsWaterTable) {
  DryCell run;
  run.Add(1, 1, 1, 0.5f, 0.5f, 0.5f);
  run.Run(TrackMode::ForwardRun);
  ASSERT_EQ(run.observer.releases.size(), 2u);
  EXPECT_FLOAT_EQ(static_cast<float>(run.observer.releases[0].point.point.Z), 15);
  EXPECT_FLOAT_EQ(static_cast<float>(run.observer.releases[1].point.point.Z), 13);  // halfway from 10 to the head 16
  ASSERT_EQ(run.observer.ends.size(), 2u);
  EXPECT_TRUE(run.Forward(1).stopped);
  EXPECT_TRUE(run.observer.segments.empty());
}

// Random flow fields: every run ends, positions stay inside their cells and
// the thread count does not change the result.
// Flows, boundary codes, water tables, recharge and evapotranspiration drawn
// from a seed that the period number varies.
void RandomField(ModelState& state, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> flow(-20, 20), head(10.5f, 14.5f);  // layer 1 spans 10 to 15
  std::uniform_int_distribution<int> code(0, 19);
  for (int k = 1; k <= state.NLAY; ++k)
    for (int i = 1; i <= state.NROW; ++i)
      for (int j = 1; j <= state.NCOL; ++j) {
        const int c = code(random);
        state.IBOUND(j, i, k) = static_cast<std::int16_t>(c == 0 ? 0 : c == 1 ? -1 : 1);
        state.HEAD(j, i, k) = k == 1 ? head(random) : 50;
        state.QRIGHT(j, i, k) = flow(random);
        state.QFRONT(j, i, k) = flow(random);
        state.QLOWER(j, i, k) = flow(random) / 4;
        state.QRECH(j, i, k) = flow(random) / 10;
        state.QET(j, i, k) = -std::abs(flow(random)) / 20;
        state.SINKCODE(j, i, k) = static_cast<std::int16_t>(c == 2 ? -1 : 0);
      }
}

void FieldOfPeriod(ModelState& state) { RandomField(state, 1000u + static_cast<unsigned>(state.CurrentPeriod)); }

struct RandomRun : test::TrackingFixture {
  RandomRun(unsigned seed, std::int16_t mode) : TrackingFixture(test::BoxModel(8, 7, 3, 10, 12, 5, 0.2f)) {
    state.LAYCON[1] = 1;  // a water table in the top layer
    RandomField(state, seed);
    periods = {.NPER = 3, .PERLEN = {0, 4, 6, 5}, .NSTP = {0, 1, 3, 2}, .TSMULT = {0, 1, 1.5f, 1}};
    tracking.SimulationMode = mode;
    Steps(0.7, 30);
    tracking.MarkOnTopView = -1;
    tracking.WeakSinks = WeakCellRule::PassThrough;
    loader = test::ScriptedLoader(FieldOfPeriod);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> column(1, 8), row(1, 7), layer(1, 3);
    std::uniform_real_distribution<float> local(0, 1);
    for (int n = 0; n < 60; ++n)
      Add(column(random), row(random), layer(random), local(random), local(random), local(random));
  }
};

std::vector<double> Trace(RandomRun& run) {
  std::vector<double> trace;
  for (const TrackSegment& s : run.observer.segments)
    trace.insert(trace.end(), {double(s.particle), s.to.X, s.to.Y, s.to.Z, s.time});
  for (const ParticleRecord& p : run.particles.Particles)
    trace.insert(trace.end(),
                 {p.forward.time, p.backward.time, double(p.forward.cell.column), double(p.backward.local.z)});
  return trace;
}

TEST(TrackingRobustness, RandomFieldsEndWithParticlesInsideTheirCells) {
  for (unsigned seed = 1; seed <= 12; ++seed)
    for (const std::int16_t mode : {std::int16_t{1}, std::int16_t{2}}) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << " mode " << mode);
      RandomRun one(seed, mode), three(seed, mode);
      for (RandomRun* run : {&one, &three}) {
        const int threads = run == &one ? 1 : 3;
        run->Run(TrackMode::ForwardRun, TrackKind::Interactive, threads);
        run->Run(TrackMode::BackwardRun, TrackKind::Interactive, threads);
        run->Run(TrackMode::ForwardStep, TrackKind::Interactive, threads);
      }
      EXPECT_GT(one.observer.segments.size(), 100u);
      EXPECT_EQ(Trace(one), Trace(three));
      const double longest = 31 * one.tracking.StepLength;
      for (const ParticleRecord& p : one.particles.Particles)
        for (const TrackState* track : {&p.forward, &p.backward}) {
          EXPECT_LE(track->time, longest);
          EXPECT_GE(track->local.x, 0);
          EXPECT_LE(track->local.x, 1);
          EXPECT_GE(track->local.z, 0);
          EXPECT_LE(track->local.z, 1);
        }
      EXPECT_EQ(one.state.CurrentPeriod, 1);
    }
}

}  // namespace
}  // namespace kestra
