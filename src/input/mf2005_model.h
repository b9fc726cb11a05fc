// A standard MODFLOW-2005 / MODFLOW-NWT model read from its name file: the
// grid and layer data, the stress periods, the boundary cells and recharge
// of every stress period, and where the results are. Copied into ModelState
// by the import.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/cell_array.h"
#include "core/model_state.h"
#include "core/user_interface.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"

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
};

// Recharge of one stress period per column and row, index (row-1)*NCOL +
// column-1: the flow into the cell (volume per time) and its layer, 0 where
// MODFLOW applies no recharge.
struct RechargePeriod {
  std::vector<float> flow;
  std::vector<int> layer;
};

struct Mf2005Model {
  std::string nameFilePath;
  int NCOL = 0;
  int NROW = 0;
  int NLAY = 0;
  std::vector<float> DELR, DELC;  // 0..NCOL, 0..NROW; entry 0 unused
  CellArray<std::int16_t> IBOUND;
  CellArray<float> TOP, BOT, POROSITY;
  std::vector<std::int16_t> LAYCON;  // 0..NLAY
  float HNOFLO = -999.99f;
  float HDRY = -1.0E+30f;
  StressPeriods stressPeriods;
  std::vector<bool> steadyState;  // 1..NPER
  std::string HeadPath, DrawdownPath, BudgetPath;
  std::vector<BoundaryPackage> boundaryPackages;
  std::vector<RechargePeriod> recharge;  // 1..NPER; empty without a recharge package
  bool hasEvapotranspiration = false;    // the budget then holds the term "ET"
  bool porosityFromMpbas = false;        // else kDefaultPorosity where no layer porosity is set

  GridShape Shape() const { return {NCOL, NROW, NLAY}; }
};

inline constexpr float kDefaultPorosity = 0.25f;

// Reads the model of a MODFLOW-2005 name file and the MODPATH basic data file
// beside it. Positive entries of `layerPorosity` (entry 0 for layer 1, from
// the model's settings or the command line) set the porosity of their layer.
// On any missing, unreadable or unsupported file: beeps, shows a message
// (exclamation icon, title "KESTRA") and returns false with `model`
// untouched. Says once when the default porosity is used.
bool ReadMf2005Model(const std::string& nameFilePath, Mf2005Model& model, UserInterface& ui,
                     const std::vector<float>& layerPorosity = {});

// True for a cell that stops particles at sinks: a pumping well, or a river,
// drain, general-head or stream cell with a conductance.
bool IsSinkCell(const std::string& fileType, const BoundaryCell& cell);

// Dimensions `state` for the model (discarding everything it held) and fills
// the grid, IBOUND/IBOUND0, TOP, BOT, POROSITY, LAYCON, the model and result
// paths and the import flags; HNOFLO and HDRY go to `settings`, the stress
// periods to `periods`.
void CopyMf2005Model(const Mf2005Model& model, ModelState& state, Settings& settings, StressPeriods& periods);

// SINKCODE and QRECH of stress period `period`; false (state unchanged) when
// the period is not one of the model's or `state` is not dimensioned for it.
bool ApplyMf2005StressPeriod(const Mf2005Model& model, int period, ModelState& state);

}  // namespace kestra
