// Heads, drawdowns and cell-by-cell flow terms of the current time step.
// The readers accept every layout MODFLOW builds write (Lahey, PowerStation,
// sequential with 4-byte markers, stream) in single or double precision.
#pragma once

#include "core/model_family.h"
#include "core/model_state.h"
#include "core/user_interface.h"
#include "results/budget_reader.h"
#include "results/layer_result_reader.h"
#include "settings/settings.h"

namespace kestra {

// Loads every layer of CurrentStep/CurrentPeriod from HeadPath into HEAD and
// adjusts IBOUND: HNOFLO, HDRY and heads above 1E+25 make a cell inactive;
// any other head turns an inactive cell that was active at open (IBOUND0 not
// 0) into 1; other codes stay. False on the first layer that fails; layers
// read before it stay.
bool LoadHeads(ModelState& state, const Settings& settings, UserInterface& ui, bool showMessages);

// The same for DrawdownPath into DRAWDOWN; IBOUND is not touched.
bool LoadDrawdowns(ModelState& state, UserInterface& ui, bool showMessages);

// Loads the face flows, and the recharge and evapotranspiration terms that
// `areal` names, of CurrentStep/CurrentPeriod from BudgetPath: the three
// face terms, or with `connections` the flows per connection of a MODFLOW 6
// budget. Does nothing when state.flowTermsLoaded is set; sets it only when
// every needed term was read. Arrays of terms not read keep their contents
// (with `connections`, they are unspecified after a failure).
bool ReadFlowTerms(ModelState& state, BudgetArealTerms areal, UserInterface& ui, bool showMessages,
                   const CellConnections* connections = nullptr);

}  // namespace kestra
