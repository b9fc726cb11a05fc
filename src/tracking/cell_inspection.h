// What the cell inspector tells of one cell: where it is, its elevations,
// head, drawdown, saturated thickness, porosity, cell-centre velocities,
// boundary packages and their budget terms, each value with the model's units.
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "results/boundary_flows.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/particle_set.h"

namespace kestra {

struct InspectedValue {
  std::string name;   // "Head"
  std::string value;  // "12.5 m"
};

// What the time step loaded: a value it did not load is not shown as 0.
struct InspectedResults {
  bool heads = false;
  bool drawdowns = false;
  bool flows = false;
};

// The lines of the inspector for `cell` (layer, row, column inside the
// grid), its boundary packages `packages` ("pumping well", ...) and their
// terms in the budget of the time step `terms`, lengths in the model's
// length unit, velocities and flows per its time unit `timeUnit`.
std::vector<InspectedValue> InspectCell(const ModelState& state, const Settings& settings,
                                        const TrackingSettings& tracking, int timeUnit, CellIndex cell,
                                        const InspectedResults& loaded, const std::vector<std::string>& packages,
                                        const std::vector<CellTerm>& terms);

}  // namespace kestra
