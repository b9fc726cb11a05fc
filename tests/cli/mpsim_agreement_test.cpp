// track --mpsim on the shared MODPATH 7 runs, both read by FloPy's rules and
// compared with MODPATH's own
// end points: final position within 1e-5 of the model extent, travel time
// within 1e-5 relative (32-bit budget flows), the same status and final cell;
// and the same pathline points (and time series, where given) in the same
// cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "cli/cli_runner.h"
#include "core/text_reader.h"

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
  int agreeing = 0, agreeingBesidesStatus = 0;
  for (const auto& [sequence, e] : expected) {
    const EndRecord& a = actual.at(sequence);
    const double position = std::max({std::abs(a.x - e.x), std::abs(a.y - e.y), std::abs(a.z - e.z)});
    const bool placeAndTime = a.finalCell == e.finalCell && position <= kTolerance * c.extent &&
                              std::abs(a.finalTime - e.finalTime) <= kTolerance * std::abs(e.finalTime);
    const bool agrees = placeAndTime && a.status == e.status;
    agreeing += agrees ? 1 : 0;
    agreeingBesidesStatus += placeAndTime ? 1 : 0;
    EXPECT_TRUE(agrees) << "particle " << sequence << ": status " << a.status << " / " << e.status << ", cell "
                        << a.finalCell << " / " << e.finalCell << ", time " << a.finalTime << " / " << e.finalTime
                        << ", position off by " << position;
  }
  std::cout << c.name << ": " << agreeing << " of " << expected.size() << " particles agree, "
            << agreeingBesidesStatus << " in final cell, place and time\n";
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

}  // namespace
}  // namespace kestra::cli
