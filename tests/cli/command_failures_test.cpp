// Hostile paths and failures no command foresaw: every command ends with a
// message and an exit status, never with an exception.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "cli/cli_runner.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

TEST(CommandFailures, AnExceptionEndsTheCommandWithAMessage) {
  std::ostringstream err;
  EXPECT_EQ(RunCatchingFailures([]() -> int { throw fs::filesystem_error("cannot stat", std::error_code()); }, err), 1);
  EXPECT_TRUE(Contains(err.str(), "kestra-cli: the command failed: ")) << err.str();
  EXPECT_TRUE(Contains(err.str(), "cannot stat")) << err.str();
  std::ostringstream other;
  EXPECT_EQ(RunCatchingFailures([]() -> int { throw 7; }, other), 1);
  EXPECT_EQ(other.str(), "kestra-cli: the command failed\n");
  std::ostringstream none;
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

TEST(CommandFailures, AParticleFileThatIsAFolderIsRefused) {
  test::TempDir dir;
  fs::create_directory(dir.path() / "particles.par");
  const CommandResult run = RunLine({"track", SharedRun("uniform1/lahey/uniform1.mdl"), "--particles",
                                     dir.File("particles.par"), "--out", dir.File("p.txt")});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(Contains(run.err, "particles.par is a directory, not a particle file")) << run.err;
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

}  // namespace
}  // namespace kestra::cli
