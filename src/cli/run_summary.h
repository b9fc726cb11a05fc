// What the particles of a batch run ended with, for the lines after the run.
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/endpoint_table.h"

namespace kestra::cli {

// One line per direction tracked: how many particles ended for each reason,
// the most frequent first, and for those that ended in a sink cell the
// boundary packages of that cell in the stress period loaded last
// ("forward: 8 entered a sink cell (6 wells, 2 drains), 3 left the grid").
std::vector<std::string> StopSummaryLines(const std::vector<Endpoint>& endpoints, const ModelState& model);

// How many particles were still moving when their tracking steps ran out.
int EndedAtStepLimit(const std::vector<Endpoint>& endpoints);

}  // namespace kestra::cli
