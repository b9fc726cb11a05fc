// What every command shares (--version, --help on standard output, unknown
// options named, failures no command foresaw ending with a message and an
// exit status, never an exception), the options several commands share, the
// outputs a batch command refuses, and the commands that only print what
// they read: info, settings and results.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/batch_model.h"
#include "cli/cli_runner.h"
#include "cli/open_options.h"
#include "cli/output_paths.h"
#include "cli/track_progress.h"
#include "cli/tracking_options.h"
#include "support/model_writers.h"
#include "support/temp_dir.h"
#include "support/working_folder.h"
#include "tracking/endpoint_table.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

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
    if (std::string(command) != "track") continue;
    for (const char* option : {"--particles", "--out", "--endpoints", "--forward", "--backward", "--pathlines",
                               "--step-length", "--time-unit", "--max-steps", "--stop-at-sinks", "--stop-at-time-limit",
                               "--recharge-faces", "--et-faces", "--period", "--step", "--threads", "--sinks",
                               "--release-time", "--format", "--quiet", "--replay"})
      EXPECT_TRUE(Contains(run.out, option)) << option;
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

// Eight particles of uniform1 tracked quietly with the options given.
CommandResult TrackEight(const test::TempDir& dir, const Arguments& options) {
  test::WriteWholeFile(dir.File("p.par"), ParticleFile(4, 2, 1, 1));
  Arguments line{"track", SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", dir.File("p.par"), "--quiet"};
  line.insert(line.end(), options.begin(), options.end());
  return RunLine(line);
}

TEST(Conventions, StandardOutputHoldsOnlyResults) {
  test::TempDir dir;
  const CommandResult csv = TrackEight(dir, {"--endpoints", "-"});
  ASSERT_EQ(csv.code, 0) << csv.err;
  const std::vector<std::string> lines = Lines(csv.out);
  ASSERT_EQ(lines.size(), 9u) << csv.out;
  EXPECT_EQ(lines[0], EndpointCsvHeader());
  EXPECT_TRUE(csv.err.starts_with("tracked 8 particles; end points in -\nforward: 8 ")) << csv.err;

  const CommandResult said = TrackEight(dir, {"--endpoints", dir.File("ends.csv"), "--summary"});
  EXPECT_TRUE(said.out.starts_with("tracked 8 particles; end points in ")) << said.out;
  EXPECT_EQ(said.err, "");

  EXPECT_EQ(TrackEight(dir, {"--endpoints", "-", "--out", "/dev/stdout"}).code, 2);
}

TEST(Conventions, ParticlesStillMovingAtTheStepLimitAreWarnedOf) {
  test::TempDir dir;
  const CommandResult run =
      TrackEight(dir, {"--endpoints", dir.File("ends.csv"), "--max-steps", "2", "--step-length", "1"});
  EXPECT_EQ(run.code, 3);
  EXPECT_TRUE(Contains(run.err, "\nforward: 8 reached its step limit\n")) << run.err;
  EXPECT_TRUE(Contains(run.err, "kestra-cli track: warning: 8 particles ended only because their 2 tracking steps "
                                "ran out; raise --max-steps or --step-length"))
      << run.err;
}

TEST(Conventions, AFileThatCannotBeReadIsNamedWithExitStatusOne) {
  const std::string model = SharedRun("uniform1/lahey/uniform1.mdl");
  test::TempDir dir;
  test::WriteWholeFile(dir.File("notes.txt"), "nothing MODFLOW would write");
  fs::create_directory(dir.path() / "particles.par");
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
      {{"results", dir.File("notes.txt")}, "is not compatible"},
      {{"track", model, "--particles", dir.File("particles.par"), "--out", dir.File("p.txt")},
       "particles.par is a directory, not a particle file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
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
  for (const auto& [n, line] : std::vector<std::pair<std::size_t, std::string>>{
           {0, "OPTIONS/HNOFLO=-999.99"}, {2, "COLOR/MESH= 12632256"}, {54, "DXF_MAPS/FILE#1="},
           {84, "TIME/Current UNIT= 1"}, {85, "TIME/STEP LENGHT= 31557600"}, {91, "TIME/Mark on Xsections= 0"},
           {92, "TIME/Boundary cells= 0"}, {93, "TRACKING/Face velocities= 0"}, {96, "TRACKING/Unsaved steps= 0"}})
    EXPECT_EQ(lines[n], line) << n;
}

TEST(SettingsCommand, PrintsTheValuesOfTheFileWithTheModelsTimeUnit) {
  const struct {
    const char* settings;
    const char* timeSection;  // of m.TRA; "" for none
    std::vector<std::string> shown;
    const char* ending = "";
  } cases[] = {
      {"[cross_sections]\nexaggeration=2.5\n[TIME]\nCurrent UNIT=4\n",
       "",
       {"CROSS_SECTIONS/EXAGGERATION= 2.5\n", "TIME/STEP LENGHT= 365.25\n"},
       ""},
      // The time unit defaults to the model's.
      {"[COLOR]\nMESH=0\n", "1 4\n100 3 2\n", {"TIME/Current UNIT= 4\n", "TIME/STEP LENGHT= 365.25\n"}, ""},
      // The layer porosities come last, in layer order.
      {"[POROSITY]\nLayer3=0.3\nLayer1=0.25\n", "", {}, "POROSITY/Layer1=0.25\nPOROSITY/Layer3=0.3\n"},
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
    EXPECT_TRUE(run.out.ends_with(c.ending)) << run.out;
  }
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

TEST(CommandFailures, AnExceptionEndsTheCommandWithAMessage) {
  std::ostringstream err, other, none;
  EXPECT_EQ(RunCatchingFailures([]() -> int { throw fs::filesystem_error("cannot stat", std::error_code()); }, err), 1);
  EXPECT_TRUE(Contains(err.str(), "kestra-cli: the command failed: ")) << err.str();
  EXPECT_TRUE(Contains(err.str(), "cannot stat")) << err.str();
  EXPECT_EQ(RunCatchingFailures([]() -> int { throw 7; }, other), 1);
  EXPECT_EQ(other.str(), "kestra-cli: the command failed\n");
  EXPECT_EQ(RunCatchingFailures([] { return 2; }, none), 2);
  EXPECT_EQ(none.str(), "");
}

// The MODFLOW-2005 example with its drawdown file name replaced by a name
// too long for the system, or by a link to itself.
TEST(CommandFailures, ADrawdownFileThatCannotBeOpenedIsAMissingFile) {
  for (const std::string& drawdowns : {std::string(300, 'd') + ".ddn", std::string("loop.ddn")}) {
    SCOPED_TRACE(drawdowns.size());
    test::TempDir dir;
    const std::string path = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
    std::string text = test::ReadWholeFile(path);
    text.replace(text.find("mixed3d.ddn"), 11, drawdowns);
    test::WriteWholeFile(path, text);
    const bool loop = drawdowns == "loop.ddn";
    if (loop) fs::create_symlink("loop.ddn", dir.path() / "loop.ddn");
    const CommandResult info = RunLine({"info", path});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_TRUE(Contains(info.out, "loaded: heads yes, drawdowns no, flow terms yes")) << info.out;
    EXPECT_TRUE(Contains(info.out, "(missing)")) << info.out;
    if (!loop) continue;
    const CommandResult listing = RunLine({"results", dir.File("loop.ddn")});
    EXPECT_EQ(listing.code, 1);
    EXPECT_TRUE(Contains(listing.err, "loop.ddn is a link that leads to no file")) << listing.err;
  }
}

// A name file that is no text file says what the path is, not that the
// files it lists are missing.
TEST(CommandFailures, ANameFileThatCannotBeReadSaysWhatThePathIs) {
  test::TempDir dir;
  fs::create_directory(dir.path() / "folder.nam");
  test::WriteWholeFile(dir.File("binary.nam"), std::string("MAIN m.main\0\x01\x02", 14));
  fs::create_symlink("loop.nam", dir.path() / "loop.nam");
  fs::create_symlink("gone.nam", dir.path() / "dangling.nam");
  const struct {
    std::string name;
    std::string says;
  } cases[] = {
      {"missing.nam", "missing.nam does not exist"},
      {"folder.nam", "folder.nam is a directory, not a name file"},
      {"binary.nam", "binary.nam holds binary data, not a name file"},
      {"loop.nam", "loop.nam is a link that leads to no file (Too many levels of symbolic links)"},
      {"dangling.nam", "dangling.nam is a link that leads to no file"},
  };
  for (const auto& c : cases) {
    const CommandResult info = RunLine({"info", dir.File(c.name)});
    EXPECT_EQ(info.code, 1) << c.name;
    EXPECT_TRUE(Contains(info.out + info.err, "The name file cannot be read: " + dir.File(c.says)))
        << info.out << info.err;
    EXPECT_FALSE(Contains(info.out + info.err, "Could not find data files")) << c.name;
  }
}

TEST(PorosityOption, OneValueSetsEveryLayerAndAListSetsLayerByLayer) {
  std::ostringstream err;
  Arguments args = {"info", "--porosity", "0.2", "model.nam"};
  LayerPorosity porosity;
  ASSERT_TRUE(TakePorosityOption(args, porosity, err));
  EXPECT_EQ(args, (Arguments{"info", "model.nam"}));
  EXPECT_EQ(porosity.everyLayer, 0.2f);
  EXPECT_TRUE(porosity.byLayer.empty());

  args = {"model.nam", "--porosity=0.2,,3e-1"};
  porosity = {};
  ASSERT_TRUE(TakePorosityOption(args, porosity, err));
  EXPECT_EQ(args, (Arguments{"model.nam"}));
  EXPECT_EQ(porosity.byLayer, (std::map<int, float>{{1, 0.2f}, {3, 0.3f}}));
  EXPECT_EQ(porosity.everyLayer, 0.0f);
  EXPECT_TRUE(err.str().empty());
}

TEST(PorosityOption, MissingOrInvalidListsAreRefusedWithTheArgumentsKept) {
  for (const Arguments& given :
       {Arguments{"m.nam", "--porosity"}, Arguments{"--porosity", "0"}, Arguments{"--porosity", "1.2"},
        Arguments{"--porosity=0.2,x"}, Arguments{"--porosity", "0.2;0.3"}}) {
    std::ostringstream err;
    Arguments args = given;
    LayerPorosity porosity;
    porosity.everyLayer = 0.5f;
    EXPECT_FALSE(TakePorosityOption(args, porosity, err)) << given.back();
    EXPECT_EQ(args, given);
    EXPECT_EQ(porosity.everyLayer, 0.5f);
    EXPECT_NE(err.str().find("--porosity needs"), std::string::npos);
  }
  Arguments unrelated = {"--porosityx", "m.nam"};
  std::ostringstream err;
  LayerPorosity porosity;
  EXPECT_TRUE(TakePorosityOption(unrelated, porosity, err));
  EXPECT_EQ(unrelated.size(), 2u);
}

TrackingSettings Applied(const Arguments& words) {
  Arguments args = words;
  TrackingOptions options;
  std::ostringstream err;
  EXPECT_TRUE(TakeTrackingOptions(args, options, "track", err)) << err.str();
  TrackingSettings tracking;
  ApplyTrackingOptions(options, StressPeriods{}, tracking);
  return tracking;
}

TEST(TrackingOptions, SinkSourceAndFaceRulesMapOntoTheSettings) {
  const struct {
    Arguments words;
    WeakCellRule sinks, sources;
    FaceVelocityRule faces;
  } cases[] = {
      {{}, WeakCellRule::Stop, WeakCellRule::PassThrough, FaceVelocityRule::OwnCell},
      {{"--stop-at-sinks", "on"}, WeakCellRule::Stop, WeakCellRule::Stop, FaceVelocityRule::OwnCell},
      {{"--stop-at-sinks", "off"}, WeakCellRule::PassThrough, WeakCellRule::PassThrough, FaceVelocityRule::OwnCell},
      {{"--weak-sinks", "pass", "--weak-sources", "stop"}, WeakCellRule::PassThrough, WeakCellRule::Stop,
       FaceVelocityRule::OwnCell},
      {{"--stop-at-sinks", "on", "--weak-sources", "pass"}, WeakCellRule::Stop, WeakCellRule::PassThrough,
       FaceVelocityRule::OwnCell},
      {{"--face-rule", "interpolated"}, WeakCellRule::Stop, WeakCellRule::PassThrough,
       FaceVelocityRule::Interpolated},
  };
  for (const auto& c : cases) {
    const TrackingSettings t = Applied(c.words);
    const std::string shown = c.words.empty() ? "(none)" : c.words.front() + " " + c.words[1];
    EXPECT_EQ(t.WeakSinks, c.sinks) << shown;
    EXPECT_EQ(t.WeakSources, c.sources) << shown;
    EXPECT_EQ(t.FaceVelocities, c.faces) << shown;
  }
}

TEST(TrackingOptions, BadRuleValuesAreNamed) {
  for (const Arguments& words : std::vector<Arguments>{{"--weak-sinks", "keep"}, {"--weak-sources", "on"},
                                                       {"--face-rule", "mean"}, {"--face-rule"}}) {
    Arguments args = words;
    TrackingOptions options;
    std::ostringstream err;
    EXPECT_FALSE(TakeTrackingOptions(args, options, "track", err));
    EXPECT_NE(err.str().find(words.front()), std::string::npos) << err.str();
  }
}

TEST(OutputPaths, OnlyRegularFilesOrNewNamesThatTheModelDoesNotRead) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  Session session;
  CollectingInterface ui;
  ASSERT_TRUE(OpenBatchModel(model, session, ui));
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  fs::create_symlink(dir.File("mixed3d.cbc"), dir.File("budget-link"));
  const struct {
    std::string path;
    std::string problem;  // empty: may be written
  } cases[] = {
      {dir.File("new.txt"), ""},
      {dir.File("fifo"), "is not a regular file"},
      {dir.path().string(), "is not a regular file"},
      {"/dev/null", "is not a regular file"},
      {dir.File("mixed3d.hds"), "is a file the model reads"},
      {dir.File("budget-link"), "is a file the model reads"},
      {dir.File("./mixed3d.nam"), "is a file the model reads"},
  };
  for (const auto& c : cases) {
    const std::string problem = OutputPathProblem(c.path, session);
    EXPECT_EQ(problem.empty(), c.problem.empty()) << c.path << ": " << problem;
    EXPECT_TRUE(Contains(problem, c.problem)) << c.path << ": " << problem;
  }
  EXPECT_NE(OutputPathsProblem({"", dir.File("new.txt"), dir.File("mixed3d.hds")}, session), "");
}

// Every family lists its packages, grid and listed files beside the files
// every model has; a new name beside them stays writable.
TEST(OutputPaths, ThePackageFilesOfEveryModelFamilyAreRefused) {
  const fs::path data = test::TestDataDir();
  const struct {
    fs::path model;
    std::vector<std::string> inputs;
  } cases[] = {
      {data / "mixed3d/modflow/mixed3d.nam", {"mixed3d.dis", "mixed3d.wel", "mixed3d.lst", "mixed3d.mpbas"}},
      {data / "mixed3d/namefile/mixed3d.nam", {"mixed3d.main", "mixed3d.riv", "mixed3d.evt"}},
      {data / "mixed3d/lahey/mixed3d.mdl", {"mixed3d.TOP", "mixed3d.TRA", "mixed3d.RCD", "mixed3d.WEL"}},
      {data / "usgs/ex01_mf6/mfsim.nam",
       {"ex01_mf6.nam", "ex01_mf6.tdis", "ex01_mf6.dis", "ex01_mf6.dis.grb", "ex01_mf6.riv", "ex01_mf6.mpbas"}},
  };
  for (const auto& c : cases) {
    Session session;
    CollectingInterface ui;
    ASSERT_TRUE(OpenBatchModel(c.model.string(), session, ui)) << c.model;
    const fs::path folder = c.model.parent_path();
    for (const std::string& input : c.inputs)
      EXPECT_TRUE(Contains(OutputPathProblem((folder / input).string(), session), "is a file the model reads"))
          << c.model << ": " << input;
    EXPECT_EQ(OutputPathProblem((folder / "pathlines.txt").string(), session), "") << c.model;
  }
}

TEST(InfoCommand, DescribesEachFormOfASharedModel) {
  const struct {
    const char* model;
    const char* form;
    std::vector<std::string> lines;
  } cases[] = {
      {"mixed3d",
       "powerstation",
       {"grid: 30 columns, 25 rows, 3 layers\n", "layer types: 1 0 0\n", "(PowerStation, 4-byte reals)",
        "loaded: heads yes, drawdowns yes, flow terms yes, velocities yes\n", "messages: 0\n"}},
      // Steps of 100/8.125 growing by 1.5 after the first period's day.
      {"transient2",
       "namefile",
       {"(name file)", "  period 3: length 100, 4 time steps, multiplier 1.5\n", "    step 1: 1 to 13.30769",
        "cells: active 420, inactive 0, fixed head 30, sinks 1\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.model) + "/" + c.form);
    test::TempDir copy;  // an import writes the layer property file beside the name file
    const std::string extension = std::string(c.form) == "powerstation" ? ".mdl" : ".nam";
    const std::string path = test::CopySharedRun(copy, c.model, c.form, c.model + extension);
    const CommandResult run = RunLine({"info", path});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    for (const std::string& line : c.lines) EXPECT_TRUE(Contains(run.out, line)) << line << "\n" << run.out;
  }
}

TEST(InfoCommand, PrintsTheMessagesOfAModelWithoutResults) {
  test::TempDir dir;
  const std::string path = test::WriteModelFileSet(dir.path().string(), "bare", test::SmallModel{});
  const CommandResult run = RunLine({"info", path});
  ASSERT_EQ(run.code, 0);
  EXPECT_TRUE(Contains(run.out, "loaded: heads no, drawdowns no, flow terms no, velocities no\n"));
  EXPECT_FALSE(Contains(run.out, "messages: 0\n"));
}

TEST(InfoCommand, ThePorosityOptionReplacesSomeLayersOrAllInEveryKindOfModel) {
  const struct {
    const char* form;
    const char* option;
    const char* porosity;
  } cases[] = {
      {"modflow", ",0.4", "porosity: .2, .4, .3\n"},
      {"lahey", "0.1", "porosity: .1, .1, .1\n"},
      {"namefile", "0.1", "porosity: .1, .1, .1\n"},
      {"modflow", "0.1", "porosity: .1, .1, .1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.form) + " " + c.option);
    test::TempDir copy;
    const std::string path =
        test::CopySharedRun(copy, "mixed3d", c.form, std::string(c.form) == "lahey" ? "mixed3d.mdl" : "mixed3d.nam");
    const CommandResult run = RunLine({"info", "--porosity", c.option, path});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, c.porosity)) << run.out;
  }
  EXPECT_EQ(RunLine({"info", SharedRun("mixed3d/modflow/mixed3d.nam"), "--porosity", "2"}).code, 2);
}

// Started inside the model's folder with the bare file name, as a user does;
// this is also where the MODFLOW-2005 form of a shared model is described.
TEST(InfoCommand, ANameFileWithoutAFolderFindsTheFilesBesideIt) {
  test::TempDir copy;
  test::CopySharedRun(copy, "mixed3d", "modflow", "mixed3d.nam");
  const test::WorkingFolder inside(copy.path());
  for (const std::string path : {"mixed3d.nam", "./mixed3d.nam"}) {
    const CommandResult run = RunLine({"info", path});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    for (const char* line : {"(MODFLOW-2005 name file)\n", "porosity: .2, .25, .3\n",
                             "loaded: heads yes, drawdowns yes, flow terms yes, velocities yes\n", "messages: 0\n"})
      EXPECT_TRUE(Contains(run.out, line)) << line << run.out;
    EXPECT_TRUE(Contains(run.out, "heads file: " + (copy.path() / "mixed3d.hds").string() + " (")) << run.out;
  }
}

TEST(InfoCommand, ASettingsOrResultFileWithoutAFolderIsRead) {
  test::TempDir copy;
  test::CopySharedRun(copy, "mixed3d", "lahey", "mixed3d.mdl");
  const test::WorkingFolder inside(copy.path());
  const CommandResult settings = RunLine({"settings", "mixed3d.ini"});
  EXPECT_EQ(settings.code, 0);
  EXPECT_EQ(settings.err, "");
  const CommandResult listing = RunLine({"results", "HEADS.DAT"});
  EXPECT_EQ(listing.code, 0) << listing.err;
}

// What info says of a model of `count` periods of `count` equal steps, each
// period `length` long.
CommandResult InfoOfPeriods(int count, float length) {
  test::TempDir dir;
  test::SmallModel model;
  StressPeriods& periods = model.periods;
  periods.NPER = count;
  periods.timeUnit = 4;
  periods.PERLEN.assign(count + 1, length);
  periods.NSTP.assign(count + 1, count);
  periods.TSMULT.assign(count + 1, 1.0f);
  return RunLine({"info", test::WriteModelFileSet(dir.path().string(), "periods", model)});
}

// 300 periods of 300 steps: the first and last few of each, and counts.
TEST(InfoCommand, ManyTimeStepsAreSummarised) {
  const CommandResult run = InfoOfPeriods(300, 75.0f);  // steps of .25: sums without rounding
  ASSERT_EQ(run.code, 0);
  for (const char* part : {"stress periods: 300 (time unit days), 90000 time steps\n",
                           "  period 3: length 75, 300 time steps, multiplier 1\n",
                           "  ... 294 stress periods more\n  period 298: length 75",
                           "    step 3: .5 to .75\n    ... 294 time steps more\n    step 298: 74.25 to 74.5\n",
                           "  period 300: length 75", "    step 300: 22499.75 to 22500\n"})
    EXPECT_TRUE(Contains(run.out, part)) << part << run.out.substr(0, 600);
  EXPECT_FALSE(Contains(run.out, "period 4:"));
  EXPECT_FALSE(Contains(run.out, "step 4:"));
  EXPECT_LT(std::count(run.out.begin(), run.out.end(), '\n'), 80);
}

TEST(InfoCommand, SevenPeriodsOrStepsAreListedWhole) {
  const CommandResult run = InfoOfPeriods(7, 7.0f);
  ASSERT_EQ(run.code, 0);
  EXPECT_TRUE(Contains(run.out, "  period 4: length 7"));
  EXPECT_TRUE(Contains(run.out, "    step 4: 3 to 4\n"));
  EXPECT_FALSE(Contains(run.out, "more\n"));
}

TEST(InfoCommand, RefusedModelExitsWithOne) {
  const CommandResult run = RunLine({"info", "/nonexistent/site.mdl"});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(Contains(run.out, "\n  File /nonexistent/site.mdl not found!\n")) << run.out;
  EXPECT_EQ(run.err, "kestra-cli info: /nonexistent/site.mdl could not be opened\n");
  EXPECT_EQ(RunLine({"info"}).code, 2);
}

}  // namespace
}  // namespace kestra::cli
