// Cells with an internal sink in the current stress period.
#pragma once

#include "core/model_state.h"
#include "core/user_interface.h"

namespace kestra {

// Rebuilds SINKCODE for CurrentPeriod: -1 for pumping wells and for drain,
// river, stream and general-head cells, from the data files of a model file
// set, the packages of an imported model or the cells a MODFLOW-2005 import
// read. A data set that cannot be read marks nothing; the result is then
// false (with its message when `showMessages`).
bool LoadSinkCells(ModelState& state, UserInterface& ui, bool showMessages);

}  // namespace kestra
