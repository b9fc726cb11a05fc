#include "tracking/cell_record_cache.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "core/zeroed_pages.h"

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

void CellRecordCache::FreeSlots::operator()(Slot* slots) const { UnmapZeroedPages(slots, bytes); }

CellRecordCache::CellRecordCache(const ModelState& state, const Settings& settings, const TrackingSettings& tracking)
    : state_(state),
      settings_(settings),
      tracking_(tracking),
      slots_(static_cast<Slot*>(MapZeroedPages(state.Shape().Size() * sizeof(Slot))),
             FreeSlots{state.Shape().Size() * sizeof(Slot)}) {}

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
