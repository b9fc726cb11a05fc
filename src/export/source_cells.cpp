#include "export/source_cells.h"

#include <ogrsf_frmts.h>

#include <algorithm>
#include <memory>

#include "core/world_position.h"
#include "export/gdal_support.h"
#include "tracking/face_velocities.h"

namespace kestra {
namespace {

// The union of the polygons of the file's first layer; none when it has none.
std::unique_ptr<OGRGeometry> PolygonsOf(GDALDataset& dataset) {
  OGRLayer* layer = dataset.GetLayerCount() > 0 ? dataset.GetLayer(0) : nullptr;
  if (layer == nullptr) return nullptr;
  auto polygons = std::make_unique<OGRMultiPolygon>();
  for (auto& feature : *layer) {
    const OGRGeometry* geometry = feature->GetGeometryRef();
    if (geometry == nullptr) continue;
    const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
    if (type == wkbPolygon) polygons->addGeometry(geometry);
    if (type == wkbMultiPolygon)
      for (const OGRPolygon* part : *geometry->toMultiPolygon()) polygons->addGeometry(part);
  }
  if (polygons->IsEmpty()) return nullptr;
  return std::unique_ptr<OGRGeometry>(polygons.release());
}

// The uppermost layer of the column with an active, saturated cell; 0 for none.
int WaterLayer(const ModelState& state, int column, int row) {
  for (int k = 1; k <= state.NLAY; ++k)
    if (state.IBOUND(column, row, k) > 0 && SaturatedThickness(state, column, row, k) > 0) return k;
  return 0;
}

// The uppermost wet cell of every column whose centre (plan x, y) `holds`
// takes, rows outer, columns inner.
template <typename Holds>
std::vector<CellIndex> SourceCellsWhere(const ModelState& state, Holds holds) {
  std::vector<CellIndex> cells;
  for (int i = 1; i <= state.NROW; ++i)
    for (int j = 1; j <= state.NCOL; ++j) {
      const int layer = WaterLayer(state, j, i);
      if (layer > 0 && holds(state.XCENTER[j], state.YCENTER[i]))
        cells.push_back({static_cast<std::int16_t>(j), static_cast<std::int16_t>(i), static_cast<std::int16_t>(layer)});
    }
  return cells;
}

}  // namespace

bool SourceCellsOfPolygons(const ModelState& state, const std::string& path, std::vector<CellIndex>& cells,
                           std::string& error) {
  RegisterGdalDrivers();
  QuietGdalErrors quiet;
  GdalDataset dataset(static_cast<GDALDataset*>(
      GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
  if (!dataset) {
    error = GdalReason(path + " cannot be read as a GIS file");
    return false;
  }
  const std::unique_ptr<OGRGeometry> polygons = PolygonsOf(*dataset);
  if (!polygons) {
    error = path + " holds no polygon in its first layer";
    return false;
  }
  const WorldPosition position = PositionOf(state);
  const double length = GridLengthOf(state);
  cells = SourceCellsWhere(state, [&](double x, double y) {
    const WorldXY centre = PlanToWorldXY(position, length, x, y);
    const OGRPoint point(centre.x, centre.y);
    return polygons->Contains(&point);
  });
  if (cells.empty()) {
    error = "the polygons of " + path + " hold no centre of an active cell";
    return false;
  }
  return true;
}

std::vector<CellIndex> SourceCellsInRectangle(const ModelState& state, PlanXY a, PlanXY b) {
  const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  return SourceCellsWhere(
      state, [&](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; });
}

}  // namespace kestra
