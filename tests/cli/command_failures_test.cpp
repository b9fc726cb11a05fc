// Hostile paths and failures no command foresaw: every command ends with a
// message and an exit status, never with an exception.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <sstream>
#include <stdexcept>

#include "cli/commands.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

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

// The MODFLOW-2005 example with one result file name replaced.
std::string NameFileWithDrawdowns(const test::TempDir& dir, const std::string& drawdowns) {
  const std::string path = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  std::string text = test::ReadWholeFile(path);
  text.replace(text.find("mixed3d.ddn"), 11, drawdowns);
  test::WriteWholeFile(path, text);
  return path;
}

TEST(CommandFailures, AResultFileNameTooLongIsAMissingFile) {
  test::TempDir dir;
  const std::string path = NameFileWithDrawdowns(dir, std::string(300, 'd') + ".ddn");
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"info", path}, out, err), 0) << err.str();
  EXPECT_TRUE(Contains(out.str(), "loaded: heads yes, drawdowns no, flow terms yes")) << out.str();
  EXPECT_TRUE(Contains(out.str(), "(missing)")) << out.str();
}

TEST(CommandFailures, AResultFileThatIsALoopOfLinksIsAMissingFile) {
  test::TempDir dir;
  const std::string path = NameFileWithDrawdowns(dir, "loop.ddn");
  fs::create_symlink("loop.ddn", dir.path() / "loop.ddn");
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"info", path}, out, err), 0) << err.str();
  EXPECT_TRUE(Contains(out.str(), "loaded: heads yes, drawdowns no, flow terms yes")) << out.str();
  std::ostringstream listing, listingErr;
  EXPECT_EQ(RunCommandLine({"results", dir.File("loop.ddn")}, listing, listingErr), 1);
  EXPECT_TRUE(Contains(listingErr.str(), "cannot open")) << listingErr.str();
}

TEST(CommandFailures, AParticleFileThatIsAFolderIsRefused) {
  test::TempDir dir;
  const std::string model = (test::TestDataDir() / "uniform1/lahey/uniform1.mdl").string();
  fs::create_directory(dir.path() / "particles.par");
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"track", model, "--particles", dir.File("particles.par"), "--out", dir.File("p.txt")},
                           out, err),
            1);
  EXPECT_TRUE(Contains(err.str(), "Is a directory")) << err.str();
}

}  // namespace
}  // namespace kestra::cli
