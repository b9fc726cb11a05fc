// kestra-cli export of the example into GIS files: GDAL's own readers and
// its tools open each, and the features lie where the model's position says.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <sstream>

#include "cli_runner.h"
#include "export/vtk_reader_check.h"
#include "support/gis_reader.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

TEST(GisExport, EveryExportOfTheExampleOpensInGdalsTools) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  const Arguments particles{"--particles", dir.File("column2.par"), "--quiet"};
  struct Case {
    Arguments args;
    const char* file;
    const char* tool;
    const char* shows;  // a line the tool prints for a good file
  };
  const std::vector<Case> cases = {
      {{"pathlines", model, "--out", dir.File("paths.gpkg")}, "paths.gpkg", "ogrinfo -al -so", "Feature Count: 12"},
      {{"pathlines", model, "--out", dir.File("paths.shp")}, "paths.shp", "ogrinfo -al -so", "Feature Count: 12"},
      {{"endpoints", model, "--out", dir.File("ends.geojson")}, "ends.geojson", "ogrinfo -al -so", "Feature Count: 12"},
      {{"endpoints", model, "--out", dir.File("ends.csv")}, "ends.csv", "ogrinfo -al -so", "Feature Count: 12"},
      {{"contours", model, "--layer", "1", "--out", dir.File("contours.gpkg")},
       "contours.gpkg",
       "ogrinfo -al -so",
       "Layer name: contours"},
      {{"grid", model, "--layer", "2", "--out", dir.File("grid.gpkg")},
       "grid.gpkg",
       "ogrinfo -al -so",
       "Feature Count: 750"},
      {{"heads", model, "--layer", "1", "--out", dir.File("heads.tif")}, "heads.tif", "gdalinfo", "NoData Value="},
      {{"drawdowns", model, "--layer", "3", "--format", "tif", "--out", dir.File("ddn.tiff")},
       "ddn.tiff",
       "gdalinfo",
       "Band 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Arguments args = c.args;
    if (args[0] == "pathlines" || args[0] == "endpoints") args.insert(args.end(), particles.begin(), particles.end());
    std::string errors;
    ASSERT_EQ(RunCli("export", args, &errors), 0) << errors;
    const test::ShellRun run = test::RunShell(std::string(c.tool) + " '" + dir.File(c.file) + "'");
    if (!run.available) GTEST_SKIP() << "GDAL's tools (Debian gdal-bin) are not installed";
    EXPECT_TRUE(run.Succeeded()) << run.output;
    EXPECT_TRUE(Contains(run.output, c.shows)) << run.output;
  }
  // The end points of a single-layer format have their release points beside them.
  EXPECT_EQ(test::ReadGisLayers(dir.File("ends_release_points.geojson")).at(0).features.size(), 12u);
}

TEST(GisExport, PathlinesHoldThePointsOfThePathlineFileInEveryFormat) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  const Arguments run{model, "--particles", dir.File("column2.par"), "--quiet", "--forward", "--backward"};
  Arguments text = run;
  text.insert(text.end(), {"--out", dir.File("paths.txt")});
  ASSERT_EQ(RunCli("track", text), 0);
  // Records by particle code (negative backward): x, y, z of each point in order.
  std::map<int, std::vector<test::ReadVertex>> records;
  std::istringstream lines(test::ReadWholeFile(dir.File("paths.txt")));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    int code = 0;
    double x = 0, y = 0, localZ = 0, z = 0;
    if (fields >> code >> x >> y >> localZ >> z) records[code].push_back({x, y, z});
  }
  ASSERT_EQ(records.size(), 24u);
  for (const char* file : {"paths.gpkg", "paths.shp", "paths.geojson"}) {
    SCOPED_TRACE(file);
    std::string errors;
    Arguments gis = run;
    gis.insert(gis.end(), {"--out", dir.File(file)});
    ASSERT_EQ(RunCli("track", gis, &errors), 0) << errors;
    const auto layers = test::ReadGisLayers(dir.File(file));
    ASSERT_EQ(layers.size(), 1u);
    ASSERT_EQ(layers[0].features.size(), 24u);
    // Placed on no stated system, the coordinates are the model's own, in metres: not degrees.
    if (std::string(file) != "paths.geojson") EXPECT_EQ(layers[0].crsName, "Model coordinates");
    for (const test::ReadFeature& feature : layers[0].features) {
      const int code = static_cast<int>(feature.Number("particle")) * (feature.text.at("direction") == "forward" ? 1 : -1);
      const auto& expected = records.at(code);
      ASSERT_EQ(feature.vertices.size(), expected.size()) << code;
      // The model is placed at (0, 0) unturned: world coordinates are those of the file, whose
      // numbers keep 7 digits (1e-6 of the example's extent is about 1 mm).
      for (std::size_t n = 0; n < expected.size(); ++n) {
        EXPECT_NEAR(feature.vertices[n].x, expected[n].x, 1e-3) << code << " " << n;
        EXPECT_NEAR(feature.vertices[n].y, expected[n].y, 1e-3) << code << " " << n;
        EXPECT_NEAR(feature.vertices[n].z, expected[n].z, 1e-3) << code << " " << n;
      }
    }
  }
}

TEST(GisExport, TheGridAndPathlinesOfTheExampleOpenInVtksReader) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  std::string errors;
  ASSERT_EQ(RunCli("export", {"grid", model, "--out", dir.File("grid.vtu")}, &errors), 0) << errors;
  ASSERT_EQ(RunCli("track", {model, "--particles", dir.File("column2.par"), "--quiet", "--forward", "--backward",
                             "--out", dir.File("paths.vtp")},
                   &errors),
            0)
      << errors;
  const test::VtkReadResult grid = test::ReadVtkWithRealReader(dir.File("grid.vtu"));
  if (!grid.readerAvailable) GTEST_SKIP() << "VTK's Python reader (Debian python3-vtk9) is not installed";
  ASSERT_TRUE(grid.accepted) << grid.output;
  int cellsWithIbound = 0;  // the example's inactive cells are left out
  for (const double code : grid.values.at("cell:IBOUND")) cellsWithIbound += code != 0;
  EXPECT_EQ(grid.values.at("cells").at(0), cellsWithIbound);
  EXPECT_GT(cellsWithIbound, 2000);
  const test::VtkReadResult paths = test::ReadVtkWithRealReader(dir.File("paths.vtp"));
  ASSERT_TRUE(paths.accepted) << paths.output;
  EXPECT_EQ(paths.values.at("cells").at(0), 24);  // twelve particles, both directions
}

TEST(GisExport, ATurnedShiftedModelLandsWhereItsPositionSays) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  std::string errors;
  ASSERT_EQ(RunCli("export",
                   {"grid", model, "--out", dir.File("grid.gpkg"), "--origin", "500000,4100000", "--rotation", "30",
                    "--crs", "EPSG:32633"},
                   &errors),
            0)
      << errors;
  const auto layers = test::ReadGisLayers(dir.File("grid.gpkg"));
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_EQ(layers[0].crsAuthority, "EPSG:32633");
  ASSERT_EQ(layers[0].features.size(), 750u);
  // The last cell of the last row holds the grid's south-east corner: along the
  // rows by the grid's width (the example's DELR add up to 1220.805 m) from the origin.
  const test::ReadFeature& southEastCell = layers[0].features.back();
  EXPECT_EQ(southEastCell.Number("row"), 25);
  EXPECT_EQ(southEastCell.Number("column"), 30);
  const double width = 1220.805, c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  const test::ReadVertex southEast = southEastCell.vertices[1];
  EXPECT_NEAR(southEast.x, 500000 + width * c, 1e-3);
  EXPECT_NEAR(southEast.y, 4100000 + width * s, 1e-3);
  const test::ReadVertex origin = layers[0].features[24 * 30].vertices[0];  // row 25, column 1
  EXPECT_NEAR(origin.x, 500000, 1e-6);
  EXPECT_NEAR(origin.y, 4100000, 1e-6);
}

TEST(GisExport, APlaceInTheNameFileHeaderOrTheSettingsFilePositionsTheModel) {
  struct Case {
    const char* header;    // put ahead of the name file's lines
    const char* settings;  // the settings file
    double x, y;
    const char* crs;
  };
  const Case cases[] = {
      {"# xll:1000.0; yll:2000.0; rotation:0.0; crs:EPSG:32633; units:meters; lenuni:2\n",
       "", 1000, 2000, "EPSG:32633"},
      {"# xll:1000.0; yll:2000.0; rotation:0.0\n", "[MODEL_POSITION]\nXOrigin=5\nCRS=EPSG:32632\n", 5, 2000,
       "EPSG:32632"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    test::TempDir dir;
    const std::string model = test::CopyExample(dir);
    test::WriteWholeFile(model, c.header + test::ReadWholeFile(model));
    test::WriteWholeFile(dir.File("mixed3d.ini"), c.settings);
    std::string errors;
    ASSERT_EQ(RunCli("export", {"grid", model, "--out", dir.File("grid.gpkg")}, &errors), 0) << errors;
    const auto layers = test::ReadGisLayers(dir.File("grid.gpkg"));
    ASSERT_EQ(layers.size(), 1u);
    EXPECT_EQ(layers[0].crsAuthority, c.crs);
    const test::ReadVertex origin = layers[0].features[24 * 30].vertices[0];
    EXPECT_NEAR(origin.x, c.x, 1e-6);
    EXPECT_NEAR(origin.y, c.y, 1e-6);
  }
}

TEST(GisExport, BadRequestsNameTheirReasonAndWriteNothing) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  struct Case {
    Arguments args;
    int code;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {{"grid", model, "--out", dir.File("g.gpkg"), "--crs", "EPSG:999999"}, 1, "'EPSG:999999' is not known"},
      {{"grid", model, "--out", dir.File("g.txt")}, 2, "grid cannot be written as text"},
      {{"grid", model, "--out", dir.File("g.xyz")}, 2, "the extension of " + dir.File("g.xyz") + " names no format"},
      {{"contours", model, "--out", dir.File("c.tif")}, 2, "contours cannot be written as tif"},
      {{"velocity", model, "--out", dir.File("v.gpkg"), "--format", "gpkg"}, 2, "velocity cannot be written as gpkg"},
      {{"endpoints", model, "--particles", dir.File("column2.par"), "--out", dir.File("e.vtp")},
       2,
       "endpoints cannot be written as vtp"},
      {{"grid", model, "--out", dir.File("g.gpkg"), "--origin", "500000"}, 2, "--origin needs X,Y"},
      {{"grid", model, "--out", dir.File("no/such/folder/g.gpkg")}, 1, "cannot write"},
  };
  for (const Case& c : cases) {
    std::string errors;
    EXPECT_EQ(RunCli("export", c.args, &errors), c.code) << c.reason;
    EXPECT_TRUE(Contains(errors, c.reason)) << errors;
  }
  for (const char* file : {"g.gpkg", "g.txt", "g.xyz", "c.tif", "v.gpkg", "e.vtp"})
    EXPECT_FALSE(fs::exists(dir.File(file)));
}

}  // namespace
}  // namespace kestra::cli
