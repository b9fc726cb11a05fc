// Per-cell arrays of the model: one contiguous run of values indexed
// (column, row, layer), 1-based in use, with the first index varying fastest
// in memory.
#pragma once

#include <cstddef>

#include "core/zeroed_buffer.h"

namespace kestra {

// Extents of every per-cell array: columns 0..NCOL+1, rows 0..NROW+1 and
// layers 0..NLAY. The one-cell border around each layer stays untouched, so
// neighbour look-ups at column 0 or NCOL+1 and row 0 or NROW+1 need no range
// test; every array shares this shape so one index serves them all.
struct GridShape {
  int ncol = 0;
  int nrow = 0;
  int nlay = 0;

  std::size_t Index(int column, int row, int layer) const {
    return static_cast<std::size_t>(column) +
           static_cast<std::size_t>(ncol + 2) *
               (static_cast<std::size_t>(row) + static_cast<std::size_t>(nrow + 2) * static_cast<std::size_t>(layer));
  }
  std::size_t Size() const {
    return static_cast<std::size_t>(ncol + 2) * static_cast<std::size_t>(nrow + 2) * static_cast<std::size_t>(nlay + 1);
  }
  bool Contains(int column, int row, int layer) const {
    return column >= 1 && column <= ncol && row >= 1 && row <= nrow && layer >= 1 && layer <= nlay;
  }
  bool operator==(const GridShape&) const = default;
};

template <typename T>
struct CellArray {
  GridShape shape;
  ZeroedBuffer<T> values;

  // Discards the contents and sizes the array for `newShape`, all zero.
  // Fresh memory, the old given back first: the pages of a large array are
  // zeroed only as they are first touched.
  void Dimension(const GridShape& newShape) {
    shape = newShape;
    values = {};
    values = ZeroedBuffer<T>(shape.Size());
  }
  T& operator()(int column, int row, int layer) { return values[shape.Index(column, row, layer)]; }
  const T& operator()(int column, int row, int layer) const { return values[shape.Index(column, row, layer)]; }
  bool operator==(const CellArray&) const = default;
};

}  // namespace kestra
