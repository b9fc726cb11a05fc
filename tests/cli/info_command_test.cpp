#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"
#include "support/model_writers.h"
#include "support/temp_dir.h"

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

TEST(InfoCommand, RefusedModelExitsWithOne) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"info", "/nonexistent/site.mdl"}, out, err), 1);
  EXPECT_TRUE(Contains(out.str(), "Error: File /nonexistent/site.mdl not found!\n"));
  EXPECT_EQ(RunCommandLine({"info"}, out, err), 2);
}

}  // namespace
}  // namespace kestra::cli
