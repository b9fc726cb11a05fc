// Zeroed memory for the arrays of a large grid, straight from fresh pages of
// the system. The system zeroes a page when it is first touched, so the
// parts of an array no one touches cost neither time nor memory, and nothing
// zeroes the memory a second time before it is filled.
#pragma once

#include <cstddef>

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

// Asks the system to back the whole huge pages within `bytes` at `data`,
// memory of the caller's not yet touched, with huge pages: a large array
// then takes one page fault every 2 MB instead of every 4 KB as it is
// filled. Only a hint.
void AdviseHugePages(void* data, std::size_t bytes);

// Room for `count` values in `values`, an empty vector about to be filled,
// in huge pages where the system grants them.
template <typename Vector>
void ReserveInHugePages(Vector& values, std::size_t count) {
  values.reserve(count);
  AdviseHugePages(values.data(), values.capacity() * sizeof(typename Vector::value_type));
}

}  // namespace kestra
