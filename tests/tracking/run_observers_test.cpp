// The observers a run reports to: the fan-out, the progress shown, the
// pathline file, the end point table and its descriptions, and the batch output
// written while tracking.
#include "tracking/endpoint_table.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "core/number_format.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "tracking/batch_output.h"
#include "tracking/particle_file.h"
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
  const PathPoint point{.point = {1, 2, 3}};
  both.ReleasePoint(4, -1, point);
  both.Segment({.particle = 4, .direction = -1});
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

// The fields of a record, split at runs of blanks.
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

  // Particle 1 deleted: particle 2's end points are kept as particle 1's.
  collector.Renumber(ParticleRenumbering({2}));
  const std::vector<Endpoint> renumbered = collector.Endpoints();
  ASSERT_EQ(renumbered.size(), 2u);
  for (std::size_t n = 0; n < 2; ++n) {
    EXPECT_EQ(renumbered[n].particle, 1);
    EXPECT_EQ(renumbered[n].direction, endpoints[n + 2].direction);
    EXPECT_EQ(renumbered[n].finalCell, endpoints[n + 2].finalCell);
    EXPECT_EQ(renumbered[n].time, endpoints[n + 2].time);
  }
}

// Only the last point a particle reaches counts, whether its end is
// reported or the next particle's reports begin.
TEST(EndpointCollector, TakesTheLastPointReachedOfEachParticle) {
  const ModelState state = EastwardRows();
  EndpointCollector collector(state, 2);
  const auto at = [](int column, double x, double time) {
    return PathPoint{.point = {x, 15, 5}, .localZ = 0.5f, .cell = {static_cast<std::int16_t>(column), 2, 1}, .time = time};
  };
  collector.ReleasePoint(1, 1, at(1, 5, 0));
  collector.PointReached(1, 1, at(2, 10, 5));
  collector.PointReached(1, 1, at(3, 25, 15));
  collector.PointReached(2, 1, at(4, 40, 7));
  collector.PointReached(2, 1, at(5, 45, 9));
  collector.ParticleEnd(2, 1, TrackState{}, TrackEnd::LeftGrid);
  const std::vector<Endpoint> endpoints = collector.Endpoints();
  ASSERT_EQ(endpoints.size(), 2u);
  for (const auto& [endpoint, cell, x, time] :
       {std::tuple{endpoints[0], CellIndex{3, 2, 1}, 25.0, 15.0}, {endpoints[1], CellIndex{5, 2, 1}, 45.0, 9.0}}) {
    EXPECT_EQ(endpoint.finalCell, cell) << endpoint.particle;
    EXPECT_EQ(endpoint.finalGlobal.X, x) << endpoint.particle;
    EXPECT_EQ(endpoint.finalLocal.x, 0.5f) << endpoint.particle;
    EXPECT_EQ(endpoint.time, time) << endpoint.particle;
  }
  EXPECT_EQ(endpoints[0].releaseGlobal.X, 5);
  EXPECT_EQ(endpoints[1].end, TrackEnd::LeftGrid);
}

TEST(EndpointCsvLine, ListsReleaseFinalPointTimeAndReason) {
  const Endpoint e{.particle = 7, .direction = -1, .releaseCell = {3, 2, 1}, .releaseLocal = {0.5f, 0.25f, 0.5f},
                   .finalCell = {1, 2, 1}, .finalLocal = {0, 0.25f, 0.5f}, .finalGlobal = {0, 12.5, 5}, .time = 26.5,
                   .end = TrackEnd::LeftGrid};
  EXPECT_EQ(EndpointCsvLine(e), "7,backward,3,2,1,0.5,0.25,0.5,1,2,1,0,0.25,0.5,0,12.5,5,26.5,left the grid");
  const std::string header = EndpointCsvHeader();
  EXPECT_EQ(std::count(header.begin(), header.end(), ','), 18);
}

TEST(EndpointEndDescription, NamesTheSinkCellItsPackagesAndTheWaterTable) {
  struct Case {
    TrackEnd end;
    int direction;
    float finalZ;
    std::vector<std::string> packages;
    const char* text;
  };
  const Case cases[] = {
      {TrackEnd::EnteredSinkCell, 1, 0.5f, {"pumping well"}, "entered the pumping well at layer 2, row 8, column 15"},
      {TrackEnd::NoExitFromSink, 1, 0.5f, {"drain", "river"}, "entered the drain and river at layer 2, row 8, column 15"},
      {TrackEnd::EnteredSinkCell, 1, 0.5f, {}, "entered a sink cell at layer 2, row 8, column 15"},
      {TrackEnd::LeftGrid, -1, 1.0f, {}, "reached the water table (recharge)"},
      {TrackEnd::LeftGrid, -1, 0.0f, {}, "left the grid"},
      {TrackEnd::LeftGrid, 1, 1.0f, {}, "left the grid"},
      {TrackEnd::NoTimeLeft, 1, 1.0f, {}, "reached the time limit"},
  };
  for (const Case& c : cases) {
    const Endpoint e{
        .direction = c.direction, .finalCell = {15, 8, 2}, .finalLocal = {0.5f, 0.5f, c.finalZ}, .end = c.end};
    EXPECT_EQ(EndpointEndDescription(e, c.packages), c.text);
  }
  const Endpoint untracked{.end = TrackEnd::EnteredSinkCell, .tracked = false};
  EXPECT_FALSE(EndedInSink(untracked));
  EXPECT_EQ(EndpointEndDescription(untracked, {"pumping well"}), EndpointEndText(untracked));
}

// Tracks the fixture's particles forward and backward into a batch output,
// on `threads` threads, and returns the pathline text.
std::string TrackIntoBatchOutput(test::TrackingFixture& f, int threads, PathlineLayout layout,
                                 std::vector<Endpoint>* endpoints = nullptr, const Mp7Labels* labels = nullptr) {
  std::ostringstream text;
  BatchOutput output(f.state, f.particles.ParticleCount(), &text, layout);
  output.SetMp7Labels(labels);
  TrackingRun run = f.RunFor(output, threads);
  for (const TrackMode mode : {TrackMode::ForwardRun, TrackMode::BackwardRun}) {
    TrackParticles(run, mode, TrackKind::Interactive);
    output.Endpoints().AddMissing(f.particles, mode == TrackMode::ForwardRun ? 1 : -1);
  }
  if (endpoints) *endpoints = output.Endpoints().Endpoints();
  return text.str();
}

// A box with a swirling flow that takes particles through many cells and
// into the fixed heads of its last column.
std::unique_ptr<test::TrackingFixture> SwirlFixture() {
  ModelState state = test::BoxModel(12, 9, 3, 10, 10, 10, 0.25f);
  // Uneven widths: points on faces land a rounding step off them.
  for (int j = 1; j <= 12; ++j) state.DELR[j] = 3.7f + 0.93f * static_cast<float>(j);
  for (int i = 1; i <= 9; ++i) state.DELC[i] = 13.1f - 0.77f * static_cast<float>(i);
  ComputeGridGeometry(state);
  for (int k = 1; k <= 3; ++k)
    for (int i = 1; i <= 9; ++i)
      for (int j = 1; j <= 12; ++j) {
        state.QRIGHT(j, i, k) = 10 + 3 * std::sin(0.7f * static_cast<float>(i + k));
        state.QFRONT(j, i, k) = 4 * std::cos(0.5f * static_cast<float>(j + 2 * k));
        state.QLOWER(j, i, k) = k < 3 ? 0.3f : 0;
      }
  for (int i = 1; i <= 9; ++i)
    for (int k = 1; k <= 3; ++k) state.IBOUND(12, i, k) = state.IBOUND(1, i, k) = -1;
  auto f = std::make_unique<test::TrackingFixture>(std::move(state));
  f->Steps(40, 5);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> local(0.05f, 0.95f);
  for (int n = 0; n < 70; ++n)
    f->Add(2 + n % 10, 1 + n % 9, 1 + n % 3, local(random), local(random), local(random));
  return f;
}

TEST(BatchOutput, WritesWhatTheReplayWritesAndTheSameEndPointsAndMp7TextOnAnyNumberOfThreads) {
  std::vector<Endpoint> oneEnds;
  const std::string oneMp7 = TrackIntoBatchOutput(*SwirlFixture(), 1, PathlineLayout::Mp7, &oneEnds);
  ASSERT_EQ(oneEnds.size(), 140u);
  // A pathline head wider than its room moves nothing else.
  Mp7Labels labels;
  for (int n = 1; n <= 70; ++n) labels.particles.push_back({n, 1, n == 2 ? -2000000000 : n});
  std::string wide = oneMp7;
  const std::string plainHead = "\n         2         1         2", wideHead = "\n         2         1-2000000000";
  int heads = 0;
  for (std::size_t at = wide.find(plainHead); at != std::string::npos; at = wide.find(plainHead, at + 1), ++heads)
    wide.replace(at, plainHead.size(), wideHead);
  EXPECT_EQ(heads, 2);  // forward and backward
  for (const int threads : {1, 2, 3}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    const auto f = SwirlFixture();
    const std::string written = TrackIntoBatchOutput(*f, threads, PathlineLayout::Kestra);
    EXPECT_GT(written.size(), 20000u);
    EXPECT_EQ(written, test::Replayed(*f));
    std::vector<Endpoint> ends;
    EXPECT_EQ(TrackIntoBatchOutput(*SwirlFixture(), threads, PathlineLayout::Mp7, &ends), oneMp7);
    ASSERT_EQ(ends.size(), oneEnds.size());
    for (std::size_t n = 0; n < ends.size(); ++n) EXPECT_EQ(EndpointCsvLine(ends[n]), EndpointCsvLine(oneEnds[n]));
    EXPECT_EQ(TrackIntoBatchOutput(*SwirlFixture(), threads, PathlineLayout::Mp7, nullptr, &labels), wide);
  }
}

TEST(BatchOutput, ParticlesARunEndedBeforeAreListedAsNotTracked) {
  for (const int threads : {1, 2}) {
    // Particle 1 sinks into a layer-2 cell without thickness; particles 2
    // and 3 come after it.
    ModelState state = test::BoxModel(4, 1, 2, 10, 10, 10, 0.25f);
    for (int j = 1; j <= 4; ++j) state.QLOWER(j, 1, 1) = 25;
    state.TOP(1, 1, 2) = state.BOT(1, 1, 2);
    test::TrackingFixture f(std::move(state));
    for (const int column : {1, 2, 3}) f.Add(column, 1, 1, 0.5f, 0.5f, 0.5f);
    std::vector<Endpoint> ends;
    TrackIntoBatchOutput(f, threads, PathlineLayout::Kestra, &ends);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_NE(f.ui.messages[0].text.find("(1,1,2)"), std::string::npos) << f.ui.messages[0].text;
    ASSERT_EQ(ends.size(), 6u);  // three particles, two directions
    EXPECT_EQ(ends[0].end, TrackEnd::ThicknessFault);
    EXPECT_EQ(ends[0].finalCell, (CellIndex{1, 1, 2}));
    for (const int n : {2, 4}) {
      EXPECT_FALSE(ends[n].tracked) << n;
      EXPECT_EQ(ends[n].finalCell, ends[n].releaseCell);
      EXPECT_EQ(ends[n].time, 0);
      EXPECT_NE(EndpointCsvLine(ends[n]).find("not tracked"), std::string::npos);
    }
    // The backward run is a run of its own: nothing stops it.
    for (const int n : {1, 3, 5}) EXPECT_TRUE(ends[n].tracked) << n;
  }
}

TEST(BatchOutput, FinalPointsReadBackAsAParticleFile) {
  // Particles end on the faces of the fixed-head cells they enter: their
  // local coordinates must stay within 0..1 so that a particle file made of
  // the end points reads back whole.
  const auto f = SwirlFixture();
  std::vector<Endpoint> ends;
  TrackIntoBatchOutput(*f, 1, PathlineLayout::Kestra, &ends);
  std::string file = "KESTRA_V100_PARTICLES\r\n" + NumberText(static_cast<int>(ends.size())) + " \r\n";
  for (const Endpoint& e : ends) {
    for (const float c : {e.finalLocal.x, e.finalLocal.y, e.finalLocal.z}) {
      EXPECT_GE(c, 0.0f);
      EXPECT_LE(c, 1.0f);
    }
    // The final cell and point, as the CSV writes them; no field before them holds a blank.
    std::string line = EndpointCsvLine(e);
    std::replace(line.begin(), line.end(), ',', ' ');
    const std::vector<std::string> fields = Fields(line);
    file += fields[11] + " " + fields[12] + " " + fields[13] + " " + fields[8] + " " + fields[9] + " " + fields[10] +
            " 0 255 1\r\n";
  }
  test::TempDir dir;
  test::WriteWholeFile(dir.File("ends.par"), file);
  ParticleSet set;
  std::vector<ParticleFault> faults;
  ASSERT_TRUE(ReadParticleFile(dir.File("ends.par"), f->state, set, f->ui, ParticleLimit::None, &faults));
  EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front().reason;
  EXPECT_EQ(set.ParticleCount(), static_cast<int>(ends.size()));
}

}  // namespace
}  // namespace kestra
