// The results of a model as GIS features and rasters in the model's world
// position; the files written through GDAL and read back with GDAL's own
// readers (geometry, coordinate system and attributes arrive whole); and the
// source cells under polygons of a GIS file, on a grid without a world
// position, where world x is plan x and world y runs up from the lower edge.
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "core/world_position.h"
#include "export/gis_features.h"
#include "export/gis_writer.h"
#include "export/source_cells.h"
#include "support/gis_reader.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"
#include "support/well_in_uniform_flow.h"

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
  const char* names[] = {"south-west", "south-east", "north-east", "north-west"};
  const WorldVertex corners[] = {Turned(10, 10), Turned(30, 10), Turned(30, 20), Turned(10, 20)};
  for (int n = 0; n < 4; ++n) ExpectAt(cell.vertices[n], corners[n], names[n]);
  EXPECT_EQ(std::get<std::int64_t>(cell.values[1]), 1);                 // row
  EXPECT_EQ(std::get<std::int64_t>(cell.values[2]), 2);                 // column
  EXPECT_DOUBLE_EQ(std::get<double>(cell.values[6]), 12);               // head
  EXPECT_TRUE(std::holds_alternative<std::monostate>(cell.values[7]));  // no drawdowns loaded
  EXPECT_EQ(std::get<std::int64_t>(grid.features[3].values[3]), 0);  // IBOUND of the inactive cell
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
  const double expected[6] = {northWest.x, 10 * kCos, 10 * kSin, northWest.y, 10 * kSin, -10 * kCos};
  // The corner's world coordinates are large; the steps are near 10.
  for (int n = 0; n < 6; ++n) EXPECT_NEAR(raster.geoTransform[n], expected[n], n % 3 == 0 ? 1e-6 : 1e-9) << n;
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

constexpr const char* kUtm33 = "EPSG:32633";

std::vector<FeatureLayer> SampleLayers() {
  FeatureLayer lines{"paths",
                     GeometryKind::LineStringZ,
                     {{"particle", FieldKind::Integer}, {"travel_t", FieldKind::Real}, {"stop", FieldKind::Text}},
                     {}};
  lines.features.push_back({{{500000, 4100000, 10}, {500100.5, 4100050.25, 9.5}, {500200, 4100300, 8}},
                            {std::int64_t{7}, 1234.5, std::string("left the grid")}});
  lines.features.push_back(
      {{{500010, 4100010, 3}, {500020, 4100020, 4}}, {std::int64_t{8}, FieldValue{}, std::string()}});
  FeatureLayer cells{"cells", GeometryKind::Polygon, {{"ibound", FieldKind::Integer}}, {}};
  cells.features.push_back(
      {{{500000, 4100000, 0}, {500100, 4100000, 0}, {500100, 4100100, 0}, {500000, 4100100, 0}, {500000, 4100000, 0}},
       {std::int64_t{-1}}});
  return {lines, cells};
}

// The vertices a reader should see: GeoJSON holds longitude and latitude.
std::vector<WorldVertex> Expected(const std::vector<WorldVertex>& vertices, GisFormat format) {
  if (format != GisFormat::GeoJson) return vertices;
  OGRSpatialReference utm, wgs84;
  utm.SetFromUserInput(kUtm33);
  wgs84.SetFromUserInput("EPSG:4326");
  utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::unique_ptr<OGRCoordinateTransformation> transform(OGRCreateCoordinateTransformation(&utm, &wgs84));
  std::vector<WorldVertex> turned = vertices;
  for (WorldVertex& v : turned) transform->Transform(1, &v.x, &v.y, &v.z);
  return turned;
}

TEST(GisWriter, LayersReadBackWithTheirGeometryAttributesAndSystem) {
  struct Case {
    GisFormat format;
    const char* file;
    const char* secondFile;  // where the second layer lands
  };
  const Case cases[] = {{GisFormat::GeoPackage, "out.gpkg", "out.gpkg"},
                        {GisFormat::Shapefile, "out.shp", "out_cells.shp"},
                        {GisFormat::GeoJson, "out.geojson", "out_cells.geojson"},
                        {GisFormat::Csv, "out.csv", "out_cells.csv"}};
  const std::vector<FeatureLayer> layers = SampleLayers();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    test::TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteFeatureLayers(dir.File(c.file), c.format, kUtm33, layers, error)) << error;
    const auto paths = test::ReadGisLayers(dir.File(c.file));
    ASSERT_FALSE(paths.empty());
    ASSERT_EQ(paths[0].features.size(), 2u);
    for (std::size_t f = 0; f < 2; ++f) {
      const auto expected = Expected(layers[0].features[f].vertices, c.format);
      const auto& read = paths[0].features[f].vertices;
      ASSERT_EQ(read.size(), expected.size());
      // GeoJSON keeps 7 decimals of a degree.
      for (std::size_t v = 0; v < read.size(); ++v) {
        EXPECT_NEAR(read[v].x, expected[v].x, 1e-6);
        EXPECT_NEAR(read[v].y, expected[v].y, 1e-6);
        EXPECT_NEAR(read[v].z, expected[v].z, 1e-6);
      }
    }
    const test::ReadFeature& first = paths[0].features[0];
    EXPECT_EQ(first.Number("particle"), 7);
    EXPECT_DOUBLE_EQ(first.Number("travel_t"), 1234.5);
    EXPECT_EQ(first.text.at("stop"), "left the grid");
    if (c.format != GisFormat::Shapefile) {
      EXPECT_TRUE(paths[0].features[1].IsNull("travel_t"));
    }
    if (c.format == GisFormat::GeoPackage || c.format == GisFormat::Shapefile) {
      EXPECT_EQ(paths[0].crsAuthority, kUtm33);
    }
    const auto cells = test::ReadGisLayers(dir.File(c.secondFile));
    const auto found =
        std::find_if(cells.begin(), cells.end(), [](const auto& l) { return l.name.ends_with("cells"); });
    ASSERT_NE(found, cells.end());
    ASSERT_EQ(found->features.size(), 1u);
    EXPECT_EQ(found->features[0].vertices.size(), 5u);
    EXPECT_EQ(found->features[0].Number("ibound"), -1);
  }
}

TEST(GisWriter, RefusalsLeaveNoFileBehind) {
  struct Case {
    std::string crs;
    bool folderExists;
    const char* reason;
  };
  const Case cases[] = {{"EPSG:999999", true, "'EPSG:999999' is not known"}, {kUtm33, false, "cannot be written"}};
  for (const Case& c : cases) {
    test::TempDir dir;
    const std::string path = c.folderExists ? dir.File("out.gpkg") : dir.File("missing/out.gpkg");
    std::string error;
    EXPECT_FALSE(WriteFeatureLayers(path, GisFormat::GeoPackage, c.crs, SampleLayers(), error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << c.reason;
  }
  EXPECT_EQ(CrsProblem(""), "");
  EXPECT_EQ(CrsProblem("+proj=utm +zone=33 +datum=WGS84"), "");
}

TEST(GisWriter, AnExistingFileIsReplacedWhole) {
  test::TempDir dir;
  const std::string path = dir.File("out.gpkg");
  test::WriteWholeFile(path, "not a geopackage");
  std::string error;
  ASSERT_TRUE(WriteFeatureLayers(path, GisFormat::GeoPackage, "", SampleLayers(), error)) << error;
  EXPECT_EQ(test::ReadGisLayers(path).size(), 2u);
  // Only the file itself is left: the folder it was made in is gone.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(GisWriter, AGeoTiffHoldsItsTransformValuesAndNoData) {
  test::TempDir dir;
  RasterGrid grid;
  grid.columns = 3, grid.rows = 2;
  grid.values = {1, 2, 3, 4, -9999, 6};
  const double transform[6] = {500000, 86.6, 50, 4100000, 50, -86.6};
  std::copy(std::begin(transform), std::end(transform), grid.geoTransform);
  grid.noData = -9999;
  std::string error;
  ASSERT_TRUE(WriteGeoTiff(dir.File("heads.tif"), kUtm33, grid, error)) << error;
  const test::ReadRaster read = test::ReadGisRaster(dir.File("heads.tif"));
  ASSERT_TRUE(read.opened);
  EXPECT_EQ(read.columns, 3);
  EXPECT_EQ(read.rows, 2);
  for (int n = 0; n < 6; ++n) EXPECT_DOUBLE_EQ(read.geoTransform[n], transform[n]) << n;
  EXPECT_EQ(read.values, grid.values);
  EXPECT_EQ(read.noData, -9999);
  EXPECT_EQ(read.crsAuthority, kUtm33);
}

std::string GeoJson(const std::string& geometry) {
  return R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},"geometry":)" + geometry +
         "}]}";
}

// A 20 x 10 grid of 5 m cells, 50 m from its upper to its lower edge.
ModelState SmallGrid() {
  test::UniformFlowWell grid;
  grid.columns = 20, grid.rows = 10, grid.wellColumn = 10, grid.wellRow = 5;
  return test::WellInUniformFlow(grid);
}

TEST(SourceCells, TheCellsWhoseCentresAPolygonHoldsInRowOrder) {
  ModelState state = SmallGrid();
  state.IBOUND(11, 5, 1) = 0;  // an inactive cell under the polygon is no source
  test::TempDir dir;
  const std::string path = dir.File("source.geojson");
  // x 45..60 holds the centres of columns 10 to 12; y 20..30 up is 20..30 m
  // above the lower edge, the centres of rows 5 and 6.
  test::WriteWholeFile(path, GeoJson(R"({"type":"Polygon","coordinates":[[[45,20],[60,20],[60,30],[45,30],[45,20]]]})"));
  std::vector<CellIndex> cells;
  std::string error;
  ASSERT_TRUE(SourceCellsOfPolygons(state, path, cells, error)) << error;
  const std::vector<CellIndex> expected = {{10, 5, 1}, {12, 5, 1}, {10, 6, 1}, {11, 6, 1}, {12, 6, 1}};
  EXPECT_EQ(cells, expected);
}

TEST(SourceCells, SaysWhyAFileGivesNoSource) {
  const ModelState state = SmallGrid();
  test::TempDir dir;
  struct Case {
    const char* name;
    std::string contents;  // empty: no file
    const char* reason;
  };
  const Case cases[] = {
      {"missing.geojson", "", "cannot be read as a GIS file"},
      {"points.geojson", GeoJson(R"({"type":"Point","coordinates":[50,25]})"), "holds no polygon"},
      {"outside.geojson",
       GeoJson(R"({"type":"Polygon","coordinates":[[[500,500],[600,500],[600,600],[500,500]]]})"),
       "hold no centre of an active cell"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.contents.empty()) test::WriteWholeFile(dir.File(c.name), c.contents);
    std::vector<CellIndex> cells;
    std::string error;
    EXPECT_FALSE(SourceCellsOfPolygons(state, dir.File(c.name), cells, error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace kestra
