#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/model_writers.h"
#include "support/temp_dir.h"
#include "support/working_folder.h"

namespace kestra::cli {
namespace {

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
      {"mixed3d",
       "modflow",
       {"(MODFLOW-2005 name file)\n", "porosity: .2, .25, .3\n",
        "loaded: heads yes, drawdowns yes, flow terms yes, velocities yes\n", "messages: 0\n"}},
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
    EXPECT_EQ(RunLine({"info", path, "--porosity", "2"}).code, 2);
  }
}

// Started inside the model's folder with the bare file name, as a user does.
TEST(InfoCommand, ANameFileWithoutAFolderFindsTheFilesBesideIt) {
  test::TempDir copy;
  test::CopySharedRun(copy, "mixed3d", "modflow", "mixed3d.nam");
  const test::WorkingFolder inside(copy.path());
  for (const std::string path : {"mixed3d.nam", "./mixed3d.nam"}) {
    const CommandResult run = RunLine({"info", path});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out, "porosity: .2, .25, .3\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "messages: 0\n")) << run.out;
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

// 300 periods of 300 steps: the first and last few of each, and counts.
TEST(InfoCommand, ManyTimeStepsAreSummarised) {
  test::TempDir dir;
  test::SmallModel model;
  StressPeriods& periods = model.periods;
  periods.NPER = 300;
  periods.timeUnit = 4;
  periods.PERLEN.assign(301, 75.0f);  // steps of .25: sums without rounding
  periods.NSTP.assign(301, 300);
  periods.TSMULT.assign(301, 1.0f);
  const std::string path = test::WriteModelFileSet(dir.path().string(), "long", model);
  const CommandResult run = RunLine({"info", path});
  ASSERT_EQ(run.code, 0);
  const std::string& text = run.out;
  EXPECT_TRUE(Contains(text, "stress periods: 300 (time unit days), 90000 time steps\n")) << text;
  EXPECT_TRUE(Contains(text, "  period 3: length 75, 300 time steps, multiplier 1\n"));
  EXPECT_TRUE(Contains(text, "  ... 294 stress periods more\n  period 298: length 75"));
  EXPECT_TRUE(Contains(text, "    step 3: .5 to .75\n    ... 294 time steps more\n    step 298: 74.25 to 74.5\n"))
      << text.substr(0, 600);
  EXPECT_TRUE(Contains(text, "  period 300: length 75"));
  EXPECT_TRUE(Contains(text, "    step 300: 22499.75 to 22500\n"));
  EXPECT_FALSE(Contains(text, "period 4:"));
  EXPECT_FALSE(Contains(text, "step 4:"));
  EXPECT_LT(std::count(text.begin(), text.end(), '\n'), 80);
}

TEST(InfoCommand, SevenPeriodsOrStepsAreListedWhole) {
  test::TempDir dir;
  test::SmallModel model;
  StressPeriods& periods = model.periods;
  periods.NPER = 7;
  periods.PERLEN.assign(8, 7.0f);
  periods.NSTP.assign(8, 7);
  periods.TSMULT.assign(8, 1.0f);
  const CommandResult run = RunLine({"info", test::WriteModelFileSet(dir.path().string(), "seven", model)});
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
