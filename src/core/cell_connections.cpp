#include "core/cell_connections.h"

#include <algorithm>

namespace kestra {

CellConnections::CellConnections(GridShape grid, std::span<const int> idomain) : grid_(grid) {
  if (static_cast<std::int64_t>(idomain.size()) != CellCount()) return;
  present_ = ZeroedBuffer<std::uint8_t>(idomain.size());
  const std::size_t ncol = static_cast<std::size_t>(grid.ncol), layerCells = ncol * static_cast<std::size_t>(grid.nrow);
  const std::vector<Role> outsideRow(ncol, Role::Outside);  // beyond the grid's edges
  // The roles of the layers above, at and below the one at hand.
  std::vector<Role> roles(std::min(3, grid.nlay) * layerCells);
  const auto rolesOf = [&](int layer) { return roles.data() + static_cast<std::size_t>(layer % 3) * layerCells; };
  const auto takeRoles = [&](int layer) {
    const std::span<const int> values = idomain.subspan(static_cast<std::size_t>(layer) * layerCells, layerCells);
    std::transform(values.begin(), values.end(), rolesOf(layer), RoleOf);
  };
  takeRoles(0);
  std::vector<std::size_t> acrossPassThrough;
  for (int layer = 0; layer < grid.nlay; ++layer) {
    if (layer + 1 < grid.nlay) takeRoles(layer + 1);
    for (int row = 0; row < grid.nrow; ++row) {
      const std::size_t inLayer = static_cast<std::size_t>(row) * ncol;
      const std::size_t first = static_cast<std::size_t>(layer) * layerCells + inLayer;
      const Role* here = rolesOf(layer) + inLayer;
      const RowsAround around{row > 0 ? here - ncol : outsideRow.data(),
                              row + 1 < grid.nrow ? here + ncol : outsideRow.data(),
                              layer > 0 ? rolesOf(layer - 1) + inLayer : outsideRow.data(),
                              layer + 1 < grid.nlay ? rolesOf(layer + 1) + inLayer : outsideRow.data()};
      EntriesInRow(here, around, present_.data() + first);
      for (std::size_t column = 0; column < ncol; ++column)
        if (ReachesAcrossPassThrough(present_[first + column])) acrossPassThrough.push_back(first + column);
    }
  }
  // Once every cell is marked, the cells beyond pass-through cells can be found.
  for (const std::size_t cell : acrossPassThrough) present_[cell] = EntriesAcrossPassThrough(present_[cell], cell);
  usable_ = true;
  for (ConnectionWalk walk(*this); walk.Next();) entries_ += static_cast<std::int64_t>(walk.EntryCount());
}

CellConnections::CellConnections(GridShape grid, std::vector<std::int64_t> IA, std::vector<std::int32_t> JA)
    : grid_(grid), IA_(std::move(IA)), JA_(std::move(JA)) {
  usable_ = static_cast<std::int64_t>(IA_.size()) == CellCount() + 1 && IA_.front() == 0 &&
            IA_.back() == static_cast<std::int64_t>(JA_.size()) && std::is_sorted(IA_.begin(), IA_.end()) &&
            std::all_of(JA_.begin(), JA_.end(), [&](std::int32_t cell) { return cell >= 0 && cell < CellCount(); });
  if (usable_) entries_ = IA_.back();
}

// Without a branch a cell, a row at a time: the cells above and below are
// taken as next cells and marked where either is a pass-through cell; a
// pass-through cell is marked as one. The columns between the row's ends
// take their left and right neighbours without a test, so that the loop
// over them is packed.
void CellConnections::EntriesInRow(const Role* here, const RowsAround& around, std::uint8_t* present) const {
  const auto ncol = static_cast<std::size_t>(grid_.ncol);
  const Role *above = around.above, *behind = around.behind, *front = around.front, *below = around.below;
  // All bits where `is`, none where not: a select the packed loop can make.
  const auto where = [](bool is, std::uint8_t bits) { return static_cast<std::uint8_t>(-std::uint8_t{is} & bits); };
  const auto entriesOf = [=](std::size_t column, Role left, Role right) {
    const auto inside = [&](Role role, EntryBits entry) { return where(role == Role::Inside, entry); };
    const bool across = (above[column] == Role::PassThrough) | (below[column] == Role::PassThrough);
    const auto entries =
        static_cast<std::uint8_t>(kSelf | inside(above[column], kAbove) | inside(behind[column], kBehind) |
                                  inside(left, kLeft) | inside(right, kRight) | inside(front[column], kFront) |
                                  inside(below[column], kBelow) | where(across, kAcrossPassThrough));
    return static_cast<std::uint8_t>(where(here[column] == Role::Inside, entries) |
                                     where(here[column] == Role::PassThrough, kPassThroughCell));
  };
  present[0] = entriesOf(0, Role::Outside, ncol > 1 ? here[1] : Role::Outside);
  // Blocks of a fixed length, which the compiler packs without a test of
  // its own; the bits written are no role read.
  constexpr std::size_t kBlock = 16;
  std::size_t column = 1;
  for (; column + kBlock < ncol; column += kBlock) {
#pragma GCC ivdep
    for (std::size_t n = 0; n < kBlock; ++n)
      present[column + n] = entriesOf(column + n, here[column + n - 1], here[column + n + 1]);
  }
  for (; column + 1 < ncol; ++column) present[column] = entriesOf(column, here[column - 1], here[column + 1]);
  if (ncol > 1) present[ncol - 1] = entriesOf(ncol - 1, here[ncol - 2], Role::Outside);
}

std::uint8_t CellConnections::EntriesAcrossPassThrough(std::uint8_t present, std::size_t cell) const {
  const auto n = static_cast<std::int64_t>(cell);
  const int vertical = (VerticalNeighbour(n, -1) >= 0 ? kAbove : 0) | (VerticalNeighbour(n, 1) >= 0 ? kBelow : 0);
  return static_cast<std::uint8_t>((present & ~(kAbove | kBelow)) | vertical);
}

std::int64_t CellConnections::VerticalNeighbour(std::int64_t cell, int direction) const {
  const std::int64_t step = direction * std::int64_t{grid_.ncol} * grid_.nrow;
  for (std::int64_t n = cell + step; n >= 0 && n < CellCount(); n += step) {
    if (present_[n] != kPassThroughCell) return present_[n] & kSelf ? n : -1;
  }
  return -1;
}

}  // namespace kestra
