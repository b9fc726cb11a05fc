#include "graphics/package_layers.h"

namespace kestra {
namespace {

bool Injects(float rate) { return rate > 0; }
bool Extracts(float rate) { return rate < 0; }
bool NonZero(float value) { return value != 0; }

}  // namespace

std::vector<PackageGroup> PackageGroups(const Settings& s) {
  return {
      {data_type::kWells, s.rechargeWellColor, IsOn(s.showRechargeWells), Injects, "INJECTION_WELLS",
       "injection well"},
      {data_type::kWells, s.dischargeWellColor, IsOn(s.showDischargeWells), Extracts, "PUMPING_WELLS", "pumping well"},
      {data_type::kDrains, s.drainColor, IsOn(s.showDrains), NonZero, "DRAINS", "drain"},
      {data_type::kRivers, s.riverColor, IsOn(s.showRivers), NonZero, "RIVERS", "river"},
      {data_type::kStreams, s.riverColor, IsOn(s.showRivers), NonZero, "STREAMS", "stream"},
      {data_type::kGeneralHead, s.ghbCellColor, IsOn(s.showGhbCells), NonZero, "GENERAL_HEADS", "general-head cell"},
  };
}

std::vector<std::string> PackagesAtCell(const PackageLayerReader& reader, const ModelState& model,
                                        const Settings& settings, CellIndex cell, int period) {
  std::vector<std::string> names;
  LayerValues values;
  for (const PackageGroup& group : PackageGroups(settings))
    if (ReadPackageLayer(reader, model, group.dataType, cell.layer, period, values) &&
        group.marks(values(cell.column, cell.row)))
      names.push_back(group.name);
  return names;
}

bool Simulates(const ModelState& model, int dataType) { return FamilyOf(model).SimulatesPackage(model, dataType); }

bool ReadReservoirArrays(const PackageLayerReader& reader, const ModelState& model, int option, LayerValues& locations,
                         LayerValues& layers) {
  // Reservoirs are fixed in stress period 1.
  if (!ReadPackageLayer(reader, model, data_type::kReservoirLocations, 1, 1, locations)) return false;
  return option != 1 || ReadPackageLayer(reader, model, data_type::kReservoirLayers, 1, 1, layers);
}

bool ReservoirReachesLayer(const ModelState& model, int option, const LayerValues& layers, int column, int row,
                           int layer) {
  if (option == 1) return static_cast<float>(layer) <= layers(column, row);
  if (option == 2) {
    for (int k = 1; k <= model.NLAY; ++k)
      if (model.IBOUND(column, row, k) > 0) return k == layer;
    return false;
  }
  return layer == 1;
}

bool ReadPackageLayer(const PackageLayerReader& reader, const ModelState& model, int dataType, int layer, int period,
                      LayerValues& values) {
  if (!reader || !reader(dataType, layer, period, values)) return false;
  return values.ncol == model.NCOL && values.nrow == model.NROW &&
         values.values.size() == static_cast<std::size_t>(model.NCOL) * static_cast<std::size_t>(model.NROW);
}

}  // namespace kestra
