// The boundary cells and recharge of each stress period of a model imported
// from a standard MODFLOW-2005 name file, read once at the import.
#pragma once

#include <string>
#include <vector>

namespace kestra {

// One cell of a list package in one stress period. `value` decides whether
// the cell is a sink: the rate of a well (negative when pumping), the
// conductance of a river, drain, general-head or stream cell.
struct BoundaryCell {
  int layer = 0;
  int row = 0;
  int column = 0;
  float value = 0;
};

// A list package ("WEL", "RIV", "DRN", "GHB", "STR") and its cells per
// stress period, index 1..NPER (0 unused).
struct BoundaryPackage {
  std::string fileType;
  std::vector<std::vector<BoundaryCell>> periods;

  // The cells of stress period `period`; null when the package holds no such period.
  const std::vector<BoundaryCell>* CellsOf(int period) const {
    return period >= 1 && period < static_cast<int>(periods.size()) ? &periods[period] : nullptr;
  }
};

// Recharge of one stress period per column and row, index (row-1)*NCOL +
// column-1: the flow into the cell (volume per time) and its layer, 0 where
// MODFLOW applies no recharge.
struct RechargePeriod {
  std::vector<float> flow;
  std::vector<int> layer;
};

// Evapotranspiration of one stress period per column and row, indexed as
// RechargePeriod: the ET surface, the extinction depth, the largest flow out
// of the cell (rate x cell area) and its layer, 0 for the highest cell that
// is not inactive at the time.
struct EvapotranspirationPeriod {
  std::vector<float> surface;
  std::vector<float> extinctionDepth;
  std::vector<float> maxFlow;
  std::vector<int> layer;
};

}  // namespace kestra
