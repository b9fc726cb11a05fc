// Text inputs are regular files of a bounded size: a FIFO, a device or a
// directory named as a model's file is refused at once instead of blocking
// or flooding the reader.
#include "core/text_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(TextInput, OnlyRegularFilesOfABoundedSizeAreRead) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("model.nam"), "BAS6 1 model.bas\n");
  ASSERT_EQ(mkfifo(dir.File("fifo.nam").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.File("zero.nam"));
  EXPECT_EQ(ReadTextFile(dir.File("model.nam")), "BAS6 1 model.bas\n");
  EXPECT_TRUE(IsTextInput(dir.File("model.nam")));
  EXPECT_FALSE(IsTextInput(dir.File("model.nam"), 4)) << "larger than the limit";
  for (const std::string& path : {dir.File("fifo.nam"), dir.File("zero.nam"), dir.path().string(),
                                  dir.File("missing.nam")}) {
    EXPECT_FALSE(IsTextInput(path)) << path;
    EXPECT_FALSE(ReadTextFile(path)) << path;
  }
}

}  // namespace
}  // namespace kestra
