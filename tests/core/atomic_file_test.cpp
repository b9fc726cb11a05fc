// A file written whole: the old contents stay until the new ones are on
// the disk, nothing is left beside the file, and a link is written through.
#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "support/write_limit.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

std::size_t FilesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFile, ReplacesTheFileAndLeavesNothingBeside) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("ends.csv"), "old\n");
  fs::permissions(dir.File("ends.csv"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir.File("ends.csv"), "new\n", error)) << error;
  EXPECT_EQ(test::ReadWholeFile(dir.File("ends.csv")), "new\n");
  EXPECT_EQ(fs::status(dir.File("ends.csv")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
      << "the old file's permissions are kept";
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(AtomicFile, AStreamNotCommittedLeavesTheOldFile) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("paths.txt"), "old pathlines\n");
  {
    ReplacingFile file(dir.File("paths.txt"));
    ASSERT_TRUE(file.IsOpen()) << file.Problem();
    file.Stream() << "half a record";
    EXPECT_EQ(test::ReadWholeFile(dir.File("paths.txt")), "old pathlines\n") << "replaced only on commit";
  }
  EXPECT_EQ(test::ReadWholeFile(dir.File("paths.txt")), "old pathlines\n");
  EXPECT_EQ(FilesIn(dir.path()), 1u) << "the new file is gone";
}

TEST(AtomicFile, ALinkIsWrittenThroughToItsTarget) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("target.txt"), "old");
  fs::create_symlink(dir.File("target.txt"), dir.File("link.txt"));
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir.File("link.txt"), "new", error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir.File("link.txt")));
  EXPECT_EQ(test::ReadWholeFile(dir.File("target.txt")), "new");
}

TEST(AtomicFile, AFailedWriteKeepsTheOldFileAndSaysWhy) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(dir.File("none/ends.csv"), "new", error));
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  // A FIFO or device is never replaced by a regular file.
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  error.clear();
  EXPECT_FALSE(WriteFileAtomically(dir.File("fifo"), "new", error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_fifo(dir.File("fifo")));
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

// A write that fails part way through the stream's buffer, long before the
// commit, still gives the system's reason.
TEST(AtomicFile, AStreamCutOffByAFullDiskNamesTheReason) {
  test::TempDir dir;
  const std::string path = dir.File("pathlines.txt");
  test::WriteWholeFile(path, "old");
  {
    const test::FileSizeLimit limit(4096);
    ReplacingFile file(path);
    ASSERT_TRUE(file.IsOpen()) << file.Problem();
    for (int n = 0; n < 100000; ++n) file.Stream() << "line " << n << "\n";
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.Problem(), path + ": File too large");
  }
  EXPECT_EQ(test::ReadWholeFile(path), "old");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace kestra
