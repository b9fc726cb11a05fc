// track --mpsim on the shared MODPATH 7 runs, compared with MODPATH's own
// end points: final position within 1e-5 of the model extent, travel time
// within 1e-5 relative (32-bit budget flows), the same status and final cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "cli/cli_runner.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

constexpr double kTolerance = 1e-5;

struct EndRecord {
  int status = 0, finalCell = 0;
  double finalTime = 0, x = 0, y = 0, z = 0;
};

// The records after "END HEADER", by sequence number.
std::map<int, EndRecord> ReadEndpoints(const std::string& path) {
  std::map<int, EndRecord> records;
  bool body = false;
  for (const std::string& line : Lines(test::ReadWholeFile(path))) {
    if (!body) {
      body = line.starts_with("END HEADER");
      continue;
    }
    const std::vector<std::string> w = Words(line);
    if (w.size() < 24) continue;
    records[std::stoi(w[0])] = {std::stoi(w[3]), std::stoi(w[16]), std::stod(w[5]),
                                std::stod(w[21]), std::stod(w[22]), std::stod(w[23])};
  }
  return records;
}

struct RunCase {
  std::string name;
  std::vector<std::string> folders;  // copied into one folder, in order
  std::string simulation;
  std::string expected;  // MODPATH's end point file
  double extent;         // the model's largest extent
};

class MpsimAgreement : public testing::TestWithParam<RunCase> {};

TEST_P(MpsimAgreement, EndpointsAgreeWithModpath) {
  const RunCase& c = GetParam();
  test::TempDir dir;
  for (const std::string& folder : c.folders)
    fs::copy(test::TestDataDir() / folder, dir.path(), fs::copy_options::overwrite_existing | fs::copy_options::recursive);
  std::string errors;
  const std::string ends = dir.File("kestra.mpend");
  ASSERT_EQ(RunCli("track", {"--mpsim", dir.File(c.simulation), "--endpoints", ends, "--quiet"}, &errors), 0) << errors;
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

INSTANTIATE_TEST_SUITE_P(
    SharedRuns, MpsimAgreement,
    testing::Values(RunCase{"uniform1", {"uniform1/modflow", "mp7/uniform1"}, "uniform1_fwd.mpsim", "uniform1_fwd.mpend", 200},
                    RunCase{"mixed3d", {"mixed3d/modflow", "mp7/mixed3d"}, "mixed3d_fwd.mpsim", "mixed3d_fwd.mpend", 1221},
                    RunCase{"ex01_mf6", {"usgs/ex01_mf6"}, "ex01a_mf6.mpsim", "ex01a_mf6.endpoint7", 10500},
                    RunCase{"ex01_mf2005", {"usgs/ex01_mf2005"}, "ex01a_mf2005.mpsim", "ex01a_mf2005.endpoint7", 10500}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kestra::cli
