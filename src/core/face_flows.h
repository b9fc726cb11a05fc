// Boundary flows that the budget puts on one face of their cell (a
// package's IFACE), so that they cross that face instead of entering or
// leaving inside the cell.
#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/cell_array.h"

namespace kestra {

// Faces as IFACE numbers them: 1 towards column J-1, 2 towards column J+1,
// 3 towards row I+1, 4 towards row I-1, 5 the bottom, 6 the top; 0 (or any
// other value) puts the flow inside the cell, a distributed source or sink.
inline constexpr int kCellFaces = 6;

inline bool IsCellFace(int iface) { return iface >= 1 && iface <= kCellFaces; }

// The face that a budget term's flows take where its records carry no IFACE
// of their own: a default IFACE entry of the MODPATH basic data file.
struct DefaultFace {
  std::string label;  // the term's TEXT, upper case, without leading or trailing blanks
  int face = 0;
};

// The face of `label` among `defaults`; 0 where none names it.
inline int FaceOfLabel(const std::vector<DefaultFace>& defaults, const std::string& label) {
  for (const DefaultFace& entry : defaults)
    if (entry.label == label) return entry.face;
  return 0;
}

// Flow into the aquifer (the budget's sign) through each face of a cell;
// face n at index n - 1.
using FaceFlows = std::array<double, kCellFaces>;

// The face flows of the loaded time step by cell; most cells have none.
struct AssignedFaceFlows {
  std::unordered_map<std::size_t, FaceFlows> byCell;  // by GridShape::Index

  void Add(const GridShape& grid, int column, int row, int layer, int face, double flow) {
    byCell[grid.Index(column, row, layer)][static_cast<std::size_t>(face - 1)] += flow;
  }
  // The cell's face flows; null for a cell without any.
  const FaceFlows* Of(const GridShape& grid, int column, int row, int layer) const {
    // Most models assign no flows to faces: skip the hash's modulo for them.
    if (byCell.empty()) return nullptr;
    const auto found = byCell.find(grid.Index(column, row, layer));
    return found == byCell.end() ? nullptr : &found->second;
  }
};

}  // namespace kestra
