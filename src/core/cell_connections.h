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
// below are found across pass-through cells (IDOMAIN -1). Other cells have
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
      : connections_(connections),
        cells_(connections.Usable() ? connections.CellCount() : 0),
        layerCells_(std::int64_t{connections.grid_.ncol} * connections.grid_.nrow) {}

  // To the next cell (the first at the first call); false past the last.
  bool Next() {
    if (cell_ + 1 >= cells_) return false;
    ++cell_;
    if (++column_ == connections_.grid_.ncol) {
      column_ = 0;
      if (++row_ == connections_.grid_.nrow) {
        row_ = 0;
        ++layer_;
      }
    }
    if (connections_.Listed()) {
      const auto first = static_cast<std::size_t>(connections_.IA_[static_cast<std::size_t>(cell_)]);
      const auto end = static_cast<std::size_t>(connections_.IA_[static_cast<std::size_t>(cell_) + 1]);
      entries_ = std::span(connections_.JA_).subspan(first, end - first);
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

  bool Inside(std::int64_t n) const { return connections_.roles_[static_cast<std::size_t>(n)] == Role::Inside; }

  void EntriesByRule() {
    std::size_t count = 0;
    const auto add = [&](std::int64_t n) { ruleEntries_[count++] = static_cast<std::int32_t>(n); };
    if (Inside(cell_)) {
      const std::int64_t ncol = connections_.grid_.ncol;
      add(cell_);
      if (const std::int64_t above = Vertical(-layerCells_); above >= 0) add(above);
      if (row_ > 0 && Inside(cell_ - ncol)) add(cell_ - ncol);
      if (column_ > 0 && Inside(cell_ - 1)) add(cell_ - 1);
      if (column_ + 1 < ncol && Inside(cell_ + 1)) add(cell_ + 1);
      if (row_ + 1 < connections_.grid_.nrow && Inside(cell_ + ncol)) add(cell_ + ncol);
      if (const std::int64_t below = Vertical(layerCells_); below >= 0) add(below);
    }
    entries_ = std::span<const std::int32_t>(ruleEntries_, count);
  }

  // The nearest cell in the model `step` cells apart each time, across
  // pass-through cells; -1 when a cell outside the model or the grid's edge
  // comes first.
  std::int64_t Vertical(std::int64_t step) const {
    for (std::int64_t m = cell_ + step; m >= 0 && m < cells_; m += step) {
      const Role role = connections_.roles_[static_cast<std::size_t>(m)];
      if (role != Role::PassThrough) return role == Role::Inside ? m : -1;
    }
    return -1;
  }

  const CellConnections& connections_;
  std::int64_t cells_;
  std::int64_t layerCells_;
  std::int64_t cell_ = -1;
  int column_ = -1, row_ = 0, layer_ = 0;
  std::int32_t ruleEntries_[7] = {};
  std::span<const std::int32_t> entries_;
};

}  // namespace kestra
