#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

std::size_t LinesStartingWith(const std::string& text, const std::string& start) {
  std::istringstream lines(text);
  std::size_t count = 0;
  for (std::string line; std::getline(lines, line);) count += line.rfind(start, 0) == 0;
  return count;
}

TEST(ResultsCommand, ListsEveryHeadRecordOfARealLaheyFile) {
  std::ostringstream out, err;
  const auto path = (test::TestDataDir() / "transient2/lahey/HEADS.DAT").string();
  ASSERT_EQ(cli::RunCommandLine({"results", path}, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("layout: Lahey\nprecision: single (4-byte reals)\n"), std::string::npos);
  // Nine saved time steps of two layers.
  EXPECT_EQ(LinesStartingWith(out.str(), "KSTP"), 18u);
  EXPECT_NE(out.str().find("KSTP 4  KPER 3  TEXT \"HEAD\"  NCOL 15  NROW 15  ILAY 2  PERTIM 100  TOTIM 201"),
            std::string::npos)
      << out.str();
}

TEST(ResultsCommand, ListsEveryBudgetTermOfARealStreamFile) {
  std::ostringstream out, err;
  const auto path = (test::TestDataDir() / "mixed3d/modflow/mixed3d.cbc").string();
  ASSERT_EQ(cli::RunCommandLine({"results", path}, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("layout: stream\n"), std::string::npos);
  EXPECT_EQ(LinesStartingWith(out.str(), "KSTP"), 10u);
  EXPECT_NE(out.str().find("KSTP 1  KPER 1  TEXT \"ET\"  NCOL 30  NROW 25  NLAY 3\n"), std::string::npos);
}

TEST(ResultsCommand, FileOfNoKnownLayoutFails) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("notes.txt"), "nothing MODFLOW would write");
  std::ostringstream out, err;
  EXPECT_EQ(cli::RunCommandLine({"results", dir.File("notes.txt")}, out, err), 1);
  EXPECT_NE(err.str().find("is not compatible"), std::string::npos);
}

}  // namespace
}  // namespace kestra::cli
