#include "graphics/package_layers.h"

#include <algorithm>

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

namespace {

bool AnyCell(const ModelState& model, const std::function<bool(int, int, int)>& marked) {
  for (int k = 1; k <= model.NLAY; ++k)
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j)
        if (marked(j, i, k)) return true;
  return false;
}

bool AnyPackageCell(const PackageLayerReader& reader, const ModelState& model, const PackageGroup& group,
                    int period) {
  if (!Simulates(model, group.dataType)) return false;
  LayerValues values;
  for (int k = 1; k <= model.NLAY; ++k) {
    if (!ReadPackageLayer(reader, model, group.dataType, k, period, values)) continue;
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j)
        if (model.IBOUND(j, i, k) > 0 && group.marks(values(j, i))) return true;
  }
  return false;
}

bool AnyReservoir(const PackageLayerReader& reader, const ModelState& model, const Settings& settings) {
  LayerValues locations, layers;
  if (!Simulates(model, data_type::kReservoirLocations) ||
      !ReadReservoirArrays(reader, model, settings.reservoirOption, locations, layers))
    return false;
  return std::any_of(locations.values.begin(), locations.values.end(), [](float v) { return v > 0; });
}

}  // namespace

std::vector<Colour> PresentCellColours(const PackageLayerReader& reader, const ModelState& model,
                                       const Settings& settings, int period) {
  std::vector<Colour> colours;
  const auto add = [&](Colour colour) {
    if (std::find(colours.begin(), colours.end(), colour) == colours.end()) colours.push_back(colour);
  };
  if (AnyCell(model, [&](int j, int i, int k) { return model.IBOUND(j, i, k) == 0; }))
    add(settings.inactiveCellColor);
  if (AnyCell(model, [&](int j, int i, int k) { return model.IBOUND(j, i, k) < 0; }))
    add(settings.fixedHeadCellColor);
  for (const PackageGroup& group : PackageGroups(settings))
    if (AnyPackageCell(reader, model, group, period)) add(group.colour);
  if (AnyReservoir(reader, model, settings)) add(settings.reservoirColor);
  if (Simulates(model, data_type::kBarriers)) add(settings.barrierColor);
  return colours;
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
