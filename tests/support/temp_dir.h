// A folder of its own for one test, removed at the end.
#pragma once

#include <filesystem>
#include <string>

namespace kestra::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Whole contents of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& contents);

// The shared MODFLOW test data folder.
std::filesystem::path TestDataDir();

// A writable copy of the shared folder `folder` (such as "mixed3d/lahey") as
// `target`, so that what a test writes or an open creates stays out of the
// shared data.
void CopyTestData(const std::string& folder, const std::filesystem::path& target);

}  // namespace kestra::test
