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
fs::path ReplacedFile(const std::string& path) {
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    const fs::path target = fs::weakly_canonical(path, error);
    if (!error) return target;
  }
  return fs::path(path);
}

bool WriteAll(int descriptor, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(descriptor, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string& error) {
  const fs::path target = ReplacedFile(path);
  std::error_code status;
  if (fs::exists(target, status) && !fs::is_regular_file(target, status)) {
    error = path + ": not a regular file";
    return false;
  }
  std::string pattern = target.string() + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  const std::string temporary(name.data());
  // mkstemp makes the file private: the new file takes the old one's
  // permissions, or those of an ordinary result file.
  struct stat old {};
  ::fchmod(descriptor, ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  const bool written = WriteAll(descriptor, contents) && ::fsync(descriptor) == 0;
  const int writeError = errno;
  const bool closed = ::close(descriptor) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
    error = path + ": " + std::strerror(written && closed ? errno : writeError);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace kestra
