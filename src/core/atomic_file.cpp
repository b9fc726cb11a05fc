#include "core/atomic_file.h"

#include "core/descriptor_stream.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kestra {
namespace {

namespace fs = std::filesystem;

// New files are named "<target>.kestra-<pid>-XXXXXX": the process id tells a
// later writer whether the file's writer still runs.
constexpr std::string_view kTemporaryMark = ".kestra-";

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

bool ProcessRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

// Removes the new files of `target` whose writer no longer runs.
void RemoveStaleTemporaries(const std::string& target) {
  const fs::path targetPath(target);
  const std::string prefix = targetPath.filename().string() + std::string(kTemporaryMark);
  std::error_code error;
  const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    long pid = 0;
    const char* first = name.data() + prefix.size();
    const auto [rest, failure] = std::from_chars(first, name.data() + name.size(), pid);
    if (failure == std::errc() && rest != first && *rest == '-' && pid > 0 && !ProcessRuns(pid)) {
      std::error_code ignored;
      fs::remove(entry->path(), ignored);
    }
  }
}

}  // namespace

std::string SystemReason(const char* fallback) { return errno != 0 ? std::strerror(errno) : fallback; }

ReplacingFile::ReplacingFile(const std::string& path, Writer writer)
    : path_(path), target_(ReplacedFile(path)), writer_(writer) {
  std::error_code status;
  if (fs::exists(target_, status) && !fs::is_regular_file(target_, status)) {
    problem_ = path + ": not a regular file";
    return;
  }
  RemoveStaleTemporaries(target_);
  std::string pattern = target_ + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-XXXXXX";
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
  if (writer_ == Writer::Caller) {
    ::close(descriptor);
    return;
  }
  buffer_ = std::make_unique<DescriptorBuffer>(descriptor);
  stream_.rdbuf(buffer_.get());
}

ReplacingFile::~ReplacingFile() {
  buffer_.reset();
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool ReplacingFile::Commit() {
  if (!IsOpen()) return false;
  if (writer_ == Writer::OwnStream) {
    const bool written = buffer_->Close() && !stream_.fail();
    if (!written) {
      problem_ = path_ + ": " + (buffer_->Failure() != 0 ? std::strerror(buffer_->Failure()) : "the write failed");
      return false;
    }
  } else if (errno = 0; !SyncToDisk(temporary_)) {
    problem_ = path_ + ": " + SystemReason();
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
