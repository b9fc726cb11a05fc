#include "tracking/endpoint_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tracking_models.h"

namespace kestra {
namespace {

TEST(EndpointCollector, KeepsWhereEachDirectionEndedAndWhy) {
  ModelState state = test::BoxModel(10, 3, 1, 10, 10, 10, 0.25f);
  test::SetUniformFlow(state, 1, 1);
  state.IBOUND(10, 2, 1) = -1;
  test::TrackingFixture f(std::move(state));
  f.tracking.StepLength = 1000;
  f.Add(5, 2, 1, 0.5f, 0.5f, 0.5f);
  EndpointCollector collector(f.state, f.particles.ParticleCount());
  f.RunInto(collector, TrackMode::ForwardRun);
  f.RunInto(collector, TrackMode::BackwardRun);

  const std::vector<Endpoint> endpoints = collector.Endpoints();
  ASSERT_EQ(endpoints.size(), 2u);
  const Endpoint& forward = endpoints[0];
  EXPECT_EQ(forward.direction, 1);
  // The fixed-head cell at the grid's edge lets the water out through no face.
  EXPECT_EQ(forward.end, TrackEnd::NoExitFromSink);
  EXPECT_EQ(forward.finalCell, (CellIndex{10, 2, 1}));
  EXPECT_NEAR(forward.finalGlobal.X, 90, 1e-4);
  EXPECT_NEAR(forward.time, 45, 45 * 2e-6);  // 4.5 cells of 10 m at 1 m per time unit
  const Endpoint& backward = endpoints[1];
  EXPECT_EQ(backward.direction, -1);
  // Column 1 has a closed face at the grid edge: the reversed flow dies out in it.
  EXPECT_EQ(backward.end, TrackEnd::CannotLeaveCell);
  EXPECT_EQ(backward.finalCell, (CellIndex{1, 2, 1}));
  EXPECT_NEAR(backward.time, 35, 35 * 2e-6);
}

// The window makes its collector at a redraw and adds particles afterwards.
TEST(EndpointCollector, TakesParticlesAddedAfterItWasMade) {
  ModelState state = test::BoxModel(10, 3, 1, 10, 10, 10, 0.25f);
  test::SetUniformFlow(state, 1, 1);
  test::TrackingFixture f(std::move(state));
  f.tracking.StepLength = 1000;
  EndpointCollector collector(f.state, f.particles.ParticleCount());
  f.Add(5, 2, 1, 0.5f, 0.5f, 0.5f);
  f.Add(3, 1, 1, 0.5f, 0.5f, 0.5f);
  f.RunInto(collector, TrackMode::BackwardRun);
  const std::vector<Endpoint> endpoints = collector.Endpoints();
  ASSERT_EQ(endpoints.size(), 2u);
  EXPECT_EQ(endpoints[0].particle, 1);
  EXPECT_EQ(endpoints[1].particle, 2);
  EXPECT_EQ(endpoints[1].direction, -1);
}

TEST(EndpointCsvLine, ListsReleaseFinalPointTimeAndReason) {
  Endpoint e;
  e.particle = 7;
  e.direction = -1;
  e.releaseCell = {3, 2, 1};
  e.releaseLocal = {0.5f, 0.25f, 0.5f};
  e.finalCell = {1, 2, 1};
  e.finalLocal = {0, 0.25f, 0.5f};
  e.finalGlobal = {0, 12.5, 5};
  e.time = 26.5;
  e.end = TrackEnd::LeftGrid;
  EXPECT_EQ(EndpointCsvLine(e), "7,backward,3,2,1,0.5,0.25,0.5,1,2,1,0,0.25,0.5,0,12.5,5,26.5,left the grid");
  const std::string header = EndpointCsvHeader();
  EXPECT_EQ(std::count(header.begin(), header.end(), ','), 18);
}

}  // namespace
}  // namespace kestra
