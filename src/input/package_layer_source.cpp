#include "input/package_layer_source.h"

#include <algorithm>
#include <array>
#include <optional>

#include "input/model_array.h"
#include "input/model_paths.h"
#include "input/package_files.h"

namespace kestra {
namespace {

// The data types the views draw; nothing else is read through a reader.
constexpr std::array kDrawnDataTypes = {
    data_type::kWells,          data_type::kDrains, data_type::kRivers, data_type::kGeneralHead, data_type::kStreams, data_type::kBarriers, data_type::kReservoirLocations,
    data_type::kReservoirLayers};

bool IsDrawnDataType(int dataType) {
  for (int drawn : kDrawnDataTypes)
    if (drawn == dataType) return true;
  return false;
}

void SizeLayer(LayerValues& values, const GridShape& grid) {
  values.ncol = grid.ncol;
  values.nrow = grid.nrow;
  values.values.assign(static_cast<std::size_t>(grid.ncol) * static_cast<std::size_t>(grid.nrow), 0.0f);
}

float& ValueAt(LayerValues& values, int column, int row) {
  return values.values[static_cast<std::size_t>(row - 1) * values.ncol + static_cast<std::size_t>(column - 1)];
}

// A model file set: one layer of the data set the record directory names for
// the period. Arrays the model lacks are not worth a message while drawing.
PackageLayerReader ModelFileSetReader(const ModelState& model) {
  const ModelArraySource source{ModelBasePath(model.ModelPath), model.Shape()};
  return [source](int dataType, int layer, int period, LayerValues& values) {
    if (!IsDrawnDataType(dataType) || layer < 1 || layer > source.grid.nlay) return false;
    LayerGrid grid;
    grid.Dimension(source.grid.ncol, source.grid.nrow);
    SilentInterface silent;
    if (!ReadModelArray(source, dataType, period, layer, grid, 0.0f, silent)) return false;
    SizeLayer(values, source.grid);
    for (int i = 1; i <= grid.nrow; ++i)
      for (int j = 1; j <= grid.ncol; ++j) ValueAt(values, j, i) = grid(j, i);
    return true;
  };
}

// The package of a name file that holds a data type; none for barriers and
// reservoirs, which name files do not carry.
const char* PackageKey(int dataType) {
  switch (dataType) {
    case data_type::kWells: return "WEL";
    case data_type::kDrains: return "DRN";
    case data_type::kRivers: return "RIV";
    case data_type::kStreams: return "STR";
    case data_type::kGeneralHead: return "GHB";
    default: return nullptr;
  }
}

// A model imported from a name file: the cells its list packages give for
// the period, in the layer asked for; cells outside the grid are left out.
PackageLayerReader NameFileReader(const ModelState& model) {
  const PackagePaths packages = model.packages;
  const GridShape grid = model.Shape();
  return [packages, grid](int dataType, int layer, int period, LayerValues& values) {
    const char* key = PackageKey(dataType);
    if (!key) return false;
    const auto cells = ListedPackageCells(packages, key, period);
    if (!cells) return false;
    SizeLayer(values, grid);
    for (const PackageCell& cell : *cells)
      if (cell.layer == layer && grid.Contains(cell.column, cell.row, cell.layer))
        ValueAt(values, cell.column, cell.row) = cell.value;
    return true;
  };
}

// A standard MODFLOW-2005 import: the cells read at the import for the
// period; the name file lists the package when the import kept it.
PackageLayerReader Mf2005Reader(const ModelState& model) {
  const std::vector<BoundaryPackage> packages = model.boundaryPackages;
  const GridShape grid = model.Shape();
  return [packages, grid](int dataType, int layer, int period, LayerValues& values) {
    const char* key = PackageKey(dataType);
    const auto package = std::find_if(packages.begin(), packages.end(),
                                      [key](const BoundaryPackage& p) { return key && p.fileType == key; });
    if (package == packages.end()) return false;
    SizeLayer(values, grid);
    if (const auto* cells = package->CellsOf(period))
      for (const BoundaryCell& cell : *cells)
        if (cell.layer == layer && grid.Contains(cell.column, cell.row, cell.layer))
          ValueAt(values, cell.column, cell.row) = cell.value;
    return true;
  };
}

}  // namespace

PackageLayerReader MakePackageLayerReader(const Session& session) {
  const ModelState& model = session.model;
  // One reader per kind of model.
  if (model.importedFromMf2005) return Mf2005Reader(model);
  if (model.importedFromNameFile) return NameFileReader(model);
  return ModelFileSetReader(model);
}

}  // namespace kestra
