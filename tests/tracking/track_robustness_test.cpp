// Random flow fields: every run ends, positions stay inside their cells and
// the thread count does not change the result.
#include <gtest/gtest.h>

#include <random>

#include "tracking/track_particles.h"
#include "tracking_models.h"

namespace kestra {
namespace {

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
    periods.NPER = 3;
    periods.PERLEN = {0, 4, 6, 5};
    periods.NSTP = {0, 1, 3, 2};
    periods.TSMULT = {0, 1, 1.5f, 1};
    tracking.SimulationMode = mode;
    tracking.StepLength = 0.7;
    tracking.MaximumSteps = 30;
    tracking.MarkOnTopView = -1;
    tracking.WeakSinks = WeakCellRule::PassThrough;
    loader = test::ScriptedLoader(FieldOfPeriod);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> column(1, 8), row(1, 7), layer(1, 3);
    std::uniform_real_distribution<float> local(0, 1);
    for (int n = 0; n < 60; ++n) Add(column(random), row(random), layer(random), local(random), local(random), local(random));
  }
};

std::vector<double> Trace(RandomRun& run) {
  std::vector<double> trace;
  for (const TrackSegment& s : run.observer.segments) trace.insert(trace.end(), {double(s.particle), s.to.X, s.to.Y, s.to.Z, s.time});
  for (const ParticleRecord& p : run.particles.Particles)
    trace.insert(trace.end(), {p.forward.time, p.backward.time, double(p.forward.cell.column), double(p.backward.local.z)});
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
