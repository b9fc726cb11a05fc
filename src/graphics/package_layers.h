// The boundary-package data the views mark on the grid: one layer of one
// data type for a stress period, from the model's data files or from an
// imported name file. The views only see this reader.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/data_types.h"
#include "core/model_family.h"
#include "core/model_state.h"
#include "graphics/picture.h"
#include "settings/settings.h"
#include "tracking/particle_set.h"

namespace kestra {

// Fills `values` with layer `layer` of data type `dataType` in stress period
// `period`; false when the model has no such data or does not simulate the
// package (the group is then skipped).
using PackageLayerReader = std::function<bool(int dataType, int layer, int period, LayerValues& values)>;

// A group of boundary-package cells drawn in one colour.
struct PackageGroup {
  int dataType = 0;
  Colour colour = 0;
  bool shown = false;
  bool (*marks)(float value) = nullptr;  // whether a cell's value puts it in the group
  const char* dxfLayer = "0";             // the layer of its cells in DXF plots
  const char* name = "";                  // what one of its cells is: "pumping well", "drain", ...
};

// Recharge wells, discharge wells, drains, rivers, streams (in the river
// colour and under the river switch) and general-head cells, in drawing order.
std::vector<PackageGroup> PackageGroups(const Settings& settings);

// The names of the groups that cell `cell` belongs to in `period`, in
// drawing order ("pumping well", "river", ...); empty for none.
std::vector<std::string> PackagesAtCell(const PackageLayerReader& reader, const ModelState& model,
                                        const Settings& settings, CellIndex cell, int period);

// The colours of the cell kinds the model has in `period`, in any layer,
// whether the settings show them or not: inactive and fixed-head cells,
// the boundary-package groups, reservoirs and barriers. What a legend can
// offer to switch on.
std::vector<Colour> PresentCellColours(const PackageLayerReader& reader, const ModelState& model,
                                       const Settings& settings, int period);

// True when the model simulates the package of `dataType`.
bool Simulates(const ModelState& model, int dataType);

// The reservoir location array and, for layer option 1, the reservoir layer
// array; false when a needed one is missing.
bool ReadReservoirArrays(const PackageLayerReader& reader, const ModelState& model, int option, LayerValues& locations,
                         LayerValues& layers);

// Whether the reservoir of cell (column, row) reaches layer k: option 0 the
// top layer only, option 1 the layers down to the cell's reservoir layer
// value, option 2 the highest active layer of the cell.
bool ReservoirReachesLayer(const ModelState& model, int option, const LayerValues& layers, int column, int row,
                           int layer);

// Reads the layer and checks its size against the grid; false when the data
// is missing or does not fit.
bool ReadPackageLayer(const PackageLayerReader& reader, const ModelState& model, int dataType, int layer, int period,
                      LayerValues& values);

}  // namespace kestra
