// kestra-cli track on the shared MODFLOW runs: pathlines through the time
// steps of a transient run, the sink rules on a real model, the arguments it
// refuses; track as a batch engine (any number of particles, end points only,
// pathlines written while tracking, the MODPATH 7 layouts); the particle file
// read strictly, and kestra-cli particles writing one that track reads back.
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

// Particles spread over both layers of transient2, written into `dir` and
// tracked as pathlines through its nine time steps.
std::vector<std::string> TransientRun(const test::TempDir& dir,
                                      const std::string& model = SharedRun("transient2/lahey/transient2.mdl")) {
  std::string text = "KESTRA_V100_PARTICLES\r\n 24 \r\n";
  for (int row = 2; row <= 13; row += 1)
    for (int layer = 1; layer <= 2; ++layer)
      text += "0.3 0.7 0.5 " + std::to_string(15 - row / 2) + " " + std::to_string(row) + " " +
              std::to_string(layer) + " 12 255 1\r\n";
  test::WriteWholeFile(dir.File("p.txt"), text);
  return {"track", model, "--particles", dir.File("p.txt"), "--out", dir.File("paths1.txt"), "--endpoints",
          dir.File("ends1.csv"), "--pathlines", "--step-length", "25", "--time-unit", "days", "--max-steps", "20",
          "--stop-at-time-limit", "on", "--threads", "1"};
}

TEST(TrackCommand, PathlinesWalkThroughTheTimeStepsAndStopAtTheSimulationEnd) {
  test::TempDir dir;
  ASSERT_EQ(RunQuietly(TransientRun(dir)), 0);
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
  std::vector<std::string> args = TransientRun(dir, dir.File("transient2.nam"));
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
  std::string particles = "KESTRA_V100_PARTICLES\r\n 6 \r\n";
  for (const char* columnRow : {"18 14", "19 14", "20 14", "21 14", "20 15", "21 15"})
    particles += "0.5 0.5 0.5 " + std::string(columnRow) + " 1 12 255 1\r\n";
  test::WriteWholeFile(dir.File("south.txt"), particles);
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
  std::vector<std::string> args = TransientRun(dir);
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
  ExpectRefusals("track", {
      {{model, "--particles", dir.File("p.txt"), "--out", dir.File("o.txt"), "--period", "1", "--step", "2"}, 1,
       "no time step 2 in stress period 1"},
      {{model, "--particles", dir.File("p.txt"), "--out", dir.File("o.txt"), "--pathlines", "--release-time", "1.5"},
       2, "beyond the end of the simulation, 1"},
  });
}

// kestra-cli track with `args`, then `more`.
CommandResult Track(Arguments args, const Arguments& more = {}) {
  args.insert(args.begin(), "track");
  args.insert(args.end(), more.begin(), more.end());
  return RunLine(args);
}

TEST(TrackBatch, TracksEveryParticleOfALargeFile) {
  // More particles than the window holds and than a 16-bit count.
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), ParticleFile(19, 10, 1, 1, 180));
  const CommandResult run = Track({SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", dir.File("p.txt"),
                                   "--endpoints", dir.File("ends.csv"), "--threads", "0", "--quiet", "--summary"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> ends = Lines(test::ReadWholeFile(dir.File("ends.csv")));
  ASSERT_EQ(ends.size(), 34201u);  // the header and 19 x 10 x 180 particles
  EXPECT_EQ(ends.back().substr(0, 12), "34200,forwar");
  for (const std::string& line : ends) EXPECT_EQ(line.find("not tracked"), std::string::npos) << line;
}

TEST(TrackBatch, EndPointsAloneWriteNoPathlinesAndTheSameTable) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), ParticleFile(30, 25, 3, 4));
  const std::string model = test::CopySharedRun(dir, "mixed3d", "lahey", "mixed3d.mdl");
  const Arguments common{model, "--particles", dir.File("p.txt"), "--forward", "--backward", "--quiet"};
  ASSERT_EQ(Track(common, {"--out", dir.File("paths.txt"), "--endpoints", dir.File("both.csv")}).code, 0);
  const CommandResult run = Track(common, {"--endpoints", dir.File("alone.csv")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.find("pathlines"), std::string::npos) << run.out;
  EXPECT_GT(test::ReadWholeFile(dir.File("both.csv")).size(), 1000u);
  EXPECT_EQ(test::ReadWholeFile(dir.File("alone.csv")), test::ReadWholeFile(dir.File("both.csv")));
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    files += entry.path().filename().string().starts_with("paths") ? 1 : 0;
  EXPECT_EQ(files, 1u);
}

TEST(TrackBatch, ParticlesThatCannotBeTrackedAreNamedAndFailTheRun) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"),
                       "KESTRA_V100_PARTICLES\r\n 3 \r\n0.5 0.5 0.5 2 5 1 5 255 1\r\n0.5 0.5 0.5 99 5 1 5 255 1\r\n"
                       "0.5 0.5 0.5 3 5 1 5 255 1\r\n");
  const CommandResult run = Track({SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", dir.File("p.txt"),
                                   "--endpoints", dir.File("ends.csv"), "--quiet"});
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.err.find("their places in the file: 2\n"), std::string::npos) << run.err;
  EXPECT_EQ(Lines(test::ReadWholeFile(dir.File("ends.csv"))).size(), 3u);
}

// Done, or done with particles at their step limit, which these short runs leave.
bool Finished(const CommandResult& run) {
  return run.code == 0 || (run.code == 3 && Contains(run.err, "tracking steps ran out"));
}

// The pathlines and end points do not depend on the thread count either.
TEST(TrackBatch, PathlinesWrittenWhileTrackingAreTheReplayedOnesOnEveryModelAndThreadCount) {
  const std::vector<std::string> both{"--forward", "--backward", "--step-length", "40", "--time-unit", "days",
                                      "--max-steps", "10"};
  std::vector<std::string> transient = both;
  transient.insert(transient.end(), {"--pathlines", "--stop-at-time-limit", "off", "--period", "2", "--step", "2"});
  // Every form of a model tracks alike (SharedModelForm): one form a model.
  const struct {
    std::string model, form, file;
    int columns, rows, layers;
    std::vector<std::string> options;
  } cases[] = {{"uniform1", "modflow", "uniform1.nam", 20, 10, 1, both},
               {"mixed3d", "powerstation", "mixed3d.mdl", 30, 25, 3, both},
               {"transient2", "lahey", "transient2.mdl", 15, 15, 2, transient}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model + " " + c.form);
    test::TempDir dir;
    test::WriteWholeFile(dir.File("p.txt"), ParticleFile(c.columns, c.rows, c.layers, 2));
    std::vector<std::string> common{test::CopySharedRun(dir, c.model, c.form, c.file), "--particles", dir.File("p.txt"),
                                    "--quiet"};
    common.insert(common.end(), c.options.begin(), c.options.end());
    ASSERT_TRUE(Finished(Track(common, {"--replay", "--out", dir.File("replayed.txt")})));
    const std::string expected = test::ReadWholeFile(dir.File("replayed.txt"));
    EXPECT_GT(expected.size(), 20000u);
    std::string firstEnds;
    for (const char* threads : {"1", "2", "3"}) {
      ASSERT_TRUE(Finished(
          Track(common, {"--threads", threads, "--out", dir.File("written.txt"), "--endpoints", dir.File("ends.csv")})))
          << threads << " threads";
      EXPECT_TRUE(test::ReadWholeFile(dir.File("written.txt")) == expected) << threads << " threads";
      const std::string ends = test::ReadWholeFile(dir.File("ends.csv"));
      if (firstEnds.empty()) firstEnds = ends;
      EXPECT_EQ(ends, firstEnds) << "end points on " << threads << " threads";
    }
  }
}

TEST(TrackBatch, TheExampleWritesThePathlinesOfTheReplayAndOfEarlierVersions) {
  test::TempDir dir;
  // The rules of the time the files were written: face values interpolated
  // between cells, every sink and source cell holding the particles.
  const std::vector<std::string> common{test::CopyExample(dir), "--particles", dir.File("column2.par"), "--forward",
                                        "--backward",           "--quiet",     "--face-rule",           "interpolated",
                                        "--stop-at-sinks",      "on"};
  ASSERT_EQ(Track(common, {"--replay", "--out", dir.File("replayed.txt")}).code, 0);
  const auto golden = [](const char* name) { return test::ReadWholeFile(SharedRun(std::string("golden/") + name)); };
  const std::string expected = golden("mixed3d-column2-pathlines.txt");
  EXPECT_GT(Lines(expected).size(), 100u);
  EXPECT_TRUE(test::ReadWholeFile(dir.File("replayed.txt")) == expected);
  const std::string endpoints = golden("mixed3d-column2-endpoints.csv");
  for (const char* threads : {"1", "2", "4"}) {
    const CommandResult run =
        Track(common, {"--threads", threads, "--out", dir.File("written.txt"), "--endpoints", dir.File("ends.csv")});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(test::ReadWholeFile(dir.File("written.txt")) == expected) << threads << " threads";
    EXPECT_EQ(test::ReadWholeFile(dir.File("ends.csv")), endpoints) << threads << " threads";
  }
}

// Reads a file of the MODPATH 7 layouts as FloPy does: the lines up to "END
// HEADER" are the header, the rest whitespace-separated numbers.
std::vector<std::string> Body(const std::vector<std::string>& lines) {
  std::size_t end = 0;
  while (end < lines.size() && lines[end] != "END HEADER") ++end;
  EXPECT_LT(end, lines.size());
  return {lines.begin() + static_cast<std::ptrdiff_t>(end) + 1, lines.end()};
}

TEST(TrackBatch, Modpath7FilesHoldTheirFieldsAndAgreeWithTheKestraFiles) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), ParticleFile(30, 25, 3, 5));
  const std::string model = test::CopySharedRun(dir, "mixed3d", "lahey", "mixed3d.mdl");
  const std::vector<std::string> common{model, "--particles", dir.File("p.txt"), "--backward", "--quiet"};
  ASSERT_EQ(Track(common, {"--out", dir.File("paths.txt"), "--endpoints", dir.File("ends.csv")}).code, 0);
  const Arguments mp7{"--out", dir.File("paths.mp7"), "--endpoints", dir.File("ends.mp7"), "--format", "mp7"};
  ASSERT_EQ(Track(common, mp7).code, 0);

  const std::vector<std::string> endLines = Lines(test::ReadWholeFile(dir.File("ends.mp7")));
  ASSERT_GE(endLines.size(), 7u);
  EXPECT_EQ(endLines[0], "MODPATH_ENDPOINT_FILE         7         2");
  EXPECT_EQ(endLines[1].substr(0, 5), "    2");  // backward
  const std::vector<std::string> csv = Lines(test::ReadWholeFile(dir.File("ends.csv")));
  const std::vector<std::string> records = Body(endLines);
  ASSERT_EQ(records.size(), csv.size() - 1);
  EXPECT_EQ(Words(endLines[1])[1], std::to_string(records.size()));
  for (std::size_t n = 0; n < records.size(); ++n) {
    const std::vector<std::string> f = Words(records[n]);
    ASSERT_EQ(f.size(), 26u) << records[n];
    const std::vector<std::string> row = CsvFields(csv[n + 1]);
    EXPECT_EQ(f[0], row[0]);  // sequence number: the particle
    EXPECT_EQ(f[2], row[0]);
    // Final cell number of (column, row, layer), layer and X, Y, Z.
    const int column = std::stoi(row[8]), rowIndex = std::stoi(row[9]), layer = std::stoi(row[10]);
    EXPECT_EQ(std::stoi(f[16]), ((layer - 1) * 25 + rowIndex - 1) * 30 + column);
    EXPECT_EQ(std::stoi(f[17]), layer);
    EXPECT_NEAR(std::stod(f[18]), std::stod(row[11]), 1e-6);
    EXPECT_NEAR(std::stod(f[19]), 1 - std::stod(row[12]), 1e-6);  // local y counts upward
    EXPECT_NEAR(std::stod(f[20]), std::stod(row[13]), 1e-6);
    // X and Y; Z differs by design: the MODPATH file gives the elevation in
    // the final cell, the Kestra file the pathline's in the cell it left.
    for (int axis = 0; axis < 2; ++axis)
      EXPECT_NEAR(std::stod(f[21 + axis]), std::stod(row[14 + axis]), 1e-9 * (1 + std::fabs(std::stod(row[14 + axis]))));
    EXPECT_NEAR(std::stod(f[5]), std::stod(row[17]), 1e-9 * (1 + std::stod(row[17])));
  }

  // Pathlines: a line of sequence number, group, id and point count, then
  // the points of the kestra file, each in the cell it leaves; where the
  // particle stops on entering a cell, one more point there ends the path.
  const std::vector<std::string> pathLines = Lines(test::ReadWholeFile(dir.File("paths.mp7")));
  EXPECT_EQ(pathLines[0], "MODPATH_PATHLINE_FILE         7         2");
  const std::vector<std::string> points = Body(pathLines);
  const std::vector<std::string> kestraPoints = Lines(test::ReadWholeFile(dir.File("paths.txt")));
  std::size_t at = 0, matched = 0;
  while (at < points.size()) {
    const std::vector<std::string> head = Words(points[at]);
    ASSERT_EQ(head.size(), 4u) << points[at];
    const int count = std::stoi(head[3]);
    std::string layerBefore;
    for (int p = 1; p <= count; ++p) {
      const std::vector<std::string> f = Words(points[at + static_cast<std::size_t>(p)]);
      ASSERT_EQ(f.size(), 11u);
      const bool entryPoint = p == count && matched > 0 &&
                              (matched == kestraPoints.size() || Words(kestraPoints[matched])[0] != "-" + head[0]);
      ASSERT_TRUE(entryPoint || matched < kestraPoints.size());
      const std::vector<std::string> k = Words(kestraPoints[entryPoint ? matched - 1 : matched]);
      EXPECT_EQ(k[0], "-" + head[0]);
      // x, y, z: the kestra file holds 32-bit coordinates (y from a 32-bit
      // grid length, one unit in the last place 6e-5 at 1 000 m), this one
      // eight digits.
      for (int axis = 0; axis < 2; ++axis) EXPECT_NEAR(std::stod(f[1 + axis]), std::stod(k[1 + axis]), 2e-4);
      if (!entryPoint) {
        EXPECT_NEAR(std::stod(f[3]), std::stod(k[4]), 2e-4);
      }
      EXPECT_NEAR(std::stod(f[4]), std::stod(k[5]), 1e-7 * (1 + std::stod(k[5])));
      EXPECT_EQ(f[8], entryPoint || layerBefore.empty() ? k[8] : layerBefore);
      layerBefore = k[8];
      if (!entryPoint) ++matched;
    }
    at += static_cast<std::size_t>(count) + 1;
  }
  EXPECT_EQ(matched, kestraPoints.size());
}

constexpr const char* kHeader = "KESTRA_V100_PARTICLES\r\n";

struct FaultCase {
  const char* what;
  std::string body;  // the lines after the first
  int code;
  std::string said;  // after "kestra-cli track: <file>, "
};

TEST(BatchParticleFile, EveryWrongValueIsNamedWithItsLineAndField) {
  const std::string good = "0.5 0.5 0.5 2 5 1 5 255 1\r\n";
  const FaultCase cases[] = {
      {"a word as local z", " 1 \r\n0.5 0.5 abc 2 5 1 5 255 1\r\n", 1,
       "line 3, local z: 'abc' is not a number (particle 1)"},
      {"a local y beyond its cell", " 2 \r\n" + good + "0.5 1.5 0.5 2 5 1 5 255 1\r\n", 1,
       "line 4, local y: 1.5 lies outside 0..1 (particle 2)"},
      {"more particles counted than held", " 3 \r\n" + good + good, 1, "line 2, count: 3, but the file holds 2"},
      {"an incomplete last particle", " 2 \r\n" + good + "0.5 0.5 0.5 2\r\n", 1,
       "line 2, count: 2, but the file holds 1 and 4 values of an incomplete one"},
      {"a count that is no number", " x2 \r\n" + good, 1, "line 2, count: 'x2' is not a number"},
      {"a retardation of 0", " 1 \r\n0.5 0.5 0.5 2 5 1 5 255 0\r\n", 1,
       "line 3, retardation: 0 is not a positive number (particle 1)"},
      {"values over several lines", " 1 \r\n0.5 0.5\r\n0.5 2 99\r\n1 5 255 1\r\n", 3,
       "line 4, row: 99 lies outside the grid's 10 rows (particle 1)"},
      {"a layer beyond the grid", " 2 \r\n" + good + "0.5 0.5 0.5 2 5 4 5 255 1\r\n", 3,
       "line 4, layer: 4 lies outside the grid's 1 layers (particle 2)"},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    const std::string particles = dir.File("p.par");
    test::WriteWholeFile(particles, kHeader + c.body);
    const CommandResult run = RunLine({"track", SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", particles,
                                       "--endpoints", dir.File("ends.csv"), "--quiet"});
    EXPECT_EQ(run.code, c.code);
    EXPECT_TRUE(Contains(run.err, "kestra-cli track: " + particles + ", " + c.said + "\n")) << run.err;
    // A value that cannot be used refuses the file; a cell beyond the grid leaves its particle out.
    EXPECT_EQ(std::filesystem::exists(dir.File("ends.csv")), c.code == 3);
  }
}

TEST(BatchParticleFile, AFileThatCannotBeReadIsNamed) {
  test::TempDir dir;
  const std::string missing = dir.File("nothere.par");
  const struct {
    std::string command, option, out;
  } cases[] = {{"track", "--endpoints", dir.File("ends.csv")}, {"plot", "--out", dir.File("p.dxf")}};
  for (const auto& [command, option, out] : cases) {
    SCOPED_TRACE(command);
    const CommandResult run =
        RunLine({command, SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", missing, option, out});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.starts_with("kestra-cli " + command + ": " + missing + " does not exist\n")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST(BatchParticleFile, TheNamedFaultsStopAtTwenty) {
  test::TempDir dir;
  std::string body = " 25 \r\n";
  for (int n = 0; n < 25; ++n) body += "0.5 0.5 zz 2 5 1 5 255 1\r\n";
  test::WriteWholeFile(dir.File("p.par"), kHeader + body);
  const CommandResult run = RunLine({"track", SharedRun("uniform1/lahey/uniform1.mdl"), "--particles",
                                     dir.File("p.par"), "--endpoints", dir.File("ends.csv")});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(CountOf(run.err, "'zz' is not a number"), 20);
  EXPECT_TRUE(Contains(run.err, "kestra-cli track: and 5 more\n")) << run.err;
}

// The particle lines of a particle file, each split into its nine fields.
std::vector<std::vector<std::string>> ParticleFields(const std::string& path) {
  std::vector<std::vector<std::string>> particles;
  const std::vector<std::string> lines = Lines(test::ReadWholeFile(path));
  for (std::size_t n = 2; n < lines.size(); ++n) particles.push_back(Words(lines[n]));
  return particles;
}

TEST(ParticlesCommand, PlacesGroupsOverTheChosenCells) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  test::WriteWholeFile(dir.File("cells.csv"), "layer,row,column\n1 2 3\n# a note\n2,5,5\n");
  const struct {
    Arguments options;
    std::size_t count;
    std::vector<std::string> first;  // local x, y, z, column, row, layer of the first particle
    std::string colour = "255";
  } cases[] = {
      {{"--rows", "2:3", "--columns", "2:4"}, 24, {"0.25", "0.25", "0.5", "2", "2", "1"}},
      {{"--layer", "2", "--rows", "5", "--columns", "7", "--lattice", "1x1x3"},
       3,
       {"0.5", "0.5", "0.1666667", "7", "5", "2"}},
      {{"--cells", "wells", "--face", "5=2x2", "--colour", "65280"},
       8,
       {"0.25", "0.25", "0.9999", "15", "8", "2"},
       "65280"},
      {{"--cells-file", dir.File("cells.csv"), "--face", "1=1x1"}, 2, {"0.0001", "0.5", "0.5", "3", "2", "1"}},
      {{"--rectangle", "0,0,100,100", "--circle", "6,10,2"}, 24, {}},
      {{"--world-rectangle", "0,0,100,100", "--circle", "6,10,2"}, 24, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options[0]);
    Arguments line{"particles", model, "--out", dir.File("p.par")};
    line.insert(line.end(), c.options.begin(), c.options.end());
    const CommandResult run = RunLine(line);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(run.err.starts_with("placed " + std::to_string(c.count) + " particles in ")) << run.err;
    const auto particles = ParticleFields(dir.File("p.par"));
    ASSERT_EQ(particles.size(), c.count);
    if (!c.first.empty()) {
      EXPECT_EQ(std::vector<std::string>(particles[0].begin(), particles[0].begin() + 6), c.first);
    }
    EXPECT_EQ(particles[0][7], c.colour);
    // What is written is a particle file the tracking takes whole.
    EXPECT_EQ(
        RunLine({"track", model, "--particles", dir.File("p.par"), "--endpoints", dir.File("e.csv"), "--quiet"}).code,
        0);
  }
}

TEST(ParticlesCommand, ReadsAModpathStartingLocationsFile) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "usgs", "ex01_mf2005", "ex01_mf2005.nam");
  const std::string locations = (test::TestDataDir() / "usgs/ex01_mf2005/ex01a_mf2005.sloc").string();
  const CommandResult run =
      RunLine({"particles", model, "--out", dir.File("p.par"), "--starting-locations", locations});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto particles = ParticleFields(dir.File("p.par"));
  ASSERT_EQ(particles.size(), 21u);
  EXPECT_EQ(std::vector<std::string>(particles[1].begin(), particles[1].begin() + 6),
            (std::vector<std::string>{"0.5", "0.5", "1", "3", "2", "1"}));
}

TEST(ParticlesCommand, RefusesWhatCannotBePlacedByName) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  const std::string out = dir.File("p.par");
  test::WriteWholeFile(dir.File("cells.csv"), "1,2,3\n4,1,1\n");
  ExpectRefusals("particles", {
      {{model, "--out", out, "--rows", "3:2"}, 2, "bad option or value: --rows 3:2"},
      {{model, "--out", out, "--face", "7=1x1"}, 2, "bad option or value: --face 7=1x1"},
      {{model, "--out", out, "--rows", "2", "--cells", "wells"}, 2, "one choice of cells"},
      {{model, "--out", out, "--retardation", "0"}, 2, "etardation"},
      {{model, "--out", out, "--layer", "4"}, 2, "--layer 4 lies beyond the 3 layers"},
      {{model}, 2, "MODEL and --out are needed"},
      {{model, "--out", out, "--cells-file", dir.File("cells.csv")}, 1,
       dir.File("cells.csv") + ", line 2: '4,1,1' is no layer,row,column within the grid's 3 layers, 25 rows and 30 "
                               "columns"},
      {{model, "--out", out, "--rectangle", "-10,-10,-5,-5"}, 1,
       "no particle was placed in 0 active cells; nothing was written"},
  });
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace kestra::cli
