#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace kestra {

FolderLock::FolderLock(const std::string& file) {
  const std::filesystem::path folder = std::filesystem::path(file).parent_path();
  descriptor_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor_ < 0) return;
  int locked = -1;
  do {
    locked = ::flock(descriptor_, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked == 0) return;
  ::close(descriptor_);
  descriptor_ = -1;
}

FolderLock::~FolderLock() {
  if (descriptor_ >= 0) ::close(descriptor_);  // closing releases the lock
}

}  // namespace kestra
