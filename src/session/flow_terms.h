// The flow terms of the current time step for any model family.
#pragma once

#include "core/model_state.h"
#include "core/user_interface.h"

namespace kestra {

// ReadFlowTerms with the areal terms the model's family takes from the
// budget file, then the recharge and evapotranspiration the family places
// itself (from its packages and the heads). The result is ReadFlowTerms'.
bool LoadFlowTerms(ModelState& model, UserInterface& ui, bool showMessages);

}  // namespace kestra
