// kestra-cli track as a batch engine: any number of particles, end points
// only, pathlines written while tracking (the same bytes as the replay), the
// MODPATH 7 layouts and particles that could not be tracked.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

CommandResult Track(Arguments args) {
  args.insert(args.begin(), "track");
  return RunLine(args);
}

TEST(TrackBatch, TracksEveryParticleOfALargeFile) {
  // More particles than the window holds and than a 16-bit count.
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), ParticleFile(19, 10, 1, 1, 180));
  const CommandResult run = Track({SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", dir.File("p.txt"), "--endpoints",
                         dir.File("ends.csv"), "--threads", "0", "--quiet", "--summary"});
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
  const std::vector<std::string> common{model, "--particles", dir.File("p.txt"), "--forward", "--backward", "--quiet"};
  std::vector<std::string> both = common, alone = common;
  both.insert(both.end(), {"--out", dir.File("paths.txt"), "--endpoints", dir.File("both.csv")});
  alone.insert(alone.end(), {"--endpoints", dir.File("alone.csv")});
  ASSERT_EQ(Track(both).code, 0);
  const CommandResult run = Track(alone);
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
  const CommandResult run = Track({SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", dir.File("p.txt"), "--endpoints",
                         dir.File("ends.csv"), "--quiet"});
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.err.find("their places in the file: 2\n"), std::string::npos) << run.err;
  EXPECT_EQ(Lines(test::ReadWholeFile(dir.File("ends.csv"))).size(), 3u);
}

// Done, or done with particles at their step limit, which these short runs leave.
bool Finished(const CommandResult& run) {
  return run.code == 0 || (run.code == 3 && Contains(run.err, "tracking steps ran out"));
}

// The models of the test data, each with particles over its grid and the
// runs that exercise it.
struct Case {
  std::string model, form, file;
  int columns, rows, layers;
  std::vector<std::string> options;
};

std::vector<Case> Cases() {
  const std::vector<std::string> both{"--forward", "--backward", "--step-length", "40", "--time-unit", "days",
                                      "--max-steps", "10"};
  std::vector<std::string> transient = both;
  transient.insert(transient.end(), {"--pathlines", "--stop-at-time-limit", "off", "--period", "2", "--step", "2"});
  // Every form of a model tracks alike (SharedModelForm): one form a model.
  return {{"uniform1", "modflow", "uniform1.nam", 20, 10, 1, both},
          {"mixed3d", "powerstation", "mixed3d.mdl", 30, 25, 3, both},
          {"transient2", "lahey", "transient2.mdl", 15, 15, 2, transient}};
}

// The pathlines and end points do not depend on the thread count either.
TEST(TrackBatch, PathlinesWrittenWhileTrackingAreTheReplayedOnesOnEveryModelAndThreadCount) {
  for (const Case& c : Cases()) {
    test::TempDir dir;
    test::WriteWholeFile(dir.File("p.txt"), ParticleFile(c.columns, c.rows, c.layers, 2));
    const std::string model = test::CopySharedRun(dir, c.model, c.form, c.file);
    std::vector<std::string> replay{model, "--particles", dir.File("p.txt"), "--quiet", "--replay", "--out",
                                    dir.File("replayed.txt")};
    replay.insert(replay.end(), c.options.begin(), c.options.end());
    ASSERT_TRUE(Finished(Track(replay))) << c.model << " " << c.form;
    const std::string expected = test::ReadWholeFile(dir.File("replayed.txt"));
    EXPECT_GT(expected.size(), 20000u) << c.model;
    std::string firstEnds;
    for (const char* threads : {"1", "2", "3"}) {
      std::vector<std::string> args{model, "--particles", dir.File("p.txt"), "--quiet", "--threads", threads,
                                    "--out", dir.File("written.txt"), "--endpoints", dir.File("ends.csv")};
      args.insert(args.end(), c.options.begin(), c.options.end());
      ASSERT_TRUE(Finished(Track(args)));
      EXPECT_TRUE(test::ReadWholeFile(dir.File("written.txt")) == expected)
          << c.model << " " << c.form << " on " << threads << " threads";
      const std::string ends = test::ReadWholeFile(dir.File("ends.csv"));
      if (firstEnds.empty()) firstEnds = ends;
      EXPECT_EQ(ends, firstEnds) << c.model << " end points on " << threads << " threads";
    }
  }
}

TEST(TrackBatch, TheExampleWritesThePathlinesOfTheReplayAndOfEarlierVersions) {
  test::TempDir dir;
  const std::filesystem::path example = test::ExamplesDir() / "mixed3d";
  for (const auto& entry : std::filesystem::directory_iterator(example))
    std::filesystem::copy_file(entry.path(), dir.path() / entry.path().filename());
  // The rules of the time the files were written: face values interpolated
  // between cells, every sink and source cell holding the particles.
  const std::vector<std::string> common{dir.File("mixed3d.nam"), "--particles", dir.File("column2.par"), "--forward",
                                        "--backward", "--quiet", "--face-rule", "interpolated", "--stop-at-sinks", "on"};
  std::vector<std::string> replay = common;
  replay.insert(replay.end(), {"--replay", "--out", dir.File("replayed.txt")});
  ASSERT_EQ(Track(replay).code, 0);
  const std::string expected = test::ReadWholeFile((test::TestDataDir() / "golden" / "mixed3d-column2-pathlines.txt").string());
  EXPECT_GT(Lines(expected).size(), 100u);
  EXPECT_TRUE(test::ReadWholeFile(dir.File("replayed.txt")) == expected);
  const std::string endpoints = test::ReadWholeFile((test::TestDataDir() / "golden" / "mixed3d-column2-endpoints.csv").string());
  for (const char* threads : {"1", "2", "4"}) {
    std::vector<std::string> args = common;
    args.insert(args.end(), {"--threads", threads, "--out", dir.File("written.txt"), "--endpoints", dir.File("ends.csv")});
    ASSERT_EQ(Track(args).code, 0);
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
  std::vector<std::string> kestra = common, mp7 = common;
  kestra.insert(kestra.end(), {"--out", dir.File("paths.txt"), "--endpoints", dir.File("ends.csv")});
  mp7.insert(mp7.end(), {"--out", dir.File("paths.mp7"), "--endpoints", dir.File("ends.mp7"), "--format", "mp7"});
  ASSERT_EQ(Track(kestra).code, 0);
  ASSERT_EQ(Track(mp7).code, 0);

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

}  // namespace
}  // namespace kestra::cli
