// The working folder of the test process changed for one scope, as when a
// user starts a program inside the model's folder.
#pragma once

#include <filesystem>

namespace kestra::test {

class WorkingFolder {
 public:
  explicit WorkingFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace kestra::test
