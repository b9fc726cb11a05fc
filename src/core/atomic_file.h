// Writing a file so that a kill, a full disk or a failed write never leaves
// a partial file in place of the old one: the contents go to a new file of
// a unique name beside the target (beside the file a link points to), are
// flushed to the disk and the new file is renamed over the target.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace kestra {

class DescriptorBuffer;

class ReplacingFile {
 public:
  // Whether the new file is written through Stream() or by the caller, who
  // opens TemporaryPath() and closes it before Commit().
  enum class Writer { OwnStream, Caller };

  // Creates the new file; `problem` says why it could not be (the target
  // exists and is no regular file, the folder cannot be written). New files
  // left beside the target by a writer that no longer runs (a killed one)
  // are removed first.
  explicit ReplacingFile(const std::string& path, Writer writer = Writer::OwnStream);
  ~ReplacingFile();  // removes the new file unless committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool IsOpen() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }
  std::ostream& Stream() { return stream_; }
  const std::string& TemporaryPath() const { return temporary_; }

  // Closes, syncs and renames the new file over the target. False with the
  // reason in Problem(); the new file is then removed and the old file stays.
  bool Commit();

 private:
  std::string path_;       // as given, for messages
  std::string target_;     // the file replaced
  std::string temporary_;  // the new file, until renamed
  Writer writer_;
  std::unique_ptr<DescriptorBuffer> buffer_;  // of the new file, for Writer::OwnStream
  std::ostream stream_{nullptr};
  std::string problem_;
};

// The whole of `contents` written through a ReplacingFile. False with the
// reason in `error`.
bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string& error);

// The system's reason for the last failed call (errno), or `fallback` when
// the call set none.
std::string SystemReason(const char* fallback = "the write failed");

}  // namespace kestra
