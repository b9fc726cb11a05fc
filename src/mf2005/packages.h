// Readers of the MODFLOW-2005 packages an import needs. Each reads one
// package file from its start and fills its part of the model; false with
// `problem` set when the file does not hold what MODFLOW would read.
#pragma once

#include <string>

#include "mf2005/array.h"
#include "mf2005/model.h"

namespace kestra {

// DIS: grid, widths, elevations and stress periods. Quasi-3-D confining beds
// (LAYCBD) are refused.
bool ReadDiscretization(PackageInput& input, Mf2005Files& files, Mf2005Model& model, std::string& problem);

// BAS6: options, IBOUND and HNOFLO (the starting heads are not needed).
// `freeFormat` tells whether the other packages are in free format.
bool ReadBasic(PackageInput& input, Mf2005Files& files, Mf2005Model& model, bool& freeFormat, std::string& problem);

// LPF, UPW or BCF6 (`fileType`): layer types into LAYCON, HDRY and the unit
// that saves the cell-by-cell budget.
bool ReadFlowPackage(const std::string& fileType, PackageInput& input, bool freeFormat, Mf2005Model& model,
                     int& budgetUnit, std::string& problem);

// OC: the units that save heads and drawdowns (0 when not saved).
bool ReadOutputControl(PackageInput& input, bool freeFormat, int& headUnit, int& drawdownUnit,
                       std::string& problem);

// WEL, RIV, DRN, GHB, STR or CHD (`package.fileType`): the cells of every
// stress period; a period with ITMP < 0 keeps the cells of the one before.
bool ReadListPackage(PackageInput& input, Mf2005Files& files, bool freeFormat, const Mf2005Model& model,
                     BoundaryPackage& package, std::string& problem);

// RCH: the recharge of every stress period into model.recharge, as flows
// placed by NRCHOP the way MODFLOW applies them (needs DELR, DELC, IBOUND).
bool ReadRecharge(PackageInput& input, Mf2005Files& files, bool freeFormat, Mf2005Model& model,
                  std::string& problem);

// EVT: the surface, rate, extinction depth and layer of every stress period
// into model.evapotranspiration (needs DELR, DELC); `budgetUnit` is IEVTCB,
// the unit its budget term goes to.
bool ReadEvapotranspiration(PackageInput& input, Mf2005Files& files, bool freeFormat, Mf2005Model& model,
                            int& budgetUnit, std::string& problem);

// The layer recharge or ET reaches at one column and row by MODFLOW's option
// (NRCHOP, NEVTOP: 1 the top layer, 2 `layerArrayValue`, 3 the highest cell
// that is not inactive); 0 when that cell is not variable-head, since only
// those take recharge or lose water to ET.
int ArealLayer(const CellArray<std::int16_t>& IBOUND, int option, int layerArrayValue, int column, int row);

// A MODPATH basic data file: POROSITY per layer (0 becomes 1.0E-20).
bool ReadMpbasPorosity(PackageInput& input, Mf2005Files& files, Mf2005Model& model, std::string& problem);

}  // namespace kestra
