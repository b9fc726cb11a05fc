// What every command shares (--version, --help on standard output, unknown
// options named), and the commands that only print a file: settings and
// results.
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "support/temp_dir.h"

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
