// Random access to a file by 64-bit byte offsets, for the result readers.
// Reads are unbuffered except for a small window that serves the record
// markers and headers lying next to each other, so passing over a record
// costs one small read and its data are never fetched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace kestra {

class BinaryFile {
 public:
  BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  // False when the file cannot be opened for reading; the object stays closed.
  bool Open(const std::string& path);
  std::int64_t Size() const { return size_; }
  // Copies dest.size() bytes from `offset` (0-based); false when they do not
  // all lie inside the file or the read fails (dest is then unspecified).
  bool ReadAt(std::int64_t offset, std::span<std::byte> dest);
  // True when `count` bytes from `offset` lie inside the file (no overflow).
  bool Holds(std::int64_t offset, std::int64_t count) const {
    return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
  }

  // Bytes fetched from the file so far, window refills included.
  std::int64_t BytesFetched() const { return bytesFetched_; }

  // A reusable buffer for the record layouts and readers: large reads go
  // through it in pieces instead of allocating per record.
  std::vector<std::byte> scratch;

 private:
  bool ReadDirect(std::int64_t offset, std::span<std::byte> dest);

  std::filebuf file_;
  std::int64_t size_ = 0;
  std::vector<std::byte> window_;
  std::int64_t windowStart_ = 0;
  std::int64_t bytesFetched_ = 0;
};

}  // namespace kestra
