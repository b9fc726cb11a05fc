#include "support/temp_dir.h"

#include <fstream>
#include <random>
#include <sstream>

namespace kestra::test {

TempDir::TempDir() {
  std::random_device seed;
  const auto base = std::filesystem::temp_directory_path();
  do {
    path_ = base / ("kestra-test-" + std::to_string(seed()));
  } while (std::filesystem::exists(path_));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteWholeFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary);
  out << contents;
}

std::filesystem::path TestDataDir() { return KESTRA_TESTDATA_DIR; }

std::filesystem::path ExamplesDir() { return KESTRA_EXAMPLES_DIR; }

namespace {

void CopyFolder(const std::filesystem::path& from, const TempDir& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(from))
    std::filesystem::copy_file(entry.path(), dir.path() / entry.path().filename());
}

}  // namespace

std::string CopySharedRun(const TempDir& dir, const std::string& model, const std::string& form,
                          const std::string& file) {
  CopyFolder(TestDataDir() / model / form, dir);
  return dir.File(file);
}

std::string CopyExample(const TempDir& dir) {
  CopyFolder(ExamplesDir() / "mixed3d", dir);
  return dir.File("mixed3d.nam");
}

}  // namespace kestra::test
