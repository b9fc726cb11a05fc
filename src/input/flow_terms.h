// The flow terms of the current time step for either kind of model.
#pragma once

#include "core/model_state.h"
#include "core/user_interface.h"

namespace kestra {

// ReadFlowTerms, then, for a model imported from a name file with a recharge
// package, the recharge of CurrentPeriod from that package (its budget file
// carries no recharge this system reads), as flows in QRECH; and for a
// MODFLOW-2005 import whose budget holds no ET term, QET computed from its
// EVT package and the heads. The result is ReadFlowTerms'.
bool LoadFlowTerms(ModelState& model, UserInterface& ui, bool showMessages);

}  // namespace kestra
