#include "core/model_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "support/working_folder.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

TEST(AbsolutePath, RelativePathsResolveAgainstTheWorkingFolderAndOthersStay) {
  test::TempDir dir;
  const test::WorkingFolder inside(dir.path());
  const fs::path here = fs::current_path();
  EXPECT_EQ(AbsolutePath("site.nam"), (here / "site.nam").string());
  EXPECT_EQ(AbsolutePath("./site.nam"), (here / "site.nam").string());
  EXPECT_EQ(AbsolutePath("runs/./a/site.nam"), (here / "runs" / "a" / "site.nam").string());
  // ".." is kept: behind a link it need not lead back to the folder it follows.
  EXPECT_EQ(AbsolutePath("../site.nam"), (here / ".." / "site.nam").string());
  EXPECT_EQ(AbsolutePath("/data/model/site.nam"), "/data/model/site.nam");
  EXPECT_EQ(AbsolutePath(""), "");
}

TEST(AbsolutePath, FilesBesideARelativeModelAreFound) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("site.hds"), "x");
  const test::WorkingFolder inside(dir.path());
  const std::string model = AbsolutePath("site.nam");
  EXPECT_TRUE(FileExists(BesideFile(model, "site.hds")));
  EXPECT_EQ(fs::path(BesideFile(model, "site.hds")).parent_path(), fs::current_path());
}

}  // namespace
}  // namespace kestra
