// A particle file in a batch command is read strictly: every wrong value is
// named with its file, line and field.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_runner.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

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
  for (const char* command : {"track", "plot"}) {
    SCOPED_TRACE(command);
    const std::string out = dir.File(std::string(command) == "track" ? "ends.csv" : "p.dxf");
    const CommandResult run =
        RunLine({command, SharedRun("uniform1/lahey/uniform1.mdl"), "--particles", missing,
                 std::string(command) == "track" ? "--endpoints" : "--out", out});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.starts_with("kestra-cli " + std::string(command) + ": " + missing + " does not exist\n"))
        << run.err;
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

}  // namespace
}  // namespace kestra::cli
