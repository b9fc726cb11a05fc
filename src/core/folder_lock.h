// An advisory lock on the folder of a file, held for the lifetime of the
// object: programs that read a file, change it and write it back take turns
// instead of losing each other's changes. A file replaced by renaming cannot
// carry the lock itself (each writer would lock another inode), so the
// folder does.
#pragma once

#include <string>

namespace kestra {

class FolderLock {
 public:
  // Waits until the lock on the folder of `file` is free. Where the folder
  // cannot be locked (it does not exist, the file system has no locks) the
  // object holds nothing and the write that follows fails or goes ahead
  // unguarded.
  explicit FolderLock(const std::string& file);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return descriptor_ >= 0; }

 private:
  int descriptor_ = -1;
};

}  // namespace kestra
