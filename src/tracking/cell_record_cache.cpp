#include "tracking/cell_record_cache.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

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

void CellRecordCache::FreeSlots::operator()(Slot*) const { std::free(block); }

namespace {

// Zeroed slots for `count` cells, aligned to a cache line. Large blocks come
// as fresh pages that the system zeroes on first touch.
template <typename Slot, typename Free>
std::unique_ptr<Slot[], Free> ZeroedSlots(std::size_t count) {
  void* block = std::calloc(count + 1, sizeof(Slot));
  if (block == nullptr) throw std::bad_alloc();
  void* aligned = block;
  std::size_t room = (count + 1) * sizeof(Slot);
  std::align(alignof(Slot), count * sizeof(Slot), aligned, room);
  return std::unique_ptr<Slot[], Free>(static_cast<Slot*>(aligned), Free{block});
}

}  // namespace

CellRecordCache::CellRecordCache(const ModelState& state, const Settings& settings, const TrackingSettings& tracking)
    : state_(state),
      settings_(settings),
      tracking_(tracking),
      slots_(ZeroedSlots<Slot, FreeSlots>(state.Shape().Size())) {}

CellRecord CellRecordCache::At(int column, int row, int layer) {
  Slot& slot = slots_[state_.Shape().Index(column, row, layer)];
  std::atomic_ref<std::uint8_t> fill(slot.fill);
  CellRecord record;
  if (fill.load(std::memory_order_acquire) == kReady) {
    std::memcpy(&record, slot.record, sizeof record);
    return record;
  }
  record = ComputeCellRecord(state_, settings_, tracking_, column, row, layer);
  // The first thread to claim the cell stores it; a thread that finds it
  // being written uses its own, identical result instead of waiting.
  std::uint8_t expected = kEmpty;
  if (fill.compare_exchange_strong(expected, kWriting, std::memory_order_relaxed)) {
    std::memcpy(slot.record, &record, sizeof record);
    fill.store(kReady, std::memory_order_release);
  }
  return record;
}

}  // namespace kestra
