// Which time steps a head or budget file holds: the output control of a
// MODFLOW run saves only some, and a pathline run needs each step it walks
// through.
#pragma once

#include <compare>
#include <set>
#include <string>

namespace kestra {

struct SavedStep {
  int period = 0;
  int step = 0;
  auto operator<=>(const SavedStep&) const = default;
};

using SavedSteps = std::set<SavedStep>;

// The steps of the records of the head (or drawdown) file at `path`, in
// whatever layout it was written. False when the file cannot be opened or
// its layout is not known; steps before a damaged record are kept.
bool ListHeadSteps(const std::string& path, SavedSteps& steps);

// The same for the terms of a budget file.
bool ListBudgetSteps(const std::string& path, SavedSteps& steps);

// "period 1 step 2, period 1 step 3"
std::string StepListText(const SavedSteps& steps);

// What an end-point file says of the steps a run held the flow field over;
// empty when there are none.
std::string HeldStepsNote(const SavedSteps& held);

}  // namespace kestra
