// The data records of a budget term, whichever IMETH wrote them: passed over
// by their sizes, or read into the cells of the model's grid.
#pragma once

#include <cstdint>

#include "core/cell_array.h"
#include "results/budget_header.h"

namespace kestra {

// Passes over the term's data records without reading their values; `next`
// is then the offset of the next header. False for damaged or truncated data.
bool SkipBudgetData(ResultFile& result, const BudgetHeader& header, std::int64_t& next);
// Reads the term into `target` (shaped for the header's grid, its border
// zero): cells the term does not list keep their value, values listed twice
// for a cell are added. False for damaged data (a cell or layer number
// outside the grid included).
bool ReadBudgetData(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next);

}  // namespace kestra
