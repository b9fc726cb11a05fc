// The observers a run reports to: the fan-out, the progress shown, the
// pathline file and the end point table.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "support/recording_interface.h"
#include "tracking/endpoint_table.h"
#include "tracking/pathline_writer.h"
#include "tracking/run_progress.h"
#include "tracking_models.h"

namespace kestra {
namespace {

using test::RecordingInterface;
using test::RecordingObserver;

TEST(ObserverFanOut, EveryObserverHearsEveryEventInOrder) {
  RecordingObserver first, second;
  ObserverFanOut both({&first, &second});
  PathPoint point;
  point.point = {1, 2, 3};
  both.ReleasePoint(4, -1, point);
  TrackSegment segment;
  segment.particle = 4;
  segment.direction = -1;
  both.Segment(segment);
  both.PointReached(4, -1, point);
  both.TimeMark(4, -1, {}, {5, 6, 7});
  both.DirectionMark(4, {}, {});
  both.ParticleEnd(4, -1, TrackState{}, TrackEnd::LeftGrid);
  for (const RecordingObserver* o : {&first, &second}) {
    ASSERT_EQ(o->releases.size(), 1u);
    EXPECT_EQ(o->releases[0].direction, -1);
    EXPECT_EQ(o->segments.size(), 1u);
    EXPECT_EQ(o->points.size(), 1u);
    ASSERT_EQ(o->markPoints.size(), 1u);
    EXPECT_EQ(o->markPoints[0].Y, 6);
    EXPECT_EQ(o->directionMarks, std::vector<int>{4});
    ASSERT_EQ(o->ends.size(), 1u);
    EXPECT_EQ(o->ends[0].end, TrackEnd::LeftGrid);
  }
}

TEST(RunProgress, HintNamesTheDirectionAndTheMeterFollowsThePercentOfTheParticles) {
  RecordingInterface ui;
  {
    RunProgress progress(ui, 4, 1);
    EXPECT_EQ(ui.hint, "Tracking forward: 4 particles (Esc stops)");
    for (int particle = 1; particle <= 4; ++particle) progress.ParticleEnd(particle, 1, {}, TrackEnd::ReachedStopTime);
    EXPECT_EQ(ui.meterValues, (std::vector<int>{1, 25, 50, 75, 100}));
  }
  // Ended: the meter and the hint are cleared.
  EXPECT_EQ(ui.meterValues.back(), 0);
  EXPECT_EQ(ui.hint, "");
  RunProgress backward(ui, 4, -1);
  EXPECT_EQ(ui.hint, "Tracking backward: 4 particles (Esc stops)");
  // Many particles move the meter only when the percent changes: 1 % from
  // the start, then every whole percent once.
  RecordingInterface many;
  RunProgress progress(many, 1000, 1);
  for (int particle = 1; particle <= 1000; ++particle) progress.ParticleEnd(particle, 1, {}, TrackEnd::LeftGrid);
  ASSERT_EQ(many.meterValues.size(), 100u);
  EXPECT_EQ(many.meterValues.front(), 1);
  EXPECT_EQ(many.meterValues.back(), 100);
  EXPECT_EQ(RunHint(1, 1), "Tracking forward: 1 particle (Esc stops)");
}

TEST(PathlineRecord, FollowsTheModpathLayoutInBothDirections) {
  const PathPoint point{{120, 50, 12.5}, 0.5f, {12, 7, 1}, 0};
  EXPECT_EQ(PathlineRecord(3, 1, point, 400),
            "3    1.20000000000E+02    3.50000000000E+02    5.00000000000E-01    1.25000000000E+01"
            "    0.00000000000E+00 12 7 1\r\n");
  // Backward points and negative coordinates; Y = 0 is the grid's top edge: y is the full grid length.
  const PathPoint back{{-2.5, 0, -0.125}, 0.25f, {1, 1, 2}, 1234.5};
  EXPECT_EQ(PathlineRecord(12, -1, back, 400),
            "-12   -2.50000000000E+00    4.00000000000E+02    2.50000000000E-01   -1.25000000000E-01"
            "    1.23450000000E+03 1 1 2\r\n");
}

// Splits a record into its fields and checks their widths.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; in >> field;) fields.push_back(field);
  return fields;
}

// Ten 10 m cells along each of three rows, water moving 1 m per time unit
// towards column 10; the middle row ends in a fixed-head cell.
ModelState EastwardRows() {
  ModelState state = test::BoxModel(10, 3, 1, 10, 10, 10, 0.25f);
  test::SetUniformFlow(state, 1, 1);
  state.IBOUND(10, 2, 1) = -1;
  return state;
}

TEST(PathlineWriter, AReplayWritesTheReleasePointAndEveryPointReachedInBothDirections) {
  test::TrackingFixture f(EastwardRows());
  f.Steps(10, 3);
  f.Add(3, 2, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardStep);   // to time 10
  f.Run(TrackMode::BackwardStep);  // back 10

  std::vector<std::vector<std::string>> records;
  std::istringstream lines(test::Replayed(f));
  for (std::string line; std::getline(lines, line);) {
    ASSERT_EQ(line.back(), '\r');
    records.push_back(Fields(line));
  }
  // Forward: release at x = 25, the face at 30, the end of the step at 35;
  // backward: release, the face at 20, the end at 15.
  ASSERT_EQ(records.size(), 6u);
  const std::vector<std::string> release = {"1", "2.50000000000E+01", "1.50000000000E+01", "5.00000000000E-01",
                                            "5.00000000000E+00", "0.00000000000E+00", "3", "2", "1"};
  EXPECT_EQ(records[0], release);
  EXPECT_EQ(records[1][6], "4");  // entered column 4
  EXPECT_EQ(records[1][5], "5.00000000000E+00");
  // Each face crossing moves a particle on by 1e-6 of a cell (1e-5 m here).
  EXPECT_NEAR(std::stod(records[2][1]), 35, 2e-5);
  EXPECT_EQ(records[2][5], "1.00000000000E+01");
  EXPECT_EQ(records[3][0], "-1");
  EXPECT_EQ(records[3][1], "2.50000000000E+01");
  EXPECT_NEAR(std::stod(records[5][1]), 15, 2e-5);
  EXPECT_EQ(records[5][5], "1.00000000000E+01");
  EXPECT_EQ(records[5][6], "2");
}

TEST(PathlineWriter, AParticleThatNeverMovedContributesItsReleasePointOfTheDirectionRunOnly) {
  ModelState state = test::BoxModel(3, 1, 1, 10, 10, 10, 0.25f);
  state.IBOUND(2, 1, 1) = 0;
  test::TrackingFixture f(std::move(state));
  f.Add(2, 1, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);  // stops at once: inactive
  ASSERT_TRUE(f.Forward().stopped);
  EXPECT_EQ(test::Replayed(f),
            "1    1.50000000000E+01    5.00000000000E+00    5.00000000000E-01    5.00000000000E+00"
            "    0.00000000000E+00 2 1 1\r\n");
}

// The window makes its collector at a redraw and adds particles afterwards.
TEST(EndpointCollector, KeepsWhereEachDirectionEndedAndWhyOfParticlesAddedAfterItWasMade) {
  test::TrackingFixture f(EastwardRows());
  f.tracking.StepLength = 1000;
  EndpointCollector collector(f.state, f.particles.ParticleCount());
  f.Add(5, 2, 1, 0.5f, 0.5f, 0.5f);
  f.Add(3, 1, 1, 0.5f, 0.5f, 0.5f);
  f.RunInto(collector, TrackMode::ForwardRun);
  f.RunInto(collector, TrackMode::BackwardRun);

  const std::vector<Endpoint> endpoints = collector.Endpoints();
  ASSERT_EQ(endpoints.size(), 4u);
  const Endpoint& forward = endpoints[0];
  EXPECT_EQ(forward.particle, 1);
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
  EXPECT_EQ(endpoints[3].particle, 2);
  EXPECT_EQ(endpoints[3].direction, -1);
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
