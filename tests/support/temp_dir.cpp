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

void CopyTestData(const std::string& folder, const std::filesystem::path& target) {
  namespace fs = std::filesystem;
  fs::copy(TestDataDir() / folder, target, fs::copy_options::recursive);
  for (const auto& entry : fs::recursive_directory_iterator(target))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace kestra::test
