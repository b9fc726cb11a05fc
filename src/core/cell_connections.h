// The connections between the cells of a structured grid in the order of a
// budget term that gives one flow per connection (MODFLOW 6's FLOW-JA-FACE).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/cell_array.h"

namespace kestra {

// Cells are numbered from 0, layer 1 first, row 1 first within a layer,
// columns fastest; each cell has its entries, one per connection, and the
// entries of the cells follow one another in the cells' order.
//
// MODFLOW 6 connects a cell in the model (IDOMAIN above 0) to itself first,
// then to its neighbours in the model in rising order: above, behind (row
// i-1), left, right, in front (row i+1) and below, where the cells above and
// below are found across pass-through cells (IDOMAIN below 0). Other cells have
// no entries. Held so, a grid's connections take a byte per cell where the
// list of them takes 36. A grid file whose connections follow another order
// keeps the list (IA, JA).
class CellConnections {
 public:
  enum class Role : std::uint8_t { Outside, Inside, PassThrough };

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

  GridShape grid_;
  bool usable_ = false;
  std::int64_t entries_ = 0;
  std::vector<Role> roles_;  // by cell, when the grid's rule gives the entries
  std::vector<std::int64_t> IA_;
  std::vector<std::int32_t> JA_;
};

// The entries of usable connections, one cell after another. Inline: a
// walk over a large grid takes one step a cell.
class ConnectionWalk {
 public:
  explicit ConnectionWalk(const CellConnections& connections)
      : roles_(connections.roles_.data()),
        ia_(connections.IA_.data()),
        ja_(connections.JA_.data()),
        listed_(connections.Listed()),
        ncol_(connections.grid_.ncol),
        nrow_(connections.grid_.nrow),
        nlay_(connections.grid_.nlay),
        cells_(connections.Usable() ? connections.CellCount() : 0),
        layerCells_(std::int64_t{ncol_} * nrow_) {}

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
    if (listed_) {
      const std::int64_t first = ia_[cell_];
      entries_ = std::span(ja_ + first, static_cast<std::size_t>(ia_[cell_ + 1] - first));
    } else {
      EntriesByRule();
    }
    return true;
  }

  std::int64_t Cell() const { return cell_; }
  // 1-based, as the grid's arrays take them.
  int Column() const { return column_ + 1; }
  int Row() const { return row_ + 1; }
  int Layer() const { return layer_ + 1; }
  // The cells of the cell's entries, its own first.
  std::span<const std::int32_t> Entries() const { return entries_; }

 private:
  using Role = CellConnections::Role;

  // Each neighbour is written, and counted only when it is in the model: the
  // cells along an irregular model boundary then cost no mispredicted
  // branches.
  void EntriesByRule() {
    std::size_t count = 0;
    const auto add = [&](std::int64_t n, bool present) {
      ruleEntries_[count] = static_cast<std::int32_t>(n);
      count += present;
    };
    const auto inside = [&](bool onGrid, std::int64_t n) { return onGrid && roles_[n] == Role::Inside; };
    if (roles_[cell_] == Role::Inside) {
      const std::int64_t above = layer_ > 0 ? Vertical(-layerCells_) : -1;
      const std::int64_t below = layer_ + 1 < nlay_ ? Vertical(layerCells_) : -1;
      add(cell_, true);
      add(above, above >= 0);
      add(cell_ - ncol_, inside(row_ > 0, cell_ - ncol_));
      add(cell_ - 1, inside(column_ > 0, cell_ - 1));
      add(cell_ + 1, inside(column_ + 1 < ncol_, cell_ + 1));
      add(cell_ + ncol_, inside(row_ + 1 < nrow_, cell_ + ncol_));
      add(below, below >= 0);
    }
    entries_ = std::span<const std::int32_t>(ruleEntries_, count);
  }

  // The nearest cell in the model `step` cells apart each time, across
  // pass-through cells; -1 when a cell outside the model or the grid's edge
  // comes first. The next cell is on the grid.
  std::int64_t Vertical(std::int64_t step) const {
    for (std::int64_t m = cell_ + step;; m += step) {
      const Role role = roles_[m];
      if (role != Role::PassThrough) return role == Role::Inside ? m : -1;
      if (m + step < 0 || m + step >= cells_) return -1;
    }
  }

  const Role* roles_;
  const std::int64_t* ia_;
  const std::int32_t* ja_;
  bool listed_;
  int ncol_, nrow_, nlay_;
  std::int64_t cells_;
  std::int64_t layerCells_;
  std::int64_t cell_ = -1;
  int column_ = -1, row_ = 0, layer_ = 0;
  std::int32_t ruleEntries_[7] = {};
  std::span<const std::int32_t> entries_;
};

}  // namespace kestra
