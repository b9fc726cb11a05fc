// kestra-cli track on the shared MODFLOW runs: pathlines through the time
// steps of a transient run, the sink rules on a real model, and the
// arguments it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"
#include "tracking/endpoint_table.h"

namespace kestra::cli {
namespace {

struct PathRecord {
  int code = 0;
  double x = 0, y = 0, localZ = 0, z = 0, time = 0;
  int column = 0, row = 0, layer = 0;
};

// One line of the pathline file, checked character by character against the
// record layout: code, five 21-character numbers, then column, row, layer.
PathRecord ParseRecord(const std::string& line) {
  static const std::regex layout(
      R"(^(-?[0-9]+)((?:(?: {4}[0-9]| {3}-[0-9])\.[0-9]{11}E[+-][0-9]{2}){5}) ([0-9]+) ([0-9]+) ([0-9]+)$)");
  std::smatch match;
  EXPECT_TRUE(std::regex_match(line, match, layout)) << line;
  if (match.empty()) return {};
  PathRecord r;
  r.code = std::stoi(match[1]);
  const std::string numbers = match[2];
  double* fields[] = {&r.x, &r.y, &r.localZ, &r.z, &r.time};
  for (int n = 0; n < 5; ++n) *fields[n] = std::stod(numbers.substr(n * 21, 21));
  r.column = std::stoi(match[3]);
  r.row = std::stoi(match[4]);
  r.layer = std::stoi(match[5]);
  return r;
}

std::vector<PathRecord> ReadPathlines(const std::string& path) {
  const std::string text = test::ReadWholeFile(path);
  std::vector<PathRecord> records;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    records.push_back(ParseRecord(text.substr(start, end - start)));
  EXPECT_EQ(start, text.size()) << "every record ends in CR LF";
  return records;
}

// The exit status; the lines after the run go to `summary` when given.
int RunQuietly(std::vector<std::string> args, std::string* summary = nullptr) {
  args.push_back("--quiet");  // no progress line, however slow the machine
  args.push_back("--summary");
  std::ostringstream out, err;
  const int code = RunCommandLine(args, out, err);
  EXPECT_EQ(err.str(), "") << "the run says nothing on its error stream";
  if (summary) *summary = out.str();
  return code;
}

// Particles spread over both layers of transient2, tracked as pathlines
// through its nine time steps.
std::string TransientParticles() {
  std::string text = "KESTRA_V100_PARTICLES\r\n 24 \r\n";
  for (int row = 2; row <= 13; row += 1)
    for (int layer = 1; layer <= 2; ++layer)
      text += "0.3 0.7 0.5 " + std::to_string(15 - row / 2) + " " + std::to_string(row) + " " +
              std::to_string(layer) + " 12 255 1\r\n";
  return text;
}

std::vector<std::string> TransientRun(const test::TempDir& dir, const std::string& threads,
                                      const std::string& model = SharedRun("transient2/lahey/transient2.mdl")) {
  return {"track", model, "--particles", dir.File("p.txt"), "--out",
          dir.File("paths" + threads + ".txt"), "--endpoints", dir.File("ends" + threads + ".csv"), "--pathlines",
          "--step-length", "25", "--time-unit", "days", "--max-steps", "20", "--stop-at-time-limit", "on",
          "--threads", threads};
}

TEST(TrackCommand, PathlinesWalkThroughTheTimeStepsAndStopAtTheSimulationEnd) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), TransientParticles());
  ASSERT_EQ(RunQuietly(TransientRun(dir, "1")), 0);
  const std::vector<PathRecord> records = ReadPathlines(dir.File("paths1.txt"));
  // Ends of the time steps: the first period's day, then steps of 100/8.125
  // growing by 1.5 in each of the two 100-day periods.
  std::vector<double> stepEnds{1};
  for (int period = 0; period < 2; ++period)
    for (double length = 100 / 8.125, n = 0; n < 4; ++n, length *= 1.5) stepEnds.push_back(stepEnds.back() + length);
  ASSERT_NEAR(stepEnds.back(), 201, 1e-9);
  double latest = 0;
  std::set<std::size_t> stepEndsReached;
  for (const PathRecord& r : records) {
    latest = std::max(latest, r.time);
    for (std::size_t n = 0; n < stepEnds.size(); ++n)
      if (std::fabs(r.time - stepEnds[n]) < 1e-6 * stepEnds[n]) stepEndsReached.insert(n);
  }
  // A move never runs past the end of its time step, so every step's end is
  // a point of the pathlines, and none lies beyond the simulation's end.
  EXPECT_EQ(stepEndsReached.size(), stepEnds.size());
  EXPECT_LE(latest, 201 * (1 + 1e-9));
  EXPECT_GT(latest, 101);
  const std::string ends = test::ReadWholeFile(dir.File("ends1.csv"));
  EXPECT_NE(ends.find("reached the time limit"), std::string::npos);
}

TEST(TrackCommand, PathlinesThroughAnUnsavedStepAreRefusedUnlessHeld) {
  test::TempDir dir;
  std::filesystem::copy(test::TestDataDir() / "transient2/modflow", dir.path());
  test::CopyHeadsWithoutStep(dir.File("transient2.hds"), dir.File("transient2.hds"), 2, 3);
  test::WriteWholeFile(dir.File("p.txt"), TransientParticles());
  std::vector<std::string> args = TransientRun(dir, "1", dir.File("transient2.nam"));
  args.push_back("--quiet");
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine(args, out, err), 1);
  EXPECT_NE(err.str().find("not saved by the output control: period 2 step 3."), std::string::npos) << err.str();
  EXPECT_FALSE(std::filesystem::exists(dir.File("paths1.txt"))) << "refused before any file is written";

  args.insert(args.end(), {"--unsaved-steps", "hold"});
  EXPECT_EQ(RunCommandLine(args, out, err), 0) << err.str();
  const std::vector<std::string> ends = Lines(test::ReadWholeFile(dir.File("ends1.csv")));
  ASSERT_GT(ends.size(), 2u);
  EXPECT_EQ(ends[0], "# Flow field of the step loaded last held over unsaved time steps: period 2 step 3");
  EXPECT_EQ(ends[1], EndpointCsvHeader());
}

// mixed3d: the river along row 13 of layer 1 loses water to the aquifer in
// every cell. Particles released south of it in layer 1 flow north under
// the river to the pumping well in layer 2, row 8, column 15, unless every
// river cell is taken as a sink.
std::vector<std::vector<std::string>> MixedEnds(const test::TempDir& dir, const std::string& model,
                                                const std::string& sinks) {
  test::WriteWholeFile(dir.File("south.txt"),
                       "KESTRA_V100_PARTICLES\r\n 6 \r\n"
                       "0.5 0.5 0.5 18 14 1 12 255 1\r\n0.5 0.5 0.5 19 14 1 12 255 1\r\n"
                       "0.5 0.5 0.5 20 14 1 12 255 1\r\n0.5 0.5 0.5 21 14 1 12 255 1\r\n"
                       "0.5 0.5 0.5 20 15 1 12 255 1\r\n0.5 0.5 0.5 21 15 1 12 255 1\r\n");
  std::string summary;
  EXPECT_EQ(RunQuietly({"track", model, "--particles", dir.File("south.txt"), "--out", dir.File("south.pth"),
                        "--endpoints", dir.File("south.csv"), "--step-length", "100000", "--time-unit", "days",
                        "--max-steps", "1", "--sinks", sinks},
                       &summary),
            0);
  // The summary names the package of the sink cells the particles ended in.
  EXPECT_TRUE(Contains(summary, sinks == "all" ? "\nforward: 6 entered a sink cell (6 rivers)\n"
                                               : "\nforward: 6 entered a strong sink or source cell (6 wells)\n"))
      << summary;
  const std::vector<std::vector<std::string>> ends = EndpointRows(dir.File("south.csv"));
  EXPECT_EQ(ends.size(), 6u);
  return ends;
}

TEST(TrackCommand, ParticlesPassTheLosingRiverToThePumpingWell) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "mixed3d", "lahey", "mixed3d.mdl");
  for (const std::vector<std::string>& end : MixedEnds(dir, model, "by-flow")) {
    const std::vector<std::string> finalCell(end.begin() + 8, end.begin() + 11);
    EXPECT_EQ(finalCell, (std::vector<std::string>{"15", "8", "2"}));
    EXPECT_EQ(end[18], "entered a strong sink or source cell");
    EXPECT_GT(std::stod(end[17]), 900);  // days
  }
  // Taken as sinks, the river cells end them all, hundreds of days early.
  for (const std::vector<std::string>& end : MixedEnds(dir, model, "all")) {
    EXPECT_EQ(end[9], "13");
    EXPECT_EQ(end[10], "1");
    EXPECT_EQ(end[18], "entered a sink cell");
    EXPECT_LT(std::stod(end[17]), 800);
  }
}

TEST(TrackCommand, BackwardPathlinesReleasedAtTheEndGoBackThroughTheSimulation) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), TransientParticles());
  std::vector<std::string> args = TransientRun(dir, "1");
  args.insert(args.end(), {"--backward", "--release-time", "end"});
  ASSERT_EQ(RunQuietly(args), 0);
  double latest = 0;
  for (const PathRecord& r : ReadPathlines(dir.File("paths1.txt")))
    if (r.code < 0) latest = std::max(latest, r.time);
  // Back from day 201 beyond the start of the last period, never before day 0.
  EXPECT_GT(latest, 100);
  EXPECT_LE(latest, 201 * (1 + 1e-9));

  // From the start of the first time step, the default, there is no going back.
  args.resize(args.size() - 2);
  ASSERT_EQ(RunQuietly(args), 0);
  for (const PathRecord& r : ReadPathlines(dir.File("paths1.txt"))) EXPECT_FALSE(r.code < 0 && r.time > 0);
}

TEST(TrackCommand, RefusesWrongArguments) {
  const Arguments refused[] = {
      {SharedRun("uniform1/lahey/uniform1.mdl"), "--out", "x"},
      {"m.mdl", "--particles", "p"},
      {"m.mdl", "--particles", "p", "--out", "x", "--recharge-faces", "4"},
      {"m.mdl", "--particles", "p", "--out", "x", "--period", "2"},
      {"m.mdl", "--particles", "p", "--out", "x", "--sinks", "some"},
      {"m.mdl", "--particles", "p", "--out", "x", "--release-time", "-1"},
      {"m.mdl", "--particles", "p", "--out", "x", "--release-time", "end"},  // flowlines have no release time
      {"m.mdl", "--particles", "p", "--out", "x", "--format", "mp7", "--forward", "--backward"},
      {"m.mdl", "--particles", "p", "--out", "x", "--format", "tif"},
      {"m.mdl", "--particles", "p", "--endpoints", "x.vtp"},  // end points are no poly data
      {"m.mdl", "--particles", "p", "--endpoints", "x", "--replay"},
      {"m.mdl", "--particles", "p", "--out", "x", "--threads", "-1"},
  };
  for (const Arguments& args : refused) EXPECT_EQ(RunCli("track", args), 2) << args.back();
}

TEST(TrackCommand, RefusesAMissingTimeStepAndAReleaseAfterTheSimulation) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), "KESTRA_V100_PARTICLES\r\n 0 \r\n");
  const std::string model = SharedRun("uniform1/lahey/uniform1.mdl");
  std::string errors;
  EXPECT_EQ(RunCli("track", {model, "--particles", dir.File("p.txt"), "--out", dir.File("o.txt"), "--period", "1",
                             "--step", "2"}, &errors), 1);
  EXPECT_TRUE(Contains(errors, "no time step 2 in stress period 1")) << errors;
  EXPECT_EQ(RunCli("track", {model, "--particles", dir.File("p.txt"), "--out", dir.File("o.txt"), "--pathlines",
                             "--release-time", "1.5"}, &errors), 2);
  EXPECT_TRUE(Contains(errors, "beyond the end of the simulation, 1")) << errors;
}

}  // namespace
}  // namespace kestra::cli
