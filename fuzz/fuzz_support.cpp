#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace kestra::fuzz {
namespace {

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestra-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

const std::string& WorkFolder() {
  static const TemporaryFolder folder;
  return folder.Path();
}

std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (std::filesystem::path(WorkFolder()) / name).string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

std::string CopyTestRun(const std::string& run, const std::string& into) {
  static std::set<std::string> copied;
  const std::filesystem::path folder = std::filesystem::path(WorkFolder()) / into;
  if (copied.insert(into).second) {
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(KESTRA_TESTDATA_DIR) / run))
      std::filesystem::copy_file(entry.path(), folder / entry.path().filename(),
                                 std::filesystem::copy_options::overwrite_existing);
  }
  return folder.string();
}

}  // namespace kestra::fuzz
