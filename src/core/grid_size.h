// The grid sizes a model may have: at least one column, row and layer, and
// few enough cells that every per-cell array fits in memory. Model files,
// pre-processor name files and MODFLOW name files share these limits.
#pragma once

#include <string>

#include "core/user_interface.h"

namespace kestra {

// The model's own cells, border cells of the arrays not counted: 16 per-cell
// arrays of this many cells take about 1.3 GB.
inline constexpr long long kMaxModelCells = 20'000'000;

// True when ncol x nrow x nlay, each at least 1, make at most kMaxModelCells.
bool GridSizeFits(double ncol, double nrow, double nlay);

// "at least one column, row and layer with at most 20000000 cells".
std::string GridSizeLimitText();

// True when ncol x nrow x nlay is a grid this system can hold; otherwise
// false with a message naming `path`, the file that gave the dimensions.
bool AcceptGridSize(const std::string& path, int ncol, int nrow, int nlay, UserInterface& ui);

}  // namespace kestra
