// The wells a capture zone starts from: the cells of a well's screen and the
// rate of the well data in each, in one stress period.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/particle_set.h"

namespace kestra {

struct WellScreen {
  std::vector<CellIndex> cells;  // one column and row, layer by layer; a source's cells may lie anywhere
  std::string name;              // WellName when empty
};

// "layer 2, row 8, column 15"
std::string CellText(CellIndex cell);

// "2,8,15" for one cell, "1-3,8,15" for a screen over layers 1 to 3.
std::string WellName(const WellScreen& well);

// The rate of the well data of `cell` in stress period `period`: negative
// where the well pumps, 0 where the model has no well there.
float WellRateAt(const ModelState& state, int period, CellIndex cell);

// Why the cells of `well` cannot be tracked from as a pumping well in
// `period` (outside the grid, no well data, injecting); empty when they can.
std::string WellScreenProblem(const ModelState& state, int period, const WellScreen& well);

// The pumping well whose screen holds `cell` in `period`; nothing, with the
// reason in `problem`, when the cell holds none.
std::optional<WellScreen> PumpingWellAt(const ModelState& state, int period, CellIndex cell, std::string& problem);

// Every pumping well of `period`: cells of one column and row whose rates
// are negative, in adjacent layers, form one screen. Rows outer, columns inner.
std::vector<WellScreen> PumpingWells(const ModelState& state, int period);

}  // namespace kestra
