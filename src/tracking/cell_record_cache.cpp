#include "tracking/cell_record_cache.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include <sys/mman.h>

namespace kestra {
namespace {

// Stands in for a zero thickness in divisions.
constexpr double kTinyThickness = 1e-20;

static_assert(std::is_trivially_copyable_v<CellRecord> && sizeof(CellRecord) < 64, "a record fits in a cache line");

}  // namespace

double MovingThickness(const ModelState& state, const Settings& settings, int column, int row, int layer) {
  const double dz = HasResultHead(state, settings, column, row, layer)
                        ? SaturatedThickness(state, column, row, layer)
                        : static_cast<double>(state.TOP(column, row, layer)) - state.BOT(column, row, layer);
  return dz == 0 ? kTinyThickness : dz;
}

CellRecord ComputeCellRecord(const ModelState& state, const Settings& settings, const TrackingSettings& tracking,
                             int column, int row, int layer) {
  CellRecord record;
  record.faces = GetFaceVelocities(state, settings, tracking, column, row, layer);
  record.saturatedThickness = SaturatedThickness(state, column, row, layer);
  record.thickness = MovingThickness(state, settings, column, row, layer);
  record.top = state.TOP(column, row, layer);
  record.bottom = state.BOT(column, row, layer);
  record.ibound = state.IBOUND(column, row, layer);
  record.sinkCode = state.SINKCODE(column, row, layer);
  record.flowCell = IsFlowCell(state, settings, column, row, layer);
  return record;
}

void CellRecordCache::FreeSlots::operator()(Slot*) const { munmap(block, length); }

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Zeroed slots for `count` cells, from fresh pages that the system zeroes on
// first touch, in huge pages where the system has them: consecutive moves
// land a row or a layer apart in memory, and with small pages most of those
// would miss the processor's address cache as well as its data cache.
template <typename Slot, typename Free>
std::unique_ptr<Slot[], Free> ZeroedSlots(std::size_t count) {
  const std::size_t length = count * sizeof(Slot) + kHugePage;
  void* block = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  const auto start = (reinterpret_cast<std::uintptr_t>(block) + kHugePage - 1) & ~(kHugePage - 1);
  void* aligned = reinterpret_cast<void*>(start);
#ifdef MADV_HUGEPAGE
  madvise(aligned, count * sizeof(Slot), MADV_HUGEPAGE);  // a hint: small pages still work
#endif
  return std::unique_ptr<Slot[], Free>(static_cast<Slot*>(aligned), Free{block, length});
}

}  // namespace

CellRecordCache::CellRecordCache(const ModelState& state, const Settings& settings, const TrackingSettings& tracking)
    : state_(state),
      settings_(settings),
      tracking_(tracking),
      slots_(ZeroedSlots<Slot, FreeSlots>(state.Shape().Size())) {}

const CellRecord& CellRecordCache::At(int column, int row, int layer, CellRecord& scratch) {
  Slot& slot = slots_[state_.Shape().Index(column, row, layer)];
  const auto* stored = std::launder(reinterpret_cast<const CellRecord*>(slot.record));
  std::atomic_ref<std::uint8_t> fill(slot.fill);
  if (fill.load(std::memory_order_acquire) == kReady) return *stored;
  scratch = ComputeCellRecord(state_, settings_, tracking_, column, row, layer);
  // The first thread to claim the cell stores it; a thread that finds it
  // being written uses its own, identical result instead of waiting.
  std::uint8_t expected = kEmpty;
  if (!fill.compare_exchange_strong(expected, kWriting, std::memory_order_relaxed)) return scratch;
  std::memcpy(slot.record, &scratch, sizeof scratch);
  fill.store(kReady, std::memory_order_release);
  return *stored;
}

}  // namespace kestra
