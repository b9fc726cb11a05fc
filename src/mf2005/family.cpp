#include "mf2005/model.h"

#include <algorithm>

#include "core/data_types.h"
#include "core/model_paths.h"

namespace kestra {

Mf2005Family::Mf2005Family(const Mf2005Model& model)
    : nameFilePath_(model.nameFilePath),
      grid_(model.Shape()),
      boundaryPackages_(model.boundaryPackages),
      recharge_(model.recharge),
      evapotranspiration_(model.evapotranspiration),
      hasEvapotranspiration_(model.hasEvapotranspiration),
      defaultFaces_(model.defaultFaces) {}

std::string Mf2005Family::SiblingPath(const std::string& extension) const {
  return PathWithoutExtension(nameFilePath_) + extension;
}

PackageKeys Mf2005Family::ListedBoundaryPackages(const ModelState&) const {
  PackageKeys listed;
  for (const BoundaryPackage& package : boundaryPackages_) listed.insert(package.fileType);
  return listed;
}

bool Mf2005Family::MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface&, bool) const {
  return MarkMf2005Sinks(state, boundaryPackages_, skipped);
}

// The cells read at the import for the period; the name file lists the
// package when the import kept it.
bool Mf2005Family::ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const {
  const char* key = data_type::PackageKey(dataType);
  const auto package = std::find_if(boundaryPackages_.begin(), boundaryPackages_.end(),
                                    [key](const BoundaryPackage& p) { return key && p.fileType == key; });
  if (package == boundaryPackages_.end()) return false;
  values.Clear(grid_);
  if (const auto* cells = package->CellsOf(period))
    for (const BoundaryCell& cell : *cells)
      if (cell.layer == layer && grid_.Contains(cell.column, cell.row, cell.layer))
        values(cell.column, cell.row) = cell.value;
  return true;
}

// Without an ET term in the budget, QET follows from the EVT package and the heads.
void Mf2005Family::PlaceArealFlows(ModelState& state) const {
  PlaceMf2005Recharge(state, recharge_);
  if (!evapotranspiration_.empty()) PlaceMf2005Evapotranspiration(state, evapotranspiration_);
}

bool OpenMf2005Model(const std::string& path, const OpenChoices& choices, OpenedModel& opened,
                     UserInterface& ui, const OpenStage& stage) {
  stage(0);
  Mf2005Model read;
  const LayerPorosity porosity = ChosenLayerPorosity(path, choices);
  if (!ReadMf2005Model(path, read, ui, porosity)) return false;
  stage(6);
  CopyMf2005Model(std::move(read), opened);
  return true;
}

}  // namespace kestra
