#include "core/text_buffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kestra {

namespace {
// The first memory taken: room for a few hundred records.
constexpr std::size_t kFirstCapacity = 64 * 1024;
}  // namespace

void TextBuffer::Grow(std::size_t count) {
  // Doubling keeps the copies of a growing text to about its own length.
  const std::size_t capacity = std::max({kFirstCapacity, 2 * capacity_, size_ + count});
  // new char[] leaves the characters uninitialised, which is the point.
  std::unique_ptr<char[]> chars(new char[capacity]);
  if (size_ > 0) std::memcpy(chars.get(), chars_.get(), size_);
  chars_ = std::move(chars);
  capacity_ = capacity;
}

void TextBuffer::Replace(std::size_t at, std::size_t count, std::string_view text) {
  const std::size_t tail = size_ - at - count;
  if (text.size() > count) Room(text.size() - count);
  char* const start = chars_.get() + at;
  // A line put into room of its own length (as nearly always) moves nothing.
  if (tail > 0 && text.size() != count) std::memmove(start + text.size(), start + count, tail);
  if (!text.empty()) std::memcpy(start, text.data(), text.size());
  size_ = at + text.size() + tail;
}

}  // namespace kestra
