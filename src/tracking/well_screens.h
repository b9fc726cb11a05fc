// The wells a capture zone starts from: the cells of a well's screen and the
// rate of the well data in each, in one stress period.
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/particle_set.h"

namespace kestra {

struct WellScreen {
  std::vector<CellIndex> cells;  // one column and row, layer by layer
};

// "2,8,15" for one cell, "1-3,8,15" for a screen over layers 1 to 3.
std::string WellName(const WellScreen& well);

// The rate of the well data of `cell` in stress period `period`: negative
// where the well pumps, 0 where the model has no well there.
float WellRateAt(const ModelState& state, int period, CellIndex cell);

// Every pumping well of `period`: cells of one column and row whose rates
// are negative, in adjacent layers, form one screen. Rows outer, columns inner.
std::vector<WellScreen> PumpingWells(const ModelState& state, int period);

}  // namespace kestra
