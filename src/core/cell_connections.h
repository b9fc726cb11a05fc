// The connections between the cells of a grid in the order of a budget term
// that gives one flow per connection (MODFLOW 6's FLOW-JA-FACE).
#pragma once

#include <cstdint>
#include <vector>

namespace kestra {

// Cells are numbered from 0, layer 1 first, row 1 first within a layer,
// columns fastest. The connections of cell n are JA[IA[n]] .. JA[IA[n+1]-1]:
// the cell itself first, then its neighbours; a cell outside the model has
// none. IA has one entry per cell and one more.
struct CellConnections {
  std::vector<std::int64_t> IA;
  std::vector<std::int32_t> JA;

  std::int64_t CellCount() const { return IA.empty() ? 0 : static_cast<std::int64_t>(IA.size()) - 1; }
};

}  // namespace kestra
