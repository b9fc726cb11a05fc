#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SettingsCommand, AMissingFilePrintsTheDefaultsInTableOrder) {
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"settings", "/nonexistent/site.ini"}, out, err), 0);
  const auto lines = Lines(out.str());
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

TEST(SettingsCommand, PrintsTheValuesOfTheFile) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.ini"), "[cross_sections]\nexaggeration=2.5\n[TIME]\nCurrent UNIT=4\n");
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"settings", dir.File("m.ini")}, out, err), 0);
  EXPECT_NE(out.str().find("CROSS_SECTIONS/EXAGGERATION= 2.5\n"), std::string::npos);
  EXPECT_NE(out.str().find("TIME/STEP LENGHT= 365.25\n"), std::string::npos);
  EXPECT_TRUE(err.str().empty());
}

TEST(SettingsCommand, TheTimeUnitDefaultsToTheModelsUnit) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.ini"), "[COLOR]\nMESH=0\n");
  test::WriteWholeFile(dir.File("m.TRA"), "1 4\n100 3 2\n");
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"settings", dir.File("m.ini")}, out, err), 0);
  EXPECT_NE(out.str().find("TIME/Current UNIT= 4\n"), std::string::npos);
  EXPECT_NE(out.str().find("TIME/STEP LENGHT= 365.25\n"), std::string::npos);
}

TEST(SettingsCommand, ADirectoryADeviceOrABinaryFileIsRefused) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("heads.ini"), std::string("\x1e\0\0\0HEAD", 8));
  for (const std::string& path : {dir.path().string(), std::string("/dev/null"), dir.File("heads.ini")}) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLine({"settings", path}, out, err), 1) << path;
    EXPECT_EQ(out.str(), "") << path;
    EXPECT_NE(err.str().find(path), std::string::npos) << err.str();
  }
}

TEST(SettingsCommand, WrongArgumentsGiveUsage) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"settings"}, out, err), 2);
  EXPECT_NE(err.str().find("usage"), std::string::npos);
  EXPECT_EQ(RunCommandLine({"frobnicate"}, out, err), 2);
}

}  // namespace
}  // namespace kestra::cli
