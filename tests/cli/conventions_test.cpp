// What every command shares (--version, --help on standard output, unknown
// options named), and the commands that only print a file: settings and
// results.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "cli/batch_model.h"
#include "cli/cli_runner.h"
#include "cli/track_progress.h"
#include "support/temp_dir.h"
#include "tracking/endpoint_table.h"

namespace kestra::cli {
namespace {

TEST(Conventions, VersionNamesProgramCommitAndQt) {
  const CommandResult run = RunLine({"--version"});
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(run.out.starts_with("kestra-cli 0.1.0 (commit ")) << run.out;
  EXPECT_TRUE(Contains(run.out, "\nQt 6.")) << run.out;
  EXPECT_TRUE(run.err.empty());
}

TEST(Conventions, HelpOfEveryCommandGoesToStandardOutput) {
  for (const char* command : {"info", "settings", "results", "export", "plot", "track"}) {
    SCOPED_TRACE(command);
    const CommandResult run = RunLine({command, "--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.out.starts_with(std::string("usage: kestra-cli ") + command)) << run.out;
    EXPECT_TRUE(run.err.empty()) << run.err;
  }
}

TEST(Conventions, AnUnknownOptionOrCommandIsRefusedWithTheUsage) {
  for (const char* command : {"info", "settings", "results"}) {
    SCOPED_TRACE(command);
    const CommandResult run = RunLine({command, "--bogus", "model.nam"});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.starts_with(std::string("kestra-cli ") + command + ": unknown option --bogus\nusage: "))
        << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  const CommandResult noFile = RunLine({"settings"});
  EXPECT_EQ(noFile.code, 2);
  EXPECT_TRUE(Contains(noFile.err, "usage")) << noFile.err;
  EXPECT_EQ(RunLine({"frobnicate"}).code, 2);
}

TEST(Conventions, StandardOutputHoldsOnlyResults) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.par"), ParticleFile(4, 2, 1, 1));
  const Arguments track{"track", SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", dir.File("p.par"),
                        "--quiet"};
  Arguments toOut = track;
  toOut.insert(toOut.end(), {"--endpoints", "-"});
  const CommandResult csv = RunLine(toOut);
  ASSERT_EQ(csv.code, 0) << csv.err;
  const std::vector<std::string> lines = Lines(csv.out);
  ASSERT_EQ(lines.size(), 9u) << csv.out;
  EXPECT_EQ(lines[0], EndpointCsvHeader());
  EXPECT_TRUE(csv.err.starts_with("tracked 8 particles; end points in -\nforward: 8 ")) << csv.err;

  Arguments summary = track;
  summary.insert(summary.end(), {"--endpoints", dir.File("ends.csv"), "--summary"});
  const CommandResult said = RunLine(summary);
  EXPECT_TRUE(said.out.starts_with("tracked 8 particles; end points in ")) << said.out;
  EXPECT_EQ(said.err, "");

  Arguments both = track;
  both.insert(both.end(), {"--endpoints", "-", "--out", "/dev/stdout"});
  EXPECT_EQ(RunLine(both).code, 2);
}

TEST(Conventions, ParticlesStillMovingAtTheStepLimitAreWarnedOf) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.par"), ParticleFile(4, 2, 1, 1));
  const CommandResult run =
      RunLine({"track", SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", dir.File("p.par"), "--endpoints",
               dir.File("ends.csv"), "--quiet", "--max-steps", "2", "--step-length", "1"});
  EXPECT_EQ(run.code, 3);
  EXPECT_TRUE(Contains(run.err, "\nforward: 8 reached its step limit\n")) << run.err;
  EXPECT_TRUE(Contains(run.err, "kestra-cli track: warning: 8 particles ended only because their 2 tracking steps "
                                "ran out; raise --max-steps or --step-length"))
      << run.err;
}

TEST(Conventions, AFileThatIsMissingIsNamedWithExitStatusOne) {
  const std::string model = SharedRun("uniform1/lahey/uniform1.mdl");
  test::TempDir dir;
  const struct {
    Arguments line;
    std::string said;
  } cases[] = {
      {{"plot", model, "--out", dir.File("p.png"), "--map", dir.File("roads.dxf")},
       "kestra-cli plot: " + dir.File("roads.dxf") + " does not exist\n"},
      {{"results", dir.File("none.hds")}, "kestra-cli results: " + dir.File("none.hds") + " does not exist\n"},
      {{"info", dir.File("none.nam")}, "kestra-cli info: " + dir.File("none.nam") + " could not be opened\n"},
      {{"track", dir.File("none.nam"), "--particles", "p.par", "--endpoints", dir.File("e.csv")},
       "kestra-cli track: The name file cannot be read: " + dir.File("none.nam") + " does not exist.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line[0]);
    const CommandResult run = RunLine(c.line);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.err, c.said)) << run.err;
  }
}

TEST(Conventions, AnEngineMessageIsOneLineWithItsTitleWhereItSaysMore) {
  const struct {
    const char* title;
    const char* text;
    const char* line;
  } cases[] = {
      {"KESTRA", "The file cannot be read.", "The file cannot be read."},
      {"Error", "No such file", "No such file"},
      {"Contours", "Too many levels:\r\n 1 2 3\r\n", "Contours: Too many levels: 1 2 3"},
      {"", "two\nlines", "two lines"},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageLine(c.title, c.text), c.line);
}

TEST(Conventions, ProgressIntoALogIsAPlainLineEveryFewSeconds) {
  using namespace std::chrono_literals;
  for (const ProgressStyle style : {ProgressStyle::Terminal, ProgressStyle::Log}) {
    std::ostringstream err;
    TrackProgress progress(err, false, style);
    const auto start = TrackProgress::Clock::time_point{} + 1h;
    progress.Start("forward", 100, {}, start);
    progress.Update({10, 100}, start + 500ms);  // too early for any line
    progress.Update({20, 200}, start + 2s);
    progress.Update({30, 300}, start + 3s);
    progress.Update({40, 400}, start + 8s);
    progress.Finish();
    if (style == ProgressStyle::Terminal) {
      EXPECT_EQ(CountOf(err.str(), "\r"), 3) << err.str();
      EXPECT_TRUE(err.str().ends_with("   \n")) << err.str();
    } else {
      EXPECT_EQ(err.str(),
                "forward: 20 of 100 particles, 10 particles/s, 100 cell moves/s\n"
                "forward: 40 of 100 particles, 5 particles/s, 50 cell moves/s\n");
    }
  }
}

TEST(SettingsCommand, AMissingFilePrintsTheDefaultsInTableOrder) {
  const CommandResult run = RunLine({"settings", "/nonexistent/site.ini"});
  ASSERT_EQ(run.code, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 54u + 30u + 13u);
  EXPECT_EQ(lines.front(), "OPTIONS/HNOFLO=-999.99");
  EXPECT_EQ(lines[2], "COLOR/MESH= 12632256");
  EXPECT_EQ(lines[54], "DXF_MAPS/FILE#1=");
  EXPECT_EQ(lines[84], "TIME/Current UNIT= 1");
  EXPECT_EQ(lines[85], "TIME/STEP LENGHT= 31557600");
  EXPECT_EQ(lines[91], "TIME/Mark on Xsections= 0");
  EXPECT_EQ(lines[92], "TIME/Boundary cells= 0");
  EXPECT_EQ(lines[93], "TRACKING/Face velocities= 0");
  EXPECT_EQ(lines.back(), "TRACKING/Unsaved steps= 0");
}

TEST(SettingsCommand, PrintsTheValuesOfTheFileWithTheModelsTimeUnit) {
  const struct {
    const char* settings;
    const char* timeSection;  // of m.TRA; "" for none
    std::vector<std::string> shown;
  } cases[] = {
      {"[cross_sections]\nexaggeration=2.5\n[TIME]\nCurrent UNIT=4\n", "",
       {"CROSS_SECTIONS/EXAGGERATION= 2.5\n", "TIME/STEP LENGHT= 365.25\n"}},
      // The time unit defaults to the model's.
      {"[COLOR]\nMESH=0\n", "1 4\n100 3 2\n", {"TIME/Current UNIT= 4\n", "TIME/STEP LENGHT= 365.25\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    test::TempDir dir;
    test::WriteWholeFile(dir.File("m.ini"), c.settings);
    if (*c.timeSection) test::WriteWholeFile(dir.File("m.TRA"), c.timeSection);
    const CommandResult run = RunLine({"settings", dir.File("m.ini")});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(run.err.empty()) << run.err;
    for (const std::string& line : c.shown) EXPECT_TRUE(Contains(run.out, line)) << line << run.out;
  }
}

TEST(SettingsCommand, ListsTheLayerPorositiesLastInLayerOrder) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.ini"), "[POROSITY]\nLayer3=0.3\nLayer1=0.25\n");
  const CommandResult run = RunLine({"settings", dir.File("m.ini")});
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(run.out.ends_with("POROSITY/Layer1=0.25\nPOROSITY/Layer3=0.3\n")) << run.out;
}

TEST(SettingsCommand, ADirectoryADeviceOrABinaryFileIsRefused) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("heads.ini"), std::string("\x1e\0\0\0HEAD", 8));
  for (const std::string& path : {dir.path().string(), std::string("/dev/null"), dir.File("heads.ini")}) {
    const CommandResult run = RunLine({"settings", path});
    EXPECT_EQ(run.code, 1) << path;
    EXPECT_EQ(run.out, "") << path;
    EXPECT_TRUE(Contains(run.err, path)) << run.err;
  }
}

// The records of a result file by their header lines.
std::size_t LinesStartingWith(const std::string& text, const std::string& start) {
  std::size_t count = 0;
  for (const std::string& line : Lines(text)) count += line.starts_with(start);
  return count;
}

TEST(ResultsCommand, ListsEveryRecordOfRealLaheyAndStreamFiles) {
  const struct {
    const char* file;
    std::size_t records;
    std::vector<std::string> shown;
  } cases[] = {
      // Nine saved time steps of two layers.
      {"transient2/lahey/HEADS.DAT",
       18,
       {"layout: Lahey\nprecision: single (4-byte reals)\n",
        "KSTP 4  KPER 3  TEXT \"HEAD\"  NCOL 15  NROW 15  ILAY 2  PERTIM 100  TOTIM 201"}},
      {"mixed3d/modflow/mixed3d.cbc",
       10,
       {"layout: stream\n", "KSTP 1  KPER 1  TEXT \"ET\"  NCOL 30  NROW 25  NLAY 3\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const CommandResult run = RunLine({"results", SharedRun(c.file)});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "KSTP"), c.records);
    for (const std::string& part : c.shown) EXPECT_TRUE(Contains(run.out, part)) << part << run.out;
  }
}

TEST(ResultsCommand, FileOfNoKnownLayoutFails) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("notes.txt"), "nothing MODFLOW would write");
  const CommandResult run = RunLine({"results", dir.File("notes.txt")});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(Contains(run.err, "is not compatible")) << run.err;
}

}  // namespace
}  // namespace kestra::cli
