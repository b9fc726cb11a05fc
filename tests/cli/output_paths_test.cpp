// A batch command writes only regular files or new names, and never a file
// the open model reads: the old contents stay.
#include "cli/output_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

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

// Every family lists its packages, grid and listed files beside the files
// every model has; a new name beside them stays writable.
TEST(OutputPaths, ThePackageFilesOfEveryModelFamilyAreRefused) {
  const fs::path data = test::TestDataDir();
  const struct {
    fs::path model;
    std::vector<std::string> inputs;
  } cases[] = {
      {data / "mixed3d/modflow/mixed3d.nam", {"mixed3d.dis", "mixed3d.wel", "mixed3d.lst", "mixed3d.mpbas"}},
      {data / "mixed3d/namefile/mixed3d.nam", {"mixed3d.main", "mixed3d.riv", "mixed3d.evt"}},
      {data / "mixed3d/lahey/mixed3d.mdl", {"mixed3d.TOP", "mixed3d.TRA", "mixed3d.RCD", "mixed3d.WEL"}},
      {data / "usgs/ex01_mf6/mfsim.nam",
       {"ex01_mf6.nam", "ex01_mf6.tdis", "ex01_mf6.dis", "ex01_mf6.dis.grb", "ex01_mf6.riv", "ex01_mf6.mpbas"}},
  };
  for (const auto& c : cases) {
    Session session;
    CollectingInterface ui;
    ASSERT_TRUE(OpenBatchModel(c.model.string(), session, ui)) << c.model;
    const fs::path folder = c.model.parent_path();
    for (const std::string& input : c.inputs)
      EXPECT_NE(OutputPathProblem((folder / input).string(), session).find("is a file the model reads"),
                std::string::npos)
          << c.model << ": " << input;
    EXPECT_EQ(OutputPathProblem((folder / "pathlines.txt").string(), session), "") << c.model;
  }
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
