#include "core/zeroed_pages.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace kestra {
namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// From this size on an array gets pages of its own. Below it the heap's
// zeroing costs little, and a mapping would waste most of a page.
constexpr std::size_t kOwnPagesFrom = std::size_t{1} << 20;

std::uintptr_t PageEnd(std::uintptr_t address) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  return (address + page - 1) & ~(page - 1);
}

// The bytes mapped for an array of `bytes` from a huge page's start: whole
// huge pages where that wastes at most an eighth of the array. The system
// backs only whole huge pages with one, and a virtual machine can take
// microseconds for each fault of a small page, so the last part of an array
// filled in small pages may cost more than all the rest.
std::uintptr_t MappedLength(std::size_t bytes) {
  const std::uintptr_t whole = (bytes + kHugePage - 1) & ~(kHugePage - 1);
  return whole - bytes <= bytes / 8 ? whole : PageEnd(bytes);
}

// Asks the system to back the whole huge pages within `bytes` at `data`,
// memory not yet touched, with huge pages. Only a hint.
void AdviseHugePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  const auto first = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t start = (first + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = (first + bytes) & ~(kHugePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);  // small pages still work
#endif
}

}  // namespace

void* MapZeroedPages(std::size_t bytes) {
  // One huge page more than asked for, of which the unaligned head and the
  // tail are given back at once.
  const std::uintptr_t mapped = MappedLength(bytes);
  const std::size_t length = mapped + kHugePage;
  void* mapping = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) throw std::bad_alloc();
  const auto first = reinterpret_cast<std::uintptr_t>(mapping);
  const std::uintptr_t start = (first + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = start + mapped;
  if (start > first) munmap(mapping, start - first);
  if (first + length > end) munmap(reinterpret_cast<void*>(end), first + length - end);
  void* data = reinterpret_cast<void*>(start);
  AdviseHugePages(data, mapped);
  return data;
}

void UnmapZeroedPages(void* data, std::size_t bytes) { munmap(data, MappedLength(bytes)); }

void* AllocateZeroed(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  if (bytes >= kOwnPagesFrom) return MapZeroedPages(bytes);
  void* data = std::calloc(bytes, 1);
  if (!data) throw std::bad_alloc();
  return data;
}

void ReleaseZeroed(void* data, std::size_t bytes) {
  if (!data) return;
  if (bytes >= kOwnPagesFrom) return UnmapZeroedPages(data, bytes);
  std::free(data);
}

}  // namespace kestra
