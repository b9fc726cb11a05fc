// The connections between the cells of a structured grid in the order of a
// budget term that gives one flow per connection (MODFLOW 6's FLOW-JA-FACE).
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <vector>

#include "core/cell_array.h"
#include "core/zeroed_buffer.h"

namespace kestra {

// Cells are numbered from 0, layer 1 first, row 1 first within a layer,
// columns fastest; each cell has its entries, one per connection, and the
// entries of the cells follow one another in the cells' order.
//
// MODFLOW 6 connects a cell in the model (IDOMAIN above 0) to itself first,
// then to its neighbours in the model in rising order: above, behind (row
// i-1), left, right, in front (row i+1) and below, where the cells above and
// below are found across pass-through cells (IDOMAIN below 0). Other cells have
// no entries. Held so, a grid's connections take one byte per cell where the
// list of them takes 36. A grid file whose connections follow another order
// keeps the list (IA, JA).
class CellConnections {
 public:
  enum class Role : std::uint8_t { Outside, Inside, PassThrough };
  // MODFLOW 6 takes every negative IDOMAIN for a pass-through cell.
  static Role RoleOf(int idomain) {
    return idomain > 0 ? Role::Inside : idomain < 0 ? Role::PassThrough : Role::Outside;
  }

  CellConnections() = default;
  // MODFLOW 6's connections of a grid with this IDOMAIN, one value per cell.
  CellConnections(GridShape grid, std::span<const int> idomain);
  // The connections as listed: the entries of cell n are JA[IA[n]] ..
  // JA[IA[n+1]-1], cells counted from 0. Unless IA starts at 0, never falls
  // and ends at the end of JA, with one value per cell and one more, and
  // every JA names a cell of the grid, the connections are not `Usable`.
  CellConnections(GridShape grid, std::vector<std::int64_t> IA, std::vector<std::int32_t> JA);

  GridShape Grid() const { return grid_; }
  std::int64_t CellCount() const { return std::int64_t{grid_.ncol} * grid_.nrow * grid_.nlay; }
  bool Usable() const { return usable_; }
  bool Listed() const { return !IA_.empty(); }
  std::int64_t EntryCount() const { return entries_; }

 private:
  friend class ConnectionWalk;

  // The entries of a cell by the rule, one bit each in the entries' order,
  // worked out once so that a walk over the grid looks at no neighbours.
  enum EntryBits : std::uint8_t {
    kSelf = 1,
    kAbove = 2,
    kBehind = 4,
    kLeft = 8,
    kRight = 16,
    kFront = 32,
    kBelow = 64,
    kAcrossPassThrough = 128,  // a cell above or below lies beyond pass-through cells
    // Alone, of a cell without entries: the cell is a pass-through cell.
    kPassThroughCell = kAcrossPassThrough,
  };
  // A cell in the model whose cell above or below lies beyond pass-through cells.
  static bool ReachesAcrossPassThrough(std::uint8_t present) {
    return (present & (kSelf | kAcrossPassThrough)) == (kSelf | kAcrossPassThrough);
  }

  struct RowsAround {
    const Role *behind, *front, *above, *below;
  };
  void EntriesInRow(const Role* here, const RowsAround& around, std::uint8_t* present) const;
  std::uint8_t EntriesAcrossPassThrough(std::uint8_t present, std::size_t cell) const;
  // The nearest cell in the model above (-1) or below (+1), across
  // pass-through cells; -1 when a cell outside the model or the grid's edge
  // comes first.
  std::int64_t VerticalNeighbour(std::int64_t cell, int direction) const;

  GridShape grid_;
  bool usable_ = false;
  std::int64_t entries_ = 0;
  ZeroedBuffer<std::uint8_t> present_;  // EntryBits by cell, when the grid's rule gives the entries
  std::vector<std::int64_t> IA_;
  std::vector<std::int32_t> JA_;
};

// Where among a cell's entries its connections to the next cell to the
// right, in front and below are (-1 where it has none), and how many entries
// it has.
struct FaceEntries {
  std::int8_t count = 0;
  std::int8_t right = -1, front = -1, below = -1;
};

// The entries of usable connections, one cell after another. Inline: a
// walk over a large grid takes one step a cell.
class ConnectionWalk {
 public:
  explicit ConnectionWalk(const CellConnections& connections)
      : connections_(connections),
        present_(connections.present_.data()),
        ia_(connections.IA_.data()),
        ja_(connections.JA_.data()),
        listed_(connections.Listed()),
        ncol_(connections.grid_.ncol),
        nrow_(connections.grid_.nrow),
        cells_(connections.Usable() ? connections.CellCount() : 0),
        layerCells_(std::int64_t{ncol_} * nrow_),
        offsets_{0, -layerCells_, -ncol_, -1, 1, ncol_, layerCells_} {}

  // To the next cell (the first at the first call); false past the last.
  bool Next() {
    if (cell_ + 1 >= cells_) return false;
    ++cell_;
    if (++column_ == ncol_) {
      column_ = 0;
      if (++row_ == nrow_) {
        row_ = 0;
        ++layer_;
      }
    }
    return true;
  }

  std::int64_t Cell() const { return cell_; }
  // 1-based, as the grid's arrays take them.
  int Column() const { return column_ + 1; }
  int Row() const { return row_ + 1; }
  int Layer() const { return layer_ + 1; }

  // How many entries the cell has.
  std::size_t EntryCount() const {
    if (listed_) return static_cast<std::size_t>(ia_[cell_ + 1] - ia_[cell_]);
    return static_cast<std::size_t>(kFaceEntries[present_[cell_]].count);
  }
  // The cells of the cell's entries, its own first.
  std::span<const std::int32_t> Entries() {
    if (listed_) return std::span(ja_ + ia_[cell_], EntryCount());
    return EntriesByRule();
  }
  // Whether stored[0 .. EntryCount()) are the cell's entries, each plus `add`
  // (a grid file counts cells from 1).
  bool EntriesAre(const std::int32_t* stored, std::int64_t add) {
    const std::uint8_t present = listed_ ? 0 : present_[cell_];
    bool differs = false;
    if (listed_ || (present & Bits::kAcrossPassThrough)) {
      const std::span<const std::int32_t> entries = Entries();
      for (std::size_t n = 0; n < entries.size(); ++n) differs |= stored[n] != entries[n] + add;
      return !differs;
    }
    const std::int64_t base = cell_ + add;
    if (present == kAllNextCells) {  // most cells of a large grid: seven compares that wait for none before
#pragma GCC unroll 7
      for (std::size_t n = 0; n < std::size(offsets_); ++n) differs |= stored[n] != base + offsets_[n];
      return !differs;
    }
    for (unsigned bits = present; bits != 0; bits &= bits - 1)
      differs |= *stored++ != base + offsets_[std::countr_zero(bits)];
    return !differs;
  }
  // The cell's faces among its entries, where the grid's rule gives them and
  // every connection is to a next cell (none across pass-through cells).
  const FaceEntries* Faces() const {
    if (listed_) return nullptr;
    const std::uint8_t present = present_[cell_];
    return present & Bits::kAcrossPassThrough ? nullptr : &kFaceEntries[present];
  }

 private:
  using Bits = CellConnections::EntryBits;
  static constexpr std::uint8_t kAllNextCells = 0x7f;  // every bit but the one across pass-through cells

  static constexpr std::array<FaceEntries, 256> kFaceEntries = [] {
    std::array<FaceEntries, 256> table{};
    for (unsigned present = 0; present < table.size(); ++present) {
      const auto place = [&](unsigned bit) {
        return static_cast<std::int8_t>(present & bit ? std::popcount(present & (bit - 1)) : -1);
      };
      table[present] = {static_cast<std::int8_t>(std::popcount(present & ~unsigned{Bits::kAcrossPassThrough})),
                        place(Bits::kRight), place(Bits::kFront), place(Bits::kBelow)};
    }
    return table;
  }();

  // Every neighbour is written and counted only when present: the cells
  // along an irregular model boundary then cost no mispredicted branches.
  std::span<const std::int32_t> EntriesByRule() {
    const std::uint8_t present = present_[cell_];
    std::int64_t cells[std::size(offsets_)];
    for (std::size_t n = 0; n < std::size(offsets_); ++n) cells[n] = cell_ + offsets_[n];
    if (CellConnections::ReachesAcrossPassThrough(present)) {
      cells[std::countr_zero(unsigned{Bits::kAbove})] = connections_.VerticalNeighbour(cell_, -1);
      cells[std::countr_zero(unsigned{Bits::kBelow})] = connections_.VerticalNeighbour(cell_, 1);
    }
    std::size_t count = 0;
    for (std::size_t n = 0; n < std::size(offsets_); ++n) {
      ruleEntries_[count] = static_cast<std::int32_t>(cells[n]);
      count += (present >> n) & 1u;
    }
    return std::span<const std::int32_t>(ruleEntries_, count);
  }

  const CellConnections& connections_;
  const std::uint8_t* present_;
  const std::int64_t* ia_;
  const std::int32_t* ja_;
  bool listed_;
  int ncol_, nrow_;
  std::int64_t cells_;
  std::int64_t layerCells_;
  // From a cell to the cell of each entry the rule may give it, in the order
  // of the entry bits; next cells only.
  std::int64_t offsets_[7];
  std::int64_t cell_ = -1;
  int column_ = -1, row_ = 0, layer_ = 0;
  std::int32_t ruleEntries_[7] = {};
};

}  // namespace kestra
