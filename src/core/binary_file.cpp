#include "core/binary_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace kestra {
namespace {

// Large enough for a header record with its markers, the marker of the data
// record after it and the trailer before it; small enough that passing over
// a record reads next to nothing of its data.
constexpr std::int64_t kWindowBytes = 128;

}  // namespace

BinaryFile::BinaryFile() {
  // Unbuffered: large reads go straight into the caller's memory.
  file_.pubsetbuf(nullptr, 0);
}

bool BinaryFile::Open(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || !file_.open(path, std::ios::in | std::ios::binary)) return false;
  size_ = static_cast<std::int64_t>(size);
  window_.clear();
  return true;
}

bool BinaryFile::ReadDirect(std::int64_t offset, std::span<std::byte> dest) {
  if (file_.pubseekpos(std::streampos(offset), std::ios::in) != std::streampos(offset)) return false;
  const auto count = static_cast<std::streamsize>(dest.size());
  bytesFetched_ += count;
  return file_.sgetn(reinterpret_cast<char*>(dest.data()), count) == count;
}

bool BinaryFile::ReadAt(std::int64_t offset, std::span<std::byte> dest) {
  const auto count = static_cast<std::int64_t>(dest.size());
  if (!Holds(offset, count)) return false;
  if (count == 0) return true;
  if (count >= kWindowBytes) return ReadDirect(offset, dest);
  const std::int64_t windowEnd = windowStart_ + static_cast<std::int64_t>(window_.size());
  if (offset < windowStart_ || offset + count > windowEnd) {
    window_.resize(static_cast<std::size_t>(std::min(kWindowBytes, size_ - offset)));
    windowStart_ = offset;
    if (!ReadDirect(offset, window_)) {
      window_.clear();
      return false;
    }
  }
  std::memcpy(dest.data(), window_.data() + (offset - windowStart_), dest.size());
  return true;
}

}  // namespace kestra
