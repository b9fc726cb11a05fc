#include "core/cell_connections.h"

#include <algorithm>

namespace kestra {
namespace {

CellConnections::Role RoleOf(int idomain) {
  using Role = CellConnections::Role;
  // MODFLOW 6 takes every negative IDOMAIN for a pass-through cell.
  return idomain > 0 ? Role::Inside : idomain < 0 ? Role::PassThrough : Role::Outside;
}

// Each cell itself and every connection twice, once from each of its cells.
std::int64_t EntriesWithEveryCellInside(GridShape grid) {
  const std::int64_t ncol = grid.ncol, nrow = grid.nrow, nlay = grid.nlay;
  return ncol * nrow * nlay + 2 * ((ncol - 1) * nrow * nlay + ncol * (nrow - 1) * nlay + ncol * nrow * (nlay - 1));
}

}  // namespace

CellConnections::CellConnections(GridShape grid, std::span<const int> idomain) : grid_(grid) {
  if (static_cast<std::int64_t>(idomain.size()) != CellCount()) return;
  roles_.resize(idomain.size());
  std::transform(idomain.begin(), idomain.end(), roles_.begin(), RoleOf);
  usable_ = true;
  if (std::all_of(roles_.begin(), roles_.end(), [](Role role) { return role == Role::Inside; })) {
    entries_ = EntriesWithEveryCellInside(grid);
    return;
  }
  for (ConnectionWalk walk(*this); walk.Next();) entries_ += static_cast<std::int64_t>(walk.Entries().size());
}

CellConnections::CellConnections(GridShape grid, std::vector<std::int64_t> IA, std::vector<std::int32_t> JA)
    : grid_(grid), IA_(std::move(IA)), JA_(std::move(JA)) {
  usable_ = static_cast<std::int64_t>(IA_.size()) == CellCount() + 1 && IA_.front() == 0 &&
            IA_.back() == static_cast<std::int64_t>(JA_.size()) && std::is_sorted(IA_.begin(), IA_.end()) &&
            std::all_of(JA_.begin(), JA_.end(), [&](std::int32_t cell) { return cell >= 0 && cell < CellCount(); });
  if (usable_) entries_ = IA_.back();
}

}  // namespace kestra
