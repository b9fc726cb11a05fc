#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kestra {
namespace {

namespace fs = std::filesystem;

// The file that a write to `path` replaces: a link's target, else the path.
std::string ReplacedFile(const std::string& path) {
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    const fs::path target = fs::weakly_canonical(path, error);
    if (!error) return target.string();
  }
  return path;
}

bool SyncToDisk(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY);
  if (descriptor < 0) return false;
  const bool synced = ::fsync(descriptor) == 0;
  return ::close(descriptor) == 0 && synced;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : path_(path), target_(ReplacedFile(path)) {
  std::error_code status;
  if (fs::exists(target_, status) && !fs::is_regular_file(target_, status)) {
    problem_ = path + ": not a regular file";
    return;
  }
  std::string pattern = target_ + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) {
    problem_ = path + ": " + std::strerror(errno);
    return;
  }
  temporary_ = name.data();
  // mkstemp makes the file private: the new file takes the old one's
  // permissions, or those of an ordinary result file.
  struct stat old {};
  ::fchmod(descriptor, ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  ::close(descriptor);
  stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!stream_) problem_ = path + ": " + std::strerror(errno);
}

ReplacingFile::~ReplacingFile() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool ReplacingFile::Commit() {
  if (!IsOpen()) return false;
  stream_.close();
  const int writeError = errno;
  if (stream_.fail() || !SyncToDisk(temporary_)) {
    problem_ = path_ + ": " + std::strerror(stream_.fail() ? writeError : errno);
    return false;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    problem_ = path_ + ": " + std::strerror(errno);
    return false;
  }
  temporary_.clear();
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string& error) {
  ReplacingFile file(path);
  if (file.IsOpen()) file.Stream().write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (file.Commit()) return true;
  error = file.Problem();
  return false;
}

}  // namespace kestra
