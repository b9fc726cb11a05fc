// GIS files written through GDAL and read back with GDAL's own readers: the
// geometry, its coordinate system and the attributes arrive whole.
#include "export/gis_writer.h"

#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <filesystem>

#include "support/gis_reader.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

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
    double tolerance;        // GeoJSON keeps 7 decimals of a degree
  };
  const Case cases[] = {{GisFormat::GeoPackage, "out.gpkg", "out.gpkg", 1e-6},
                        {GisFormat::Shapefile, "out.shp", "out_cells.shp", 1e-6},
                        {GisFormat::GeoJson, "out.geojson", "out_cells.geojson", 1e-6},
                        {GisFormat::Csv, "out.csv", "out_cells.csv", 1e-6}};
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
      for (std::size_t v = 0; v < read.size(); ++v) {
        EXPECT_NEAR(read[v].x, expected[v].x, c.tolerance);
        EXPECT_NEAR(read[v].y, expected[v].y, c.tolerance);
        EXPECT_NEAR(read[v].z, expected[v].z, 1e-6);
      }
    }
    const test::ReadFeature& first = paths[0].features[0];
    EXPECT_EQ(first.Number("particle"), 7);
    EXPECT_DOUBLE_EQ(first.Number("travel_t"), 1234.5);
    EXPECT_EQ(first.text.at("stop"), "left the grid");
    if (c.format != GisFormat::Shapefile) EXPECT_TRUE(paths[0].features[1].IsNull("travel_t"));
    if (c.format == GisFormat::GeoPackage || c.format == GisFormat::Shapefile) EXPECT_EQ(paths[0].crsAuthority, kUtm33);
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
  grid.columns = 3;
  grid.rows = 2;
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

}  // namespace
}  // namespace kestra
