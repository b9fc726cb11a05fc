// Walking the terms of one time step of a budget file, in file order.
#pragma once

#include <cstdint>
#include <functional>

#include "core/cell_array.h"
#include "results/budget_header.h"

namespace kestra {

enum class StepWalk {
  Ended,      // the step's terms are passed: a later step or the end of the file
  Stopped,    // `visit` stopped the walk
  Damaged,    // a header that cannot be read
  OtherGrid,  // a term of another grid
};

// Hands every term of time step `kstp` of period `kper`, from the first
// record on, to `visit`, which reads or skips the term's data and sets
// `next` to the offset after them, or returns false to stop. Terms of other
// steps are passed over; terms of flows per connection have no grid to
// compare.
StepWalk WalkStepTerms(ResultFile& result, int kstp, int kper, const GridShape& grid,
                       const std::function<bool(const BudgetHeader& header, std::int64_t& next)>& visit);

}  // namespace kestra
