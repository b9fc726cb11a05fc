#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/commands.h"
#include "support/model_writers.h"
#include "support/temp_dir.h"
#include "support/working_folder.h"

namespace kestra::cli {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(InfoCommand, DescribesASharedModelFileSet) {
  std::ostringstream out, err;
  const std::string path = (test::TestDataDir() / "mixed3d/powerstation/mixed3d.mdl").string();
  ASSERT_EQ(RunCommandLine({"info", path}, out, err), 0) << out.str();
  const std::string text = out.str();
  EXPECT_TRUE(Contains(text, "grid: 30 columns, 25 rows, 3 layers\n"));
  EXPECT_TRUE(Contains(text, "layer types: 1 0 0\n"));
  EXPECT_TRUE(Contains(text, "(PowerStation, 4-byte reals)"));
  EXPECT_TRUE(Contains(text, "loaded: heads yes, drawdowns yes, flow terms yes, velocities yes\n"));
  EXPECT_TRUE(Contains(text, "messages: 0\n"));
}

TEST(InfoCommand, ImportsANameFileAndListsItsPeriods) {
  std::ostringstream out, err;
  test::TempDir copy;  // the import writes the layer property file beside the name file
  const std::string path = test::CopySharedRun(copy, "transient2", "namefile", "transient2.nam");
  ASSERT_EQ(RunCommandLine({"info", path}, out, err), 0) << out.str();
  EXPECT_TRUE(Contains(out.str(), "(name file)"));
  EXPECT_TRUE(Contains(out.str(), "  period 3: length 100, 4 time steps, multiplier 1.5\n"));
  // Steps of 100/8.125 growing by 1.5 after the first period's day.
  EXPECT_TRUE(Contains(out.str(), "    step 1: 1 to 13.30769"));
  EXPECT_TRUE(Contains(out.str(), "cells: active 420, inactive 0, fixed head 30, sinks 1\n"));
}

TEST(InfoCommand, PrintsTheMessagesOfAModelWithoutResults) {
  test::TempDir dir;
  const std::string path = test::WriteModelFileSet(dir.path().string(), "bare", test::SmallModel{});
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"info", path}, out, err), 0);
  EXPECT_TRUE(Contains(out.str(), "loaded: heads no, drawdowns no, flow terms no, velocities no\n"));
  EXPECT_FALSE(Contains(out.str(), "messages: 0\n"));
}

TEST(InfoCommand, ImportsAModflow2005ModelWithThePorosityOption) {
  test::TempDir copy;  // the import writes the layer property file beside the name file
  const std::string path = test::CopySharedRun(copy, "mixed3d", "modflow", "mixed3d.nam");
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"info", path}, out, err), 0) << out.str() << err.str();
  EXPECT_TRUE(Contains(out.str(), "(MODFLOW-2005 name file)\n"));
  EXPECT_TRUE(Contains(out.str(), "porosity: .2, .25, .3\n"));
  EXPECT_TRUE(Contains(out.str(), "loaded: heads yes, drawdowns yes, flow terms yes, velocities yes\n"));
  EXPECT_TRUE(Contains(out.str(), "messages: 0\n"));

  std::ostringstream withOption;
  ASSERT_EQ(RunCommandLine({"info", "--porosity", ",0.4", path}, withOption, err), 0);
  EXPECT_TRUE(Contains(withOption.str(), "porosity: .2, .4, .3\n"));
  EXPECT_EQ(RunCommandLine({"info", path, "--porosity", "2"}, withOption, err), 2);
}

TEST(InfoCommand, PorosityOptionAppliesToEveryKindOfModel) {
  for (const std::string form : {"lahey", "namefile", "modflow"}) {
    test::TempDir copy;
    const std::string path =
        test::CopySharedRun(copy, "mixed3d", form, form == "lahey" ? "mixed3d.mdl" : "mixed3d.nam");
    std::ostringstream out, err;
    ASSERT_EQ(RunCommandLine({"info", "--porosity", "0.1", path}, out, err), 0) << form;
    EXPECT_TRUE(Contains(out.str(), "porosity: .1, .1, .1\n")) << form << "\n" << out.str();
  }
}

// Started inside the model's folder with the bare file name, as a user does.
TEST(InfoCommand, ANameFileWithoutAFolderFindsTheFilesBesideIt) {
  test::TempDir copy;
  test::CopySharedRun(copy, "mixed3d", "modflow", "mixed3d.nam");
  const test::WorkingFolder inside(copy.path());
  for (const std::string path : {"mixed3d.nam", "./mixed3d.nam"}) {
    std::ostringstream out, err;
    ASSERT_EQ(RunCommandLine({"info", path}, out, err), 0) << out.str() << err.str();
    EXPECT_TRUE(Contains(out.str(), "porosity: .2, .25, .3\n")) << out.str();
    EXPECT_TRUE(Contains(out.str(), "messages: 0\n")) << out.str();
    EXPECT_TRUE(Contains(out.str(), "heads file: " + (copy.path() / "mixed3d.hds").string() + " (")) << out.str();
  }
}

TEST(InfoCommand, ASettingsFileWithoutAFolderIsRead) {
  test::TempDir copy;
  test::CopySharedRun(copy, "mixed3d", "lahey", "mixed3d.mdl");
  const test::WorkingFolder inside(copy.path());
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"settings", "mixed3d.ini"}, out, err), 0);
  EXPECT_EQ(err.str(), "");
  std::ostringstream listing, listingErr;
  EXPECT_EQ(RunCommandLine({"results", "HEADS.DAT"}, listing, listingErr), 0) << listingErr.str();
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
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"info", path}, out, err), 0);
  const std::string text = out.str();
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
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"info", test::WriteModelFileSet(dir.path().string(), "seven", model)}, out, err), 0);
  EXPECT_TRUE(Contains(out.str(), "  period 4: length 7"));
  EXPECT_TRUE(Contains(out.str(), "    step 4: 3 to 4\n"));
  EXPECT_FALSE(Contains(out.str(), "more\n"));
}

TEST(InfoCommand, RefusedModelExitsWithOne) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"info", "/nonexistent/site.mdl"}, out, err), 1);
  EXPECT_TRUE(Contains(out.str(), "Error: File /nonexistent/site.mdl not found!\n"));
  EXPECT_EQ(RunCommandLine({"info"}, out, err), 2);
}

}  // namespace
}  // namespace kestra::cli
