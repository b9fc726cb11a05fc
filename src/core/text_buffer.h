// Text made of records written in place, as the pathline text of a batch
// run is: the room at its end is handed out as it is, so each record is
// written once, where it stays. A std::string would first fill the room or
// take a copy of a record assembled elsewhere: on millions of records a
// run, that copy alone cost a few percent of the run.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace kestra {

class TextBuffer {
 public:
  // At least `count` characters to write at the end of the text; they
  // become part of it with EndAt.
  char* Room(std::size_t count) {
    if (capacity_ - size_ < count) Grow(count);
    return chars_.get() + size_;
  }
  // The text now ends at `end`, within the room last handed out.
  void EndAt(const char* end) { size_ = static_cast<std::size_t>(end - chars_.get()); }

  // The `count` characters from `at` become `text`, the rest moving on or
  // back where the lengths differ.
  void Replace(std::size_t at, std::size_t count, std::string_view text);

  std::string_view View() const { return {chars_.get(), size_}; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Keeps the memory, for the next records.
  void clear() { size_ = 0; }

 private:
  void Grow(std::size_t count);

  std::unique_ptr<char[]> chars_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace kestra
