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

// The MODFLOW test data folder (tests/data).
std::filesystem::path TestDataDir();

// The folder of the example models the repository ships (examples/).
std::filesystem::path ExamplesDir();

// Copies the folder `form` ("modflow", "lahey", ...) of the shared run
// `model` into `dir`, for tests whose open writes files beside the model;
// returns the path of the copy of `file`.
std::string CopySharedRun(const TempDir& dir, const std::string& model, const std::string& form,
                          const std::string& file);

// Copies the bundled example (examples/mixed3d) into `dir`; returns the
// path of the copy of its name file.
std::string CopyExample(const TempDir& dir);

}  // namespace kestra::test
