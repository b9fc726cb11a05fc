// Cells with an internal sink (or source) in the current time step.
#pragma once

#include "core/model_state.h"
#include "core/user_interface.h"
#include "results/boundary_flows.h"
#include "settings/tracking_settings.h"

namespace kestra {

// Rebuilds SINKCODE for CurrentStep/CurrentPeriod from the well, drain,
// river, stream and general-head cells the model lists for CurrentPeriod
// (as the model's family gives them: data files of a model file set, list
// packages of a name file).
//
// With BoundaryCellRule::SinksByFlowSign a package whose term the budget
// file holds for the time step decides its cells by the term's sign
// (kOutflowCell where water leaves the aquifer, kInflowCell where it enters,
// nothing where the flow is 0); the cells of a listed package without a term
// are kBoundarySink (pumping wells, and every other cell with a value other
// than 0), and `withoutFlowTerms`, when given, receives those packages; the
// flows that the budget puts on a face of their cell (IFACE) go into
// BoundaryFaceFlows and make no sink. With BoundaryCellRule::AllAreSinks
// every such cell is kBoundarySink and BoundaryFaceFlows stays empty.
//
// A data set that cannot be read marks nothing; the result is then false
// (with its message when `showMessages`).
bool LoadSinkCells(ModelState& state, BoundaryCellRule rule, UserInterface& ui, bool showMessages,
                   PackageKeys* withoutFlowTerms = nullptr);

}  // namespace kestra
