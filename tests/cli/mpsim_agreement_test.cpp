// track --mpsim on the shared MODPATH 7 runs, read by FloPy's rules and
// compared with MODPATH's own end points (final position within 1e-5 of the
// model extent, travel time within 1e-5 relative for 32-bit budget flows, the
// same status and final cell) and the same pathline points and time series in
// the same cells; and on USGS MODPATH example 3 (MODFLOW 6): a transient run
// over all 12 time steps, ten releases from the reference time 90 000 d, a
// time series every 2 000 d, and one particle's move over the change from the
// steady first period to the first transient step, worked out by hand from
// the budget's face flows with the cell-by-cell exponential solution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "cli/batch_model.h"
#include "cli/cli_runner.h"
#include "core/text_reader.h"
#include "session/time_step_results.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

constexpr double kTolerance = 1e-5;

struct EndRecord {
  int status = 0, finalCell = 0;
  double finalTime = 0, x = 0, y = 0, z = 0;
};

// The records of a MODPATH 7 output file read as FloPy's modpathfile reads
// them: the kind and version 7 named on the first line, the header ended by
// the first line holding "end header" in any letter case, and every record
// of one of the field counts the kind has.
std::vector<std::vector<std::string>> FlopyRecords(const std::string& path, const std::string& kind,
                                                   const std::vector<std::size_t>& fieldCounts) {
  const std::vector<std::string> lines = Lines(test::ReadWholeFile(path));
  EXPECT_FALSE(lines.empty()) << path;
  if (lines.empty()) return {};
  EXPECT_NE(UpperCase(lines[0]).find("MODPATH_" + kind + "_FILE         7"), std::string::npos) << path;
  std::vector<std::vector<std::string>> records;
  bool body = false;
  for (const std::string& line : lines) {
    if (!body) {
      body = UpperCase(line).find("END HEADER") != std::string::npos;
      continue;
    }
    records.push_back(Words(line));
    EXPECT_NE(std::find(fieldCounts.begin(), fieldCounts.end(), records.back().size()), fieldCounts.end())
        << path << ": " << line;
  }
  return records;
}

// The end points by sequence number.
std::map<int, EndRecord> ReadEndpoints(const std::string& path) {
  std::map<int, EndRecord> records;
  for (const std::vector<std::string>& w : FlopyRecords(path, "ENDPOINT", {26}))
    if (w.size() == 26)
      records[std::stoi(w[0])] = {std::stoi(w[3]), std::stoi(w[16]), std::stod(w[5]),
                                  std::stod(w[21]), std::stod(w[22]), std::stod(w[23])};
  return records;
}

struct RunCase {
  std::string name;
  std::vector<std::string> folders;  // copied into one folder, in order
  std::string simulation;
  std::string expected;  // MODPATH's end point file
  double extent;         // the model's largest extent
  std::string expectedPathlines;
  std::string expectedTimeSeries = {};  // MODPATH's, where given
};

// The run's folders copied into `dir` and its simulation tracked there,
// writing kestra.mpend, kestra.path and kestra.ts.
void TrackSimulation(const RunCase& c, const test::TempDir& dir) {
  for (const std::string& folder : c.folders)
    fs::copy(test::TestDataDir() / folder, dir.path(), fs::copy_options::overwrite_existing | fs::copy_options::recursive);
  std::string errors;
  ASSERT_EQ(RunCli("track", {"--mpsim", dir.File(c.simulation), "--endpoints", dir.File("kestra.mpend"), "--out",
                             dir.File("kestra.path"), "--timeseries", dir.File("kestra.ts"), "--quiet"},
                   &errors),
            0)
      << errors;
}

class MpsimAgreement : public testing::TestWithParam<RunCase> {};

TEST_P(MpsimAgreement, EndpointsAgreeWithModpath) {
  const RunCase& c = GetParam();
  test::TempDir dir;
  ASSERT_NO_FATAL_FAILURE(TrackSimulation(c, dir));
  const std::string ends = dir.File("kestra.mpend");
  const std::map<int, EndRecord> expected = ReadEndpoints(dir.File(c.expected)), actual = ReadEndpoints(ends);
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(actual.size(), expected.size());
  for (const auto& [sequence, e] : expected) {
    const EndRecord& a = actual.at(sequence);
    const double position = std::max({std::abs(a.x - e.x), std::abs(a.y - e.y), std::abs(a.z - e.z)});
    EXPECT_TRUE(a.status == e.status && a.finalCell == e.finalCell && position <= kTolerance * c.extent &&
                std::abs(a.finalTime - e.finalTime) <= kTolerance * std::abs(e.finalTime))
        << "particle " << sequence << ": status " << a.status << " / " << e.status << ", cell " << a.finalCell << " / "
        << e.finalCell << ", time " << a.finalTime << " / " << e.finalTime << ", position off by " << position;
  }
}

// Compares two files of point records field by field: `exact` fields as
// written, `positions` within the tolerance of the model extent, the field
// `time` within the relative tolerance.
void ExpectSamePoints(const std::string& kind, const std::string& actualPath, const std::string& expectedPath,
                      const std::vector<int>& exact, const std::vector<int>& positions, int time, double extent) {
  const std::vector<std::size_t> fields = kind == "PATHLINE" ? std::vector<std::size_t>{4, 11} : std::vector<std::size_t>{14};
  const auto expected = FlopyRecords(expectedPath, kind, fields), actual = FlopyRecords(actualPath, kind, fields);
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t n = 0; n < expected.size(); ++n) {
    const std::vector<std::string>& a = actual[n];
    const std::vector<std::string>& e = expected[n];
    ASSERT_EQ(a.size(), e.size()) << "record " << n + 1;
    if (e.size() == 4) {  // a pathline's head: sequence number, group, id, point count
      EXPECT_EQ(a, e) << "record " << n + 1;
      continue;
    }
    for (const int field : exact) EXPECT_EQ(std::stoi(a[field]), std::stoi(e[field])) << "record " << n + 1;
    for (const int field : positions)
      EXPECT_NEAR(std::stod(a[field]), std::stod(e[field]), kTolerance * extent) << "record " << n + 1;
    EXPECT_NEAR(std::stod(a[time]), std::stod(e[time]), kTolerance * (1 + std::stod(e[time]))) << "record " << n + 1;
  }
}

TEST_P(MpsimAgreement, PathlinesAndTimeSeriesAgreeWithModpath) {
  const RunCase& c = GetParam();
  test::TempDir dir;
  ASSERT_NO_FATAL_FAILURE(TrackSimulation(c, dir));
  // Pathline points: cell, x, y, z, time, local x, y, z, layer, step, period.
  ExpectSamePoints("PATHLINE", dir.File("kestra.path"), dir.File(c.expectedPathlines), {0, 8, 9, 10}, {1, 2, 3}, 4, c.extent);
  // Time series: time point, step, time, sequence number, group, id, cell,
  // local x, y, z, x, y, z, layer.
  if (!c.expectedTimeSeries.empty())
    ExpectSamePoints("TIMESERIES", dir.File("kestra.ts"), dir.File(c.expectedTimeSeries), {0, 1, 3, 4, 5, 6, 13}, {10, 11, 12}, 2,
                     c.extent);
}

INSTANTIATE_TEST_SUITE_P(
    SharedRuns, MpsimAgreement,
    testing::Values(RunCase{"uniform1", {"uniform1/modflow", "mp7/uniform1"}, "uniform1_fwd.mpsim", "uniform1_fwd.mpend", 200,
                            "uniform1_fwd.mppth"},
                    RunCase{"mixed3d", {"mixed3d/modflow", "mp7/mixed3d"}, "mixed3d_fwd.mpsim", "mixed3d_fwd.mpend", 1221,
                            "mixed3d_fwd.mppth"},
                    RunCase{"ex01_mf6", {"usgs/ex01_mf6"}, "ex01a_mf6.mpsim", "ex01a_mf6.endpoint7", 10500,
                            "ex01a_mf6.pathline7", "ex01a_mf6.timeseries7"},
                    RunCase{"ex01_mf2005", {"usgs/ex01_mf2005"}, "ex01a_mf2005.mpsim", "ex01a_mf2005.endpoint7", 10500,
                            "ex01a_mf2005.pathline7", "ex01a_mf2005.timeseries7"}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

struct PathPointRecord {
  int cell = 0, layer = 0, period = 0, step = 0;
  double time = 0, localX = 0, localY = 0, localZ = 0;
};

// Every point of every pathline part, by sequence number, in file order:
// each part's head of four fields names the sequence number of its points.
std::map<int, std::vector<PathPointRecord>> ReadPathPoints(const std::string& path) {
  std::map<int, std::vector<PathPointRecord>> points;
  int sequence = 0;
  for (const std::vector<std::string>& w : FlopyRecords(path, "PATHLINE", {4, 11}))
    if (w.size() == 4)
      sequence = std::stoi(w[0]);
    else if (w.size() == 11)
      points[sequence].push_back({std::stoi(w[0]), std::stoi(w[8]), std::stoi(w[9]), std::stoi(w[10]),
                                  std::stod(w[4]), std::stod(w[5]), std::stod(w[6]), std::stod(w[7])});
  return points;
}

// Position along one axis of a cell after `dt`, the velocity varying
// linearly from v1 at face 0 to v2 at face 1 (Pollock): local coordinates.
double MovedAlongAxis(double local, double v1, double v2, double length, double dt) {
  const double gradient = (v2 - v1) / length;
  const double v = v1 + gradient * local * length;
  if (std::abs(gradient) < 1e-15) return local + v * dt / length;
  return (v * std::exp(gradient * dt) - v1) / gradient / length;
}

struct Example3 {
  Example3() {
    fs::copy(test::TestDataDir() / "usgs/ex03_mf6", dir.path(), fs::copy_options::recursive);
    EXPECT_EQ(RunCli("track", {"--mpsim", dir.File("ex03a_mf6.mpsim"), "--out", dir.File("p.mppth"), "--quiet"},
                     &errors),
              0)
        << errors;
  }
  test::TempDir dir;
  std::string errors;
};

TEST(MpsimTransient, TheTimeSeriesRunsThroughEveryStepFromTheReferenceTime) {
  Example3 run;
  const std::vector<std::string> lines = Lines(test::ReadWholeFile(run.dir.File("ex03a_mf6.timeseries7")));
  ASSERT_GT(lines.size(), 3u);
  EXPECT_EQ(Words(lines[1])[1], "0.9000000000E+05") << "the reference time, period 1 step 1 at 0.9";
  int lastTimePoint = 0;
  std::set<int> steps, releasedAtZero;
  for (std::size_t n = 3; n < lines.size(); ++n) {
    const std::vector<std::string> w = Words(lines[n]);
    ASSERT_EQ(w.size(), 14u) << lines[n];
    const int index = std::stoi(w[0]);
    lastTimePoint = std::max(lastTimePoint, index);
    steps.insert(std::stoi(w[1]));
    EXPECT_NEAR(std::stod(w[2]), 2000.0 * index, 1e-6) << lines[n];
    if (index == 0) releasedAtZero.insert(std::stoi(w[3]));
  }
  // 30 time points every 2 000 d reach 150 000 d, in period 3; the first
  // release (100 particles) is at the reference time, the others 20 d apart later.
  EXPECT_EQ(lastTimePoint, 30);
  EXPECT_EQ(releasedAtZero.size(), 100u);
  EXPECT_TRUE(steps.contains(1) && steps.contains(12)) << "the steady periods at both ends";
  EXPECT_GE(steps.size(), 8u) << "time points fall in most transient steps";
}

TEST(MpsimTransient, AMoveOverTheStepChangeFollowsTheNewStepsFaceFlows) {
  Example3 run;
  const auto points = ReadPathPoints(run.dir.File("p.mppth"));
  // Particle 1 is in a cell of layer 3 at the end of period 1 (tracking time
  // 10 000 d) and still in it at the end of period 2, step 1.
  const std::vector<PathPointRecord>& path = points.at(1);
  const auto atChange = std::find_if(path.begin(), path.end(), [](const auto& p) { return p.time == 10000; });
  ASSERT_NE(atChange, path.end());
  const PathPointRecord& start = *atChange;
  const PathPointRecord& end = *(atChange + 1);
  ASSERT_EQ(std::tuple(start.period, end.cell, end.period, end.step), std::tuple(1, start.cell, 2, 1));

  Session session;
  CollectingInterface ui;
  ASSERT_TRUE(OpenBatchModel(run.dir.File("mfsim.nam"), session, ui));
  ModelState& m = session.model;
  m.CurrentPeriod = 2;
  m.CurrentStep = 1;
  LoadTimeStepResults(m, session.settings, session.tracking, ui, StepResults::FlowField);
  ASSERT_TRUE(m.flowTermsLoaded);
  const int k = start.layer, cellInLayer = start.cell - 1 - (k - 1) * m.NROW * m.NCOL;
  const int i = cellInLayer / m.NCOL + 1, j = cellInLayer % m.NCOL + 1;
  ASSERT_EQ(k, 3) << "a confined layer: the thickness is top minus bottom";
  const double dx = m.DELR[j], dy = m.DELC[i], dz = m.TOP(j, i, k) - m.BOT(j, i, k);
  const double pore = m.POROSITY(j, i, k);
  // Local y counts from the front face (toward row i + 1) and z from the bottom.
  const double vx1 = m.QRIGHT(j - 1, i, k) / (pore * dy * dz), vx2 = m.QRIGHT(j, i, k) / (pore * dy * dz);
  const double vy1 = -m.QFRONT(j, i, k) / (pore * dx * dz), vy2 = -m.QFRONT(j, i - 1, k) / (pore * dx * dz);
  const double vz1 = -m.QLOWER(j, i, k) / (pore * dx * dy), vz2 = -m.QLOWER(j, i, k - 1) / (pore * dx * dy);
  const double dt = end.time - start.time;
  EXPECT_NEAR(dt, 36500 * 0.5 / (std::pow(1.5, 10) - 1), 1e-3) << "the first step of period 2";
  EXPECT_NEAR(end.localX, MovedAlongAxis(start.localX, vx1, vx2, dx, dt), 1e-5);
  EXPECT_NEAR(end.localY, MovedAlongAxis(start.localY, vy1, vy2, dy, dt), 1e-5);
  EXPECT_NEAR(end.localZ, MovedAlongAxis(start.localZ, vz1, vz2, dz, dt), 1e-5);
  // The steady flow field of period 1 would have taken it elsewhere.
  m.CurrentPeriod = 1;
  LoadTimeStepResults(m, session.settings, session.tracking, ui, StepResults::FlowField);
  const double steadyY = MovedAlongAxis(start.localY, -m.QFRONT(j, i, k) / (pore * dx * dz),
                                        -m.QFRONT(j, i - 1, k) / (pore * dx * dz), dy, dt);
  EXPECT_GT(std::abs(end.localY - steadyY), 1e-3);
}

}  // namespace
}  // namespace kestra::cli
