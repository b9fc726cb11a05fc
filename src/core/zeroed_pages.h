// Zeroed memory for the arrays of a large grid, straight from fresh pages of
// the system. The system zeroes a page when it is first touched, so the
// parts of an array no one touches cost neither time nor memory, and nothing
// zeroes the memory a second time before it is filled.
#pragma once

#include <cstddef>
#include <vector>

namespace kestra {

// `bytes` (more than 0) of zeroed memory aligned to a huge page (2 MB), in
// huge pages where the system grants them: scattered reads then miss the
// processor's address cache far less often. Throws std::bad_alloc when the
// system has no memory to map. Release with UnmapZeroedPages(data, bytes).
void* MapZeroedPages(std::size_t bytes);
void UnmapZeroedPages(void* data, std::size_t bytes);

// Zeroed memory for `bytes`, mapped pages for a large array and the heap for
// a small one, aligned for any value type; nullptr for 0 bytes. Throws
// std::bad_alloc. Release with ReleaseZeroed(data, bytes).
void* AllocateZeroed(std::size_t bytes);
void ReleaseZeroed(void* data, std::size_t bytes);

// The allocator of a vector that may hold millions of values: its memory
// from AllocateZeroed, so that a large one starts at a huge page and is
// filled at a page fault every 2 MB where the system grants huge pages.
template <typename T>
struct ZeroedPagesAllocator {
  using value_type = T;

  ZeroedPagesAllocator() = default;
  template <typename U>
  ZeroedPagesAllocator(const ZeroedPagesAllocator<U>&) {}

  T* allocate(std::size_t count) { return static_cast<T*>(AllocateZeroed(count * sizeof(T))); }
  void deallocate(T* data, std::size_t count) { ReleaseZeroed(data, count * sizeof(T)); }

  friend bool operator==(const ZeroedPagesAllocator&, const ZeroedPagesAllocator&) { return true; }
};

template <typename T>
using PagedVector = std::vector<T, ZeroedPagesAllocator<T>>;

}  // namespace kestra
