#include "export/gis_features.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "core/world_position.h"
#include "export/package_cells.h"

namespace kestra {
namespace {

// Names of at most ten characters, which a shapefile keeps whole.
const std::vector<FieldDefinition> kParticleFields = {
    {"particle", FieldKind::Integer},  {"group", FieldKind::Integer},   {"direction", FieldKind::Text},
    {"rel_time", FieldKind::Real},     {"final_time", FieldKind::Real}, {"travel_t", FieldKind::Real},
    {"rel_layer", FieldKind::Integer}, {"rel_row", FieldKind::Integer}, {"rel_col", FieldKind::Integer},
    {"fin_layer", FieldKind::Integer}, {"fin_row", FieldKind::Integer}, {"fin_col", FieldKind::Integer},
    {"stop", FieldKind::Text},         {"status", FieldKind::Integer},
};

// Points of the pathline file and the end points have y up from the edge of the last row.
class WorldPlace {
 public:
  explicit WorldPlace(const ModelState& state) : position_(PositionOf(state)), length_(GridLengthOf(state)) {}

  WorldVertex OfPlan(double x, double yDown, double z) const {
    const WorldXY world = PlanToWorldXY(position_, length_, x, yDown);
    return {world.x, world.y, z};
  }
  WorldVertex OfFilePoint(const PlanPoint& point) const { return OfPlan(point.X, length_ - point.Y, point.Z); }

 private:
  WorldPosition position_;
  double length_;
};

std::vector<FieldValue> ParticleValues(const ModelState& state, const Endpoint& e, const Mp7Labels* labels) {
  const Mp7ParticleLabel label = Mp7Label(labels, e.particle);
  const auto cell = [](std::int16_t n) { return FieldValue{static_cast<std::int64_t>(n)}; };
  return {std::int64_t{label.id},
          std::int64_t{label.group},
          std::string(e.direction > 0 ? "forward" : "backward"),
          label.releaseTime,
          label.releaseTime + e.time,
          e.time,
          cell(e.releaseCell.layer),
          cell(e.releaseCell.row),
          cell(e.releaseCell.column),
          cell(e.finalCell.layer),
          cell(e.finalCell.row),
          cell(e.finalCell.column),
          EndpointEndText(e),
          std::int64_t{Mp7Status(state, e)}};
}

FeatureLayer PointLayer(const ModelState& state, const std::vector<Endpoint>& endpoints, const Mp7Labels* labels,
                        const char* name, bool atRelease) {
  const WorldPlace place(state);
  FeatureLayer layer{name, GeometryKind::PointZ, kParticleFields, {}};
  for (const Endpoint& e : endpoints)
    layer.features.push_back(
        {{place.OfFilePoint(atRelease ? e.releaseGlobal : e.finalGlobal)}, ParticleValues(state, e, labels)});
  return layer;
}

// The cell of each of `pixels` centres `step` apart along a grid edge of
// cumulative widths `edges` (0..count); 0 beyond the last cell.
std::vector<int> PixelCells(const std::vector<float>& edges, int count, double step, int pixels) {
  std::vector<int> cells(static_cast<std::size_t>(pixels), 0);
  int cell = 1;
  for (int p = 0; p < pixels; ++p) {
    const double centre = (p + 0.5) * step;
    while (cell <= count && edges[cell] < centre) ++cell;
    cells[static_cast<std::size_t>(p)] = cell <= count ? cell : 0;
  }
  return cells;
}

bool HasResult(const ModelState& state, const CellArray<float>& values, int j, int i, int layer,
               const BlockedValues& blocked) {
  const float value = values(j, i, layer);
  return state.IBOUND(j, i, layer) != 0 && value != blocked.HNOFLO && value != blocked.HDRY &&
         std::abs(value) < kContourValueLimit;
}

}  // namespace

FeatureLayer PathlineLayer(const ModelState& state, const std::vector<RecordedPath>& paths,
                           const std::vector<Endpoint>& endpoints, const Mp7Labels* labels) {
  std::map<std::pair<int, int>, const Endpoint*> ends;
  for (const Endpoint& e : endpoints) ends[{e.particle, e.direction}] = &e;
  const WorldPlace place(state);
  FeatureLayer layer{"pathlines", GeometryKind::LineStringZ, kParticleFields, {}};
  for (const RecordedPath& path : paths) {
    const auto end = ends.find({path.particle, path.direction});
    if (end == ends.end()) continue;
    Feature feature{{}, ParticleValues(state, *end->second, labels)};
    for (const PathPoint& point : path.points)
      feature.vertices.push_back(place.OfPlan(point.point.X, point.point.Y, point.point.Z));
    layer.features.push_back(std::move(feature));
  }
  return layer;
}

FeatureLayer EndpointLayer(const ModelState& state, const std::vector<Endpoint>& endpoints, const Mp7Labels* labels) {
  return PointLayer(state, endpoints, labels, "endpoints", false);
}

FeatureLayer ReleasePointLayer(const ModelState& state, const std::vector<Endpoint>& endpoints,
                               const Mp7Labels* labels) {
  return PointLayer(state, endpoints, labels, "release_points", true);
}

FeatureLayer ContourLayer(const ModelState& state, const CellArray<float>& values, int layer, const ContourTable& table,
                          const BlockedValues& blocked) {
  const WorldPlace place(state);
  FeatureLayer contours{
      "contours", GeometryKind::LineStringZ, {{"level", FieldKind::Real}, {"layer", FieldKind::Integer}}, {}};
  const ContourNodes nodes = LayerNodes(state, values, layer, blocked);
  ContourTracer tracer(nodes);
  for (const ContourLevel& level : table.levels)
    tracer.Trace(level.value, [&](const ContourLine& line) {
      Feature feature{{}, {static_cast<double>(level.value), std::int64_t{layer}}};
      for (const PicturePoint& point : line.points)
        feature.vertices.push_back(place.OfPlan(point.x, point.y, level.value));
      contours.features.push_back(std::move(feature));
    });
  return contours;
}

FeatureLayer GridLayer(const ModelState& state, int layer, bool drawdownsLoaded) {
  const WorldPlace place(state);
  FeatureLayer cells{"grid",
                     GeometryKind::Polygon,
                     {{"layer", FieldKind::Integer},
                      {"row", FieldKind::Integer},
                      {"column", FieldKind::Integer},
                      {"ibound", FieldKind::Integer},
                      {"top", FieldKind::Real},
                      {"bottom", FieldKind::Real},
                      {"head", FieldKind::Real},
                      {"drawdown", FieldKind::Real},
                      {"porosity", FieldKind::Real},
                      {"package", FieldKind::Text}},
                     {}};
  PackageCells packages(state);
  for (int i = 1; i <= state.NROW; ++i)
    for (int j = 1; j <= state.NCOL; ++j) {
      const double x0 = state.XEDGE[j - 1], x1 = state.XEDGE[j], y0 = state.YEDGE[i - 1], y1 = state.YEDGE[i];
      std::string names;
      for (const std::string& name :
           packages.At({static_cast<std::int16_t>(j), static_cast<std::int16_t>(i), static_cast<std::int16_t>(layer)}))
        names += (names.empty() ? "" : ", ") + name;
      // Counter-clockwise seen from above, the outer ring's order in GIS formats.
      cells.features.push_back(
          {{place.OfPlan(x0, y1, 0), place.OfPlan(x1, y1, 0), place.OfPlan(x1, y0, 0), place.OfPlan(x0, y0, 0),
            place.OfPlan(x0, y1, 0)},
           {std::int64_t{layer}, std::int64_t{i}, std::int64_t{j}, std::int64_t{state.IBOUND(j, i, layer)},
            static_cast<double>(state.TOP(j, i, layer)), static_cast<double>(state.BOT(j, i, layer)),
            static_cast<double>(state.HEAD(j, i, layer)),
            drawdownsLoaded ? FieldValue{static_cast<double>(state.DRAWDOWN(j, i, layer))} : FieldValue{},
            static_cast<double>(state.POROSITY(j, i, layer)), names}});
    }
  return cells;
}

double RasterNoData() { return std::numeric_limits<float>::lowest(); }

RasterGrid LayerRaster(const ModelState& state, const CellArray<float>& values, int layer,
                       const BlockedValues& blocked) {
  const double dx = SmallestWidth(state.DELR, state.NCOL), dy = SmallestWidth(state.DELC, state.NROW);
  RasterGrid raster;
  // A width within a millionth of a whole number of pixels is that number.
  raster.columns = static_cast<int>(std::ceil(state.XEDGE[state.NCOL] / dx - 1e-6));
  raster.rows = static_cast<int>(std::ceil(state.YEDGE[state.NROW] / dy - 1e-6));
  raster.noData = RasterNoData();
  const std::vector<int> columns = PixelCells(state.XEDGE, state.NCOL, dx, raster.columns);
  const std::vector<int> rows = PixelCells(state.YEDGE, state.NROW, dy, raster.rows);
  raster.values.assign(static_cast<std::size_t>(raster.columns) * raster.rows, static_cast<float>(raster.noData));
  for (int r = 0; r < raster.rows; ++r)
    for (int c = 0; c < raster.columns; ++c) {
      const int j = columns[static_cast<std::size_t>(c)], i = rows[static_cast<std::size_t>(r)];
      if (j > 0 && i > 0 && HasResult(state, values, j, i, layer, blocked))
        raster.values[static_cast<std::size_t>(r) * raster.columns + c] = values(j, i, layer);
    }
  const WorldPosition position = PositionOf(state);
  const WorldXY corner = PlanToWorldXY(position, GridLengthOf(state), 0, 0);
  const double angle = position.rotation * std::acos(-1.0) / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  // Along a row the columns run east of the turned grid; down a column the rows
  // run south of it.
  const double transform[6] = {corner.x, dx * c, dy * s, corner.y, dx * s, -dy * c};
  std::copy(std::begin(transform), std::end(transform), raster.geoTransform);
  return raster;
}

}  // namespace kestra
