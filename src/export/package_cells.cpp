#include "export/package_cells.h"

#include "core/data_types.h"

namespace kestra {
namespace {

struct BoundaryPackage {
  int dataType;
  const char* name;
};
constexpr BoundaryPackage kBoundaryPackages[] = {{data_type::kWells, "wells"},
                                                 {data_type::kDrains, "drains"},
                                                 {data_type::kRivers, "rivers"},
                                                 {data_type::kGeneralHead, "general-head cells"},
                                                 {data_type::kStreams, "streams"}};

}  // namespace

std::vector<std::string> PackageCells::At(CellIndex cell) {
  std::vector<std::string> names;
  for (const BoundaryPackage& package : kBoundaryPackages) {
    const LayerValues* layer = Layer(package.dataType, cell.layer);
    if (layer != nullptr && (*layer)(cell.column, cell.row) != 0) names.push_back(package.name);
  }
  return names;
}

const LayerValues* PackageCells::Layer(int dataType, int layer) {
  const auto [place, added] = layers_.try_emplace({dataType, layer});
  if (added) {
    const ModelFamily& family = FamilyOf(model_);
    place->second.read = family.SimulatesPackage(model_, dataType) &&
                         family.ReadPackageLayer(dataType, layer, model_.CurrentPeriod, place->second.values);
  }
  return place->second.read ? &place->second.values : nullptr;
}

}  // namespace kestra
