// A batch command writes only regular files or new names, and never a file
// the open model reads: the old contents stay.
#include "cli/output_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "cli/batch_model.h"
#include "cli/cli_runner.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

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
    if (c.problem.empty()) {
      EXPECT_EQ(problem, "") << c.path;
    } else {
      EXPECT_NE(problem.find(c.problem), std::string::npos) << c.path << ": " << problem;
    }
  }
  EXPECT_NE(OutputPathsProblem({"", dir.File("new.txt"), dir.File("mixed3d.hds")}, session), "");
}

TEST(OutputPaths, TrackAndExportLeaveTheModelsResultsAsTheyWere) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  const std::string heads = test::ReadWholeFile(dir.File("mixed3d.hds"));
  test::WriteWholeFile(dir.File("p.par"), "KESTRA_V100_PARTICLES\r\n 1 \r\n0.5 0.5 0.5 2 2 1 12 255 1\r\n");
  std::string errors;
  EXPECT_EQ(RunCli("track", {model, "--particles", dir.File("p.par"), "--out", dir.File("mixed3d.hds"), "--quiet"},
                   &errors),
            1);
  EXPECT_NE(errors.find("is a file the model reads"), std::string::npos) << errors;
  EXPECT_EQ(RunCli("export", {"heads", model, "--layer", "1", "--out", dir.File("mixed3d.hds")}, &errors), 1);
  EXPECT_EQ(test::ReadWholeFile(dir.File("mixed3d.hds")), heads);
}

}  // namespace
}  // namespace kestra::cli
