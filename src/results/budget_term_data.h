// The data records of a budget term, whichever IMETH wrote them: passed over
// by their sizes, or read into the cells of the model's grid.
#pragma once

#include <cstdint>

#include "core/cell_array.h"
#include "core/face_flows.h"
#include "results/budget_header.h"

namespace kestra {

// Passes over the term's data records without reading their values; `next`
// is then the offset of the next header. False for damaged or truncated data.
bool SkipBudgetData(ResultFile& result, const BudgetHeader& header, std::int64_t& next);

// Where the flows of a term that belong on a face of their cell go: a list
// entry whose IFACE auxiliary variable ("IFACE", MODFLOW 6's "IFLOWFACE")
// names a face, or every flow of a term without that variable when
// `defaultFace` names one, is added to `faces`, not to the term's cells.
struct FaceRouting {
  AssignedFaceFlows& faces;
  int defaultFace = 0;
};

// Reads the term into `target` (shaped for the header's grid, its border
// zero): cells the term does not list keep their value, values listed twice
// for a cell are added; with `routing`, the flows on faces go there
// instead. False for damaged data (a cell or layer number outside the grid
// included).
bool ReadBudgetData(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next,
                    const FaceRouting* routing = nullptr);

}  // namespace kestra
