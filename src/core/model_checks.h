// Checks of an opened model's numbers that the readers take as written:
// geometry and times the tracking cannot work with are refused at the open,
// not found later as NaN positions.
#pragma once

#include <string>

#include "core/model_state.h"
#include "core/stress_periods.h"

namespace kestra {

// Column widths and row heights from 1e-6 to 1e10 model length units.
inline constexpr double kSmallestCellWidth = 1e-6;
inline constexpr double kLargestCellWidth = 1e10;
// Elevations of active cells within +-1e10.
inline constexpr double kLargestElevation = 1e10;

// The first number of the model that cannot be tracked in, with its array
// and cell or period: a width outside the range above or not finite, a top
// or bottom of an active cell that is not finite or beyond the range, a
// negative or non-finite period length, a time-step count below 1, a
// multiplier that is not finite and positive. Empty when all are sound.
std::string ModelNumbersProblem(const ModelState& model, const StressPeriods& periods);

}  // namespace kestra
