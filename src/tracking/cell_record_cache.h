// What one particle move reads of a cell, gathered in one cache line for
// the cells a tracking pass enters, each cell computed once however many
// particles pass through it. Nothing a record depends on changes during a
// pass, so a cache lives for one pass.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "tracking/face_velocities.h"

namespace kestra {

struct CellRecord {
  FaceVelocities faces;            // GetFaceVelocities
  double saturatedThickness = 0;   // SaturatedThickness, 0 or less without water
  double thickness = 0;            // of the water a particle moves in: never 0
  float top = 0, bottom = 0;       // TOP and BOT
  std::int16_t ibound = 0;         // IBOUND
  std::int16_t sinkCode = 0;       // SINKCODE
  bool flowCell = false;           // IsFlowCell
};

// The thickness that particle positions in the cell are scaled by: the
// saturated thickness of a cell with a result head; of a cell without one
// (dry, or inactive), which has no water table, its whole thickness, so that
// its points lie between its bottom and top, not down at HDRY. Never
// exactly 0, so that it can divide.
double MovingThickness(const ModelState& state, const Settings& settings, int column, int row, int layer);

// The record of a cell inside the grid, straight from the model.
CellRecord ComputeCellRecord(const ModelState& state, const Settings& settings, const TrackingSettings& tracking,
                             int column, int row, int layer);

class CellRecordCache {
 public:
  // Holds references: the model and both settings must outlive the cache
  // and stay unchanged while it is used.
  CellRecordCache(const ModelState& state, const Settings& settings, const TrackingSettings& tracking);

  // ComputeCellRecord for a cell inside the grid, the same values bit for
  // bit, read in place: the reference lasts as long as the cache, except
  // that a record another thread is still storing is computed into
  // `scratch`, which is then returned. Safe to call from several threads at
  // once.
  const CellRecord& At(int column, int row, int layer, CellRecord& scratch);
  // Starts loading the record of a cell a move may enter next, so that the
  // memory's latency passes while the move computes. A neighbour of an edge
  // cell lies in the margin of the slots or past them, where the index is
  // clamped: its prefetch is harmless. Branch-free and always inlined: g++
  // drops a prefetch behind a branch or in a call it treats as pure.
  [[gnu::always_inline]] void Prefetch(int column, int row, int layer) const {
    const GridShape grid = state_.Shape();
    __builtin_prefetch(&slots_[std::min(grid.Index(column, row, layer), grid.Size() - 1)]);
  }

 private:
  enum Fill : std::uint8_t { kEmpty = 0, kWriting = 1, kReady = 2 };
  // A record and its fill state (empty, being written by one thread, or
  // ready to read) in one cache line, so that a move misses the cache once.
  struct alignas(64) Slot {
    unsigned char record[sizeof(CellRecord)];
    std::uint8_t fill;
  };
  struct FreeSlots {
    std::size_t bytes;
    void operator()(Slot* slots) const;
  };

  const ModelState& state_;
  const Settings& settings_;
  const TrackingSettings& tracking_;
  // One slot per cell of the grid's shape, in zeroed huge pages: the pages
  // of cells no particle enters are never touched, and consecutive moves
  // that land a row or a layer apart in memory rarely miss the processor's
  // address cache.
  std::unique_ptr<Slot[], FreeSlots> slots_;
};

}  // namespace kestra
