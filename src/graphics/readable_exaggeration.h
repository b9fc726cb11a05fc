// The vertical exaggeration a model's sections get when its settings file
// does not set one.
#pragma once

#include "core/model_state.h"

namespace kestra {

// The section at least a fifth as deep as the plan is high, for thin
// aquifers under wide grids: the plan's length over five times the model's
// elevation range, to two significant digits, never below 1 nor above 1000.
float ReadableExaggeration(const ModelState& model);

}  // namespace kestra
