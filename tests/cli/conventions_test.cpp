// What every command shares: --version, --help on standard output, unknown
// options named.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

struct CommandRun {
  explicit CommandRun(const Arguments& args) : status(RunCommandLine(args, out, err)) {}
  std::ostringstream out, err;
  int status;
};

TEST(Conventions, VersionNamesProgramCommitAndQt) {
  const CommandRun run({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.str().starts_with("kestra-cli 0.1.0 (commit ")) << run.out.str();
  EXPECT_NE(run.out.str().find("\nQt 6."), std::string::npos) << run.out.str();
  EXPECT_TRUE(run.err.str().empty());
}

TEST(Conventions, HelpOfEveryCommandGoesToStandardOutput) {
  for (const char* command : {"info", "settings", "results", "export", "plot", "track"}) {
    SCOPED_TRACE(command);
    const CommandRun run({command, "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.str().starts_with(std::string("usage: kestra-cli ") + command)) << run.out.str();
    EXPECT_TRUE(run.err.str().empty()) << run.err.str();
  }
}

TEST(Conventions, AnUnknownOptionIsNamedBeforeTheUsage) {
  for (const char* command : {"info", "settings", "results"}) {
    SCOPED_TRACE(command);
    const CommandRun run({command, "--bogus", "model.nam"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.str().starts_with(std::string("kestra-cli ") + command + ": unknown option --bogus\nusage: "))
        << run.err.str();
    EXPECT_TRUE(run.out.str().empty());
  }
}

TEST(Conventions, SettingsListsTheLayerPorosities) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.ini"), "[POROSITY]\nLayer3=0.3\nLayer1=0.25\n");
  const CommandRun run({"settings", dir.File("m.ini")});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.str().ends_with("POROSITY/Layer1=0.25\nPOROSITY/Layer3=0.3\n")) << run.out.str();
}

}  // namespace
}  // namespace kestra::cli
