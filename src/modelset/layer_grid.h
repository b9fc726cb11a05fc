// One layer of model data as the readers deliver it: values (column, row),
// indexed 0..ncol and 0..nrow with index 0 unused.
#pragma once

#include <cstddef>
#include <vector>

#include "core/cell_array.h"

namespace kestra {

struct LayerGrid {
  int ncol = 0;
  int nrow = 0;
  std::vector<float> values;

  // Sizes the grid for ncol x nrow values, all zero.
  void Dimension(int columns, int rows) {
    ncol = columns;
    nrow = rows;
    values.assign(static_cast<std::size_t>(columns + 1) * static_cast<std::size_t>(rows + 1), 0.0f);
  }
  void Fill(float value) { values.assign(values.size(), value); }
  float& operator()(int column, int row) { return values[Index(column, row)]; }
  float operator()(int column, int row) const { return values[Index(column, row)]; }

 private:
  std::size_t Index(int column, int row) const {
    return static_cast<std::size_t>(column) + static_cast<std::size_t>(ncol + 1) * static_cast<std::size_t>(row);
  }
};

// Puts convert(grid(j, i)) into target(j, i, layer) for every column and row
// of the grid.
template <typename T, typename Convert>
void CopyLayer(const LayerGrid& grid, int layer, CellArray<T>& target, Convert convert) {
  for (int i = 1; i <= grid.nrow; ++i)
    for (int j = 1; j <= grid.ncol; ++j) target(j, i, layer) = convert(grid(j, i));
}

}  // namespace kestra
