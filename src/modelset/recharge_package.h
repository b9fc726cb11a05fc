// The recharge package of a name-file model.
#pragma once

#include <string>

#include "core/model_state.h"

namespace kestra {

// Fills QRECH with the recharge of CurrentPeriod read from `path`: each rate
// times the cell area DELR(j)·DELC(i), so that QRECH is a flow as the budget
// term of a model file set is, in one layer per column and row (NRCHOP 1:
// layer 1; 2: the layer array; 3: the uppermost cell whose IBOUND is not 0).
// Cells whose IBOUND is not above 0 and layer numbers outside the grid take
// no recharge. False when the file
// cannot be read to CurrentPeriod; what was read by then is placed.
bool ReadRechargePackage(const std::string& path, ModelState& state);

}  // namespace kestra
