// The results of a model as GIS features and rasters, in the model's world position.
#include "export/gis_features.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/world_position.h"
#include "support/result_builders.h"

namespace kestra {
namespace {

// Two columns of 10 and 20 by two rows of 10, one layer, turned 30 degrees
// about its lower-left corner at (500000, 4100000).
ModelState TurnedModel() {
  ModelState state = test::GridOfWidths({10, 20}, {10, 10}, 1);
  SetWorldPosition(state, {500000, 4100000, 30, "EPSG:32633"});
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) {
      state.IBOUND(j, i, 1) = 1;
      state.TOP(j, i, 1) = 10;
      state.HEAD(j, i, 1) = static_cast<float>(10 * i + j);
    }
  state.IBOUND(2, 2, 1) = 0;
  return state;
}

const double kCos = std::cos(std::numbers::pi / 6), kSin = std::sin(std::numbers::pi / 6);

// A point `east` along the grid's rows and `north` up its columns from the lower-left corner.
WorldVertex Turned(double along, double up) {
  return {500000 + along * kCos - up * kSin, 4100000 + along * kSin + up * kCos, 0};
}

void ExpectAt(const WorldVertex& v, const WorldVertex& expected, const std::string& what) {
  EXPECT_NEAR(v.x, expected.x, 1e-6) << what;
  EXPECT_NEAR(v.y, expected.y, 1e-6) << what;
}

TEST(GisFeatures, CellPolygonsLieWhereThePositionPutsThemWithTheirValues) {
  const ModelState state = TurnedModel();
  const FeatureLayer grid = GridLayer(state, 1, false);
  ASSERT_EQ(grid.features.size(), 4u);
  // Row 1 is the northern row: column 2 of it spans 10..30 along and 10..20 up.
  const Feature& cell = grid.features[1];
  ASSERT_EQ(cell.vertices.size(), 5u);
  ExpectAt(cell.vertices[0], Turned(10, 10), "south-west");
  ExpectAt(cell.vertices[1], Turned(30, 10), "south-east");
  ExpectAt(cell.vertices[2], Turned(30, 20), "north-east");
  ExpectAt(cell.vertices[3], Turned(10, 20), "north-west");
  EXPECT_EQ(std::get<std::int64_t>(cell.values[1]), 1);                 // row
  EXPECT_EQ(std::get<std::int64_t>(cell.values[2]), 2);                 // column
  EXPECT_DOUBLE_EQ(std::get<double>(cell.values[6]), 12);               // head
  EXPECT_TRUE(std::holds_alternative<std::monostate>(cell.values[7]));  // no drawdowns loaded
  EXPECT_EQ(std::get<std::int64_t>(grid.features[3].values[3]),
            0);  // IBOUND of the inactive cell
}

TEST(GisFeatures, ARasterResamplesUnevenColumnsAndTurnsWithTheModel) {
  const ModelState state = TurnedModel();
  const RasterGrid raster = LayerRaster(state, state.HEAD, 1, BlockedValues{});
  ASSERT_EQ(raster.columns, 3);  // 30 wide in pixels of the narrowest column
  ASSERT_EQ(raster.rows, 2);
  const float none = static_cast<float>(RasterNoData());
  EXPECT_EQ(raster.values, (std::vector<float>{11, 12, 12, 21, none, none}));
  // The first pixel corner is the grid's north-west corner; a column step runs
  // along the rows.
  const WorldVertex northWest = Turned(0, 20);
  EXPECT_NEAR(raster.geoTransform[0], northWest.x, 1e-6);
  EXPECT_NEAR(raster.geoTransform[3], northWest.y, 1e-6);
  EXPECT_NEAR(raster.geoTransform[1], 10 * kCos, 1e-9);
  EXPECT_NEAR(raster.geoTransform[4], 10 * kSin, 1e-9);
  EXPECT_NEAR(raster.geoTransform[2], 10 * kSin, 1e-9);
  EXPECT_NEAR(raster.geoTransform[5], -10 * kCos, 1e-9);
}

TEST(GisFeatures, PathlinesAndPointsCarryTheirEndPointsAttributes) {
  const ModelState state = TurnedModel();
  Endpoint end;
  end.particle = 2;
  end.direction = -1;
  end.releaseCell = {1, 1, 1};
  end.finalCell = {2, 1, 1};
  end.releaseGlobal = {5, 15, 4};  // y up from the southern edge
  end.finalGlobal = {25, 12, 3};
  end.time = 40;
  end.end = TrackEnd::LeftGrid;
  RecordedPath path{2, -1, {}};
  for (const PlanPoint p : {PlanPoint{5, 5, 4}, PlanPoint{25, 8, 3}}) path.points.push_back(PathPoint{p});
  const RecordedPath unmatched{3, 1, {PathPoint{}}};
  const Mp7Labels labels{{"wells"}, {{1, 1, 11, 0}, {2, 1, 12, 100}}};

  const FeatureLayer lines = PathlineLayer(state, {path, unmatched}, {end}, &labels);
  ASSERT_EQ(lines.features.size(), 1u);
  const Feature& line = lines.features[0];
  ASSERT_EQ(line.vertices.size(), 2u);
  ExpectAt(line.vertices[1], Turned(25, 12), "last point");
  EXPECT_EQ(line.vertices[1].z, 3);
  const auto value = [&](const Feature& f, const std::string& name) {
    for (std::size_t n = 0; n < lines.fields.size(); ++n)
      if (lines.fields[n].name == name) return f.values[n];
    ADD_FAILURE() << name;
    return FieldValue{};
  };
  EXPECT_EQ(std::get<std::int64_t>(value(line, "particle")), 12);
  EXPECT_EQ(std::get<std::string>(value(line, "direction")), "backward");
  EXPECT_EQ(std::get<double>(value(line, "rel_time")), 100);
  EXPECT_EQ(std::get<double>(value(line, "final_time")), 140);
  EXPECT_EQ(std::get<std::string>(value(line, "stop")), EndpointEndText(end));
  EXPECT_EQ(std::get<std::int64_t>(value(line, "status")), 2);

  const FeatureLayer releases = ReleasePointLayer(state, {end}, &labels);
  ASSERT_EQ(releases.features.size(), 1u);
  ExpectAt(releases.features[0].vertices[0], Turned(5, 15), "release point");
  ExpectAt(EndpointLayer(state, {end}, &labels).features[0].vertices[0], Turned(25, 12), "end point");
}

TEST(GisFeatures, ContourLinesLieAtTheHeightOfTheirLevel) {
  ModelState state = TurnedModel();
  state.IBOUND(2, 2, 1) = 1;
  state.HEAD(2, 2, 1) = 22;
  ContourTable table;
  table.levels = {ContourLevel{16.5f}};
  const FeatureLayer contours = ContourLayer(state, state.HEAD, 1, table, BlockedValues{});
  ASSERT_EQ(contours.features.size(), 1u);
  for (const WorldVertex& v : contours.features[0].vertices) EXPECT_EQ(v.z, 16.5);
  EXPECT_DOUBLE_EQ(std::get<double>(contours.features[0].values[0]), 16.5);
}

}  // namespace
}  // namespace kestra
