// A fixed number of plain values, all zero when made, in memory that only
// the values someone writes or reads actually occupy: the storage of the
// per-cell arrays of a grid of up to millions of cells, most of which are
// filled once by a reader, and some of which are never needed at all.
#pragma once

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "core/zeroed_pages.h"

namespace kestra {

template <typename T>
class ZeroedBuffer {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>,
                "zeroed memory is a valid value of T");

 public:
  ZeroedBuffer() = default;
  explicit ZeroedBuffer(std::size_t size)
      : data_(static_cast<T*>(AllocateZeroed(size * sizeof(T)))), size_(size) {}
  ZeroedBuffer(const ZeroedBuffer& other) : ZeroedBuffer(other.size_) {
    std::copy(other.begin(), other.end(), data_);
  }
  ZeroedBuffer(ZeroedBuffer&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  ZeroedBuffer& operator=(ZeroedBuffer other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }
  ~ZeroedBuffer() { ReleaseZeroed(data_, size_ * sizeof(T)); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](std::size_t index) { return data_[index]; }
  const T& operator[](std::size_t index) const { return data_[index]; }

  bool operator==(const ZeroedBuffer& other) const { return std::equal(begin(), end(), other.begin(), other.end()); }

 private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace kestra
