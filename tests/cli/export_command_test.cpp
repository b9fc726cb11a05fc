// kestra-cli export on the shared MODFLOW runs: the arrays hold the heads
// and velocities the model has, for the layer and time step asked for; the
// example exported into GIS files that GDAL's own readers and tools open, its
// features where the model's position says; and kestra-cli capture: the zones
// of the example's pumping well, and the bad inputs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/commands.h"
#include "export/result_exports.h"
#include "export/vtk_reader_check.h"
#include "graphics/dxf_reader_check.h"
#include "support/gis_reader.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

// The values of the arrays that follow each header line, as numbers.
std::vector<std::vector<double>> Arrays(const std::string& text, const std::string& header) {
  std::vector<std::vector<double>> arrays;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line + "\n" == header) {
      arrays.emplace_back();
      continue;
    }
    if (arrays.empty() || line.empty() || std::isalpha(static_cast<unsigned char>(line[0]))) continue;
    EXPECT_EQ(line.back(), '\r');
    line.pop_back();
    EXPECT_EQ(line.size() % 15, 0u) << line;
    for (std::size_t at = 0; at + 15 <= line.size(); at += 15) arrays.back().push_back(std::stod(line.substr(at, 15)));
  }
  return arrays;
}

TEST(ExportCommand, HeadsOfUniformFlowFallLinearlyAlongTheRows) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
  const std::string out = dir.File("Heads.TXT");
  ASSERT_TRUE(Succeeds("export", {"heads", model, "--layer", "1", "--out", out}));
  const std::string text = test::ReadWholeFile(out);
  ASSERT_EQ(text.substr(0, ExportHeaderLine(20, 10).size()), ExportHeaderLine(20, 10));
  const auto arrays = Arrays(text, ExportHeaderLine(20, 10));
  ASSERT_EQ(arrays.size(), 1u);
  ASSERT_EQ(arrays[0].size(), 200u);
  for (int row = 0; row < 10; ++row)
    for (int column = 0; column < 20; ++column)
      EXPECT_NEAR(arrays[0][row * 20 + column], 10.0 - column / 19.0, 1e-4) << row << "," << column;
}

TEST(ExportCommand, VelocityOfUniformFlowPointsAlongTheRows) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "modflow", "uniform1.nam");
  const std::string out = dir.File("velocity.txt");
  ASSERT_TRUE(Succeeds("export", {"velocity", model, "--layer", "1", "--out", out}));
  const std::string text = test::ReadWholeFile(out);
  for (const char* title : {"\r\nVelocity component in the J-direction\r\n",
                            "\r\nVelocity components in I-direction\r\n", "\r\nVelocity components in K-direction\r\n"})
    EXPECT_TRUE(Contains(text, title)) << title;
  const auto arrays = Arrays(text, ExportHeaderLine(20, 10));
  ASSERT_EQ(arrays.size(), 4u);
  const double pore = 10.0 / 190.0 / 0.25;
  for (int row = 0; row < 10; ++row) {
    const int inner = row * 20 + 10;
    EXPECT_NEAR(arrays[0][inner], pore, pore * 1e-4);
    EXPECT_NEAR(arrays[1][inner], pore, pore * 1e-4);
    EXPECT_NEAR(arrays[2][inner], 0, pore * 1e-4);
    EXPECT_NEAR(arrays[3][inner], 0, pore * 1e-4);
    // The constant-head cells of column 1 carry no components.
    EXPECT_EQ(arrays[1][row * 20], 1.0E+30);
  }
}

TEST(ExportCommand, TheTimeStepAskedForIsWritten) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "transient2", "modflow", "transient2.nam");
  const std::string first = dir.File("first.txt"), last = dir.File("last.txt");
  ASSERT_TRUE(Succeeds("export", {"drawdowns", model, "--layer", "2", "--out", first}));
  ASSERT_TRUE(Succeeds("export", {"drawdowns", model, "--layer", "2", "--period", "3", "--step", "4", "--out", last}));
  EXPECT_NE(test::ReadWholeFile(first), test::ReadWholeFile(last));
  ExpectRefusals("export", {{{"drawdowns", model, "--layer", "2", "--period", "4", "--out", last}, 1,
                             "no time step 1 in stress period 4"}});
}

TEST(ExportCommand, WrongArgumentsAreRefused) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
  ExpectRefusals("export", {
      {{"pressures", model, "--layer", "1", "--out", dir.File("x")}, 2, "cannot export 'pressures': heads, drawdowns"},
      {{"heads", model, "--layer", "1", "--out", dir.File("x"), "--format", "gpkg"}, 2,
       "heads cannot be written as gpkg"},
      {{"heads", model, "--layer", "2", "--out", dir.File("x")}, 2, "--layer 2 lies beyond the 1 layers"},
      {{"heads", model, "--layer", "1", "--out", dir.File("none/x.txt")}, 1, "cannot write " + dir.File("none/x.txt")},
  });
}

// A result that did not load would be written as an array of zeros or of
// another step's values: the export refuses and writes nothing.
TEST(ExportCommand, ResultsThatDidNotLoadAreNotWritten) {
  const struct {
    const char* removed;
    const char* kind;
  } cases[] = {{"mixed3d.hds", "heads"}, {"mixed3d.ddn", "drawdowns"}, {"mixed3d.cbc", "velocity"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.removed);
    test::TempDir dir;
    const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
    std::filesystem::remove(dir.File(c.removed));
    std::string errors;
    EXPECT_EQ(RunCli("export", {c.kind, model, "--layer", "2", "--out", dir.File("x.txt")}, &errors), 1);
    EXPECT_NE(errors.find("could not be loaded whole; " + dir.File("x.txt") + " was not written"), std::string::npos)
        << errors;
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.txt")));
  }
}

TEST(GisExport, EveryExportOfTheExampleOpensInGdalsTools) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  const Arguments particles{"--particles", dir.File("column2.par"), "--quiet"};
  const struct {
    Arguments args;     // ending in --out FILE
    const char* shows;  // a line GDAL's tool prints for a good file
  } cases[] = {
      {{"pathlines", model, "--out", dir.File("paths.gpkg")}, "Feature Count: 12"},
      {{"pathlines", model, "--out", dir.File("paths.shp")}, "Feature Count: 12"},
      {{"endpoints", model, "--out", dir.File("ends.geojson")}, "Feature Count: 12"},
      {{"endpoints", model, "--out", dir.File("ends.csv")}, "Feature Count: 12"},
      {{"contours", model, "--layer", "1", "--out", dir.File("contours.gpkg")}, "Layer name: contours"},
      {{"grid", model, "--layer", "2", "--out", dir.File("grid.gpkg")}, "Feature Count: 750"},
      {{"heads", model, "--layer", "1", "--out", dir.File("heads.tif")}, "NoData Value="},
      {{"drawdowns", model, "--layer", "3", "--format", "tif", "--out", dir.File("ddn.tiff")}, "Band 1"},
  };
  for (const auto& c : cases) {
    const std::string& file = c.args.back();
    SCOPED_TRACE(file);
    Arguments args = c.args;
    if (args[0] == "pathlines" || args[0] == "endpoints") args.insert(args.end(), particles.begin(), particles.end());
    ASSERT_TRUE(Succeeds("export", args));
    const bool raster = file.ends_with(".tif") || file.ends_with(".tiff");
    const test::ShellRun run = test::RunShell((raster ? "gdalinfo '" : "ogrinfo -al -so '") + file + "'");
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
  const auto trackInto = [&](const char* file) {
    return Succeeds("track", {model, "--particles", dir.File("column2.par"), "--quiet", "--forward", "--backward",
                              "--out", dir.File(file)});
  };
  ASSERT_TRUE(trackInto("paths.txt"));
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
    ASSERT_TRUE(trackInto(file));
    const auto layers = test::ReadGisLayers(dir.File(file));
    ASSERT_EQ(layers.size(), 1u);
    ASSERT_EQ(layers[0].features.size(), 24u);
    // Placed on no stated system, the coordinates are the model's own, in metres: not degrees.
    if (std::string(file) != "paths.geojson") {
      EXPECT_EQ(layers[0].crsName, "Model coordinates");
    }
    for (const test::ReadFeature& feature : layers[0].features) {
      const int code = static_cast<int>(feature.Number("particle")) * (feature.text.at("direction") == "forward" ? 1 : -1);
      const auto& expected = records.at(code);
      ASSERT_EQ(feature.vertices.size(), expected.size()) << code;
      // The model is placed at (0, 0) unturned: world coordinates are those of the file, whose
      // numbers keep 7 digits (1e-6 of the example's extent is about 1 mm).
      for (std::size_t n = 0; n < expected.size(); ++n)
        for (double test::ReadVertex::*axis : {&test::ReadVertex::x, &test::ReadVertex::y, &test::ReadVertex::z})
          EXPECT_NEAR(feature.vertices[n].*axis, expected[n].*axis, 1e-3) << code << " " << n;
    }
  }
}

TEST(GisExport, TheGridAndPathlinesOfTheExampleOpenInVtksReader) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  ASSERT_TRUE(Succeeds("export", {"grid", model, "--out", dir.File("grid.vtu")}));
  ASSERT_TRUE(Succeeds("track", {model, "--particles", dir.File("column2.par"), "--quiet", "--forward", "--backward",
                                 "--out", dir.File("paths.vtp")}));
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

// The position comes from the options, the name file's header or the
// settings file (which wins over the header).
TEST(GisExport, TheGridLandsWhereTheModelsPositionSays) {
  const struct {
    const char* header;    // put ahead of the name file's lines
    const char* settings;  // the settings file
    Arguments options;
    double x, y;  // of the grid's lower-left corner
    const char* crs;
    double rotation;
  } cases[] = {
      {"", "", {"--origin", "500000,4100000", "--rotation", "30", "--crs", "EPSG:32633"}, 500000, 4100000,
       "EPSG:32633", 30},
      {"# xll:1000.0; yll:2000.0; rotation:0.0; crs:EPSG:32633; units:meters; lenuni:2\n", "", {}, 1000, 2000,
       "EPSG:32633", 0},
      {"# xll:1000.0; yll:2000.0; rotation:0.0\n", "[MODEL_POSITION]\nXOrigin=5\nCRS=EPSG:32632\n", {}, 5, 2000,
       "EPSG:32632", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.crs);
    test::TempDir dir;
    const std::string model = test::CopyExample(dir);
    test::WriteWholeFile(model, c.header + test::ReadWholeFile(model));
    test::WriteWholeFile(dir.File("mixed3d.ini"), c.settings);
    Arguments args{"grid", model, "--out", dir.File("grid.gpkg")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ASSERT_TRUE(Succeeds("export", args));
    const auto layers = test::ReadGisLayers(dir.File("grid.gpkg"));
    ASSERT_EQ(layers.size(), 1u);
    EXPECT_EQ(layers[0].crsAuthority, c.crs);
    ASSERT_EQ(layers[0].features.size(), 750u);
    const test::ReadVertex origin = layers[0].features[24 * 30].vertices[0];  // row 25, column 1
    EXPECT_NEAR(origin.x, c.x, 1e-6);
    EXPECT_NEAR(origin.y, c.y, 1e-6);
    // The last cell of the last row holds the grid's south-east corner: along the rows by the
    // grid's width (the example's DELR add up to 1220.805 m) from the origin.
    const test::ReadFeature& southEastCell = layers[0].features.back();
    EXPECT_EQ(southEastCell.Number("row"), 25);
    EXPECT_EQ(southEastCell.Number("column"), 30);
    const double width = 1220.805, turn = c.rotation * std::numbers::pi / 180;
    EXPECT_NEAR(southEastCell.vertices[1].x, c.x + width * std::cos(turn), 1e-3);
    EXPECT_NEAR(southEastCell.vertices[1].y, c.y + width * std::sin(turn), 1e-3);
  }
}

TEST(GisExport, BadRequestsNameTheirReasonAndWriteNothing) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  ExpectRefusals("export", {
      {{"grid", model, "--out", dir.File("g.gpkg"), "--crs", "EPSG:999999"}, 1, "'EPSG:999999' is not known"},
      {{"grid", model, "--out", dir.File("g.txt")}, 2, "grid cannot be written as text"},
      {{"grid", model, "--out", dir.File("g.xyz")}, 2, "the extension of " + dir.File("g.xyz") + " names no format"},
      {{"contours", model, "--out", dir.File("c.tif")}, 2, "contours cannot be written as tif"},
      {{"velocity", model, "--out", dir.File("v.gpkg"), "--format", "gpkg"}, 2, "velocity cannot be written as gpkg"},
      {{"endpoints", model, "--particles", dir.File("column2.par"), "--out", dir.File("e.vtp")}, 2,
       "endpoints cannot be written as vtp"},
      {{"grid", model, "--out", dir.File("g.gpkg"), "--origin", "500000"}, 2, "--origin needs X,Y"},
      {{"grid", model, "--out", dir.File("no/such/folder/g.gpkg")}, 1, "cannot write"},
  });
  for (const char* file : {"g.gpkg", "g.txt", "g.xyz", "c.tif", "v.gpkg", "e.vtp"})
    EXPECT_FALSE(fs::exists(dir.File(file)));
}

// Runs capture with `args`; what it said on the error stream goes to `errors`.
testing::AssertionResult Captures(const Arguments& args, std::string& errors) {
  const int code = RunCli("capture", args, &errors);
  if (code == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "capture ended with " << code << ": " << errors;
}

TEST(CaptureCommand, ZonesOfTheExampleWellGrowWithTheTravelTime) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  std::string errors;
  ASSERT_TRUE(Captures({model, "--well", "2,8,15", "--times", "1y,5y,10y", "--out", dir.File("zones.gpkg"), "--paths",
                        dir.File("paths.gpkg"), "--quiet"},
                       errors));
  const std::vector<test::ReadLayer> layers = test::ReadGisLayers(dir.File("zones.gpkg"));
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_EQ(layers[0].geometryType, "Multi Polygon");
  const auto& zones = layers[0].features;
  ASSERT_EQ(zones.size(), 4u);
  const double expectedTimes[] = {365.25, 1826.25, 3652.5};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(zones[k].text.at("well"), "2,8,15");
    EXPECT_DOUBLE_EQ(zones[k].Number("time"), expectedTimes[k]);
    EXPECT_LT(zones[k].Number("area"), zones[k + 1].Number("area"));
    // 6 faces of 4 x 4, and those added where neighbours part.
    EXPECT_EQ(zones[k].text.at("particles"), zones[3].text.at("particles"));
    EXPECT_GT(zones[k].Number("particles"), 96);
  }
  EXPECT_TRUE(zones[3].IsNull("time"));  // the whole capture zone
  EXPECT_EQ(zones[3].text.at("complete"), "1");
  EXPECT_TRUE(Contains(errors, "well 2,8,15, 365.25 days: ")) << errors;
  EXPECT_TRUE(Contains(errors, "whole capture zone")) << errors;
  EXPECT_EQ(test::ReadGisLayers(dir.File("paths.gpkg")).at(0).features.size(), zones[0].Number("particles"));
  const test::ShellRun ogrinfo = test::RunShell("ogrinfo -so -al '" + dir.File("zones.gpkg") + "'");
  if (!ogrinfo.available) GTEST_SKIP() << "GDAL's tools (Debian gdal-bin) are not installed";
  EXPECT_TRUE(ogrinfo.Succeeded()) << ogrinfo.output;
  EXPECT_TRUE(Contains(ogrinfo.output, "Feature Count: 4")) << ogrinfo.output;

  // Every pumping well of the period: the example has one, so the same zones.
  ASSERT_TRUE(Captures({model, "--wells", "all", "--times", "1y,5y,10y", "--out", dir.File("all.gpkg"), "--quiet"},
                       errors));
  const auto all = test::ReadGisLayers(dir.File("all.gpkg")).at(0).features;
  ASSERT_EQ(all.size(), zones.size());
  for (std::size_t k = 0; k < all.size(); ++k) EXPECT_EQ(all[k].text, zones[k].text);
}

// The drawing puts each zone on a layer of its own, its rings closed.
TEST(CaptureCommand, ADrawingHoldsAClosedPolylineLayerPerZone) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  const std::string dxf = dir.File("zones.dxf");
  ASSERT_TRUE(Succeeds("capture", {model, "--well", "2,8,15", "--times", "1y,5y", "--out", dxf, "--quiet"}));
  const std::string text = test::ReadWholeFile(dxf);
  for (const char* layer : {"\r\nZONE_365.25\r\n", "\r\nZONE_1826.25\r\n", "\r\nCAPTURE_ZONE\r\n"})
    EXPECT_TRUE(Contains(text, layer)) << layer;
  EXPECT_EQ(CountOf(text, "\r\nPOLYLINE\r\n"), CountOf(text, "\r\nSEQEND\r\n"));
  const test::DxfReadResult drawing = test::ReadDxfWithRealReader(dxf);
  if (!drawing.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
  EXPECT_TRUE(drawing.accepted);
  ASSERT_FALSE(drawing.entities.empty());
  for (const test::ReadEntity& ring : drawing.entities) {
    ASSERT_GE(ring.coordinates.size(), 8u);  // a closed ring of three corners at least
    const std::size_t n = ring.coordinates.size();
    EXPECT_FLOAT_EQ(ring.coordinates[0], ring.coordinates[n - 2]);
    EXPECT_FLOAT_EQ(ring.coordinates[1], ring.coordinates[n - 1]);
  }
}

std::pair<double, double> XRange(const test::ReadFeature& zone) {
  double low = INFINITY, high = -INFINITY;
  for (const test::ReadVertex& v : zone.vertices) low = std::min(low, v.x), high = std::max(high, v.x);
  return {low, high};
}

// Each layer's zones lie within the union over layers, and together they cover it.
TEST(CaptureCommand, PerLayerZonesFollowTheUnionOverLayers) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  std::string errors;
  ASSERT_TRUE(Captures(
      {model, "--well", "2,8,15", "--times", "1y", "--per-layer", "--out", dir.File("z.gpkg"), "--quiet"}, errors));
  const auto zones = test::ReadGisLayers(dir.File("z.gpkg")).at(0).features;
  ASSERT_EQ(zones.size(), 8u);  // 1 year and the whole zone: over all layers, then in layers 1 to 3
  EXPECT_TRUE(zones[0].IsNull("layer") && zones[1].IsNull("layer"));
  double layersTotal = 0;
  for (std::size_t n = 2; n < zones.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(zones[n].Number("layer"), static_cast<double>(n / 2));
    EXPECT_EQ(zones[n].IsNull("time"), n % 2 == 1);
    EXPECT_LE(zones[n].Number("area"), zones[n % 2].Number("area") * 1.001);
    if (n % 2 == 1) layersTotal += zones[n].Number("area");
  }
  EXPECT_GE(layersTotal, zones[1].Number("area") * 0.999);
  EXPECT_TRUE(Contains(errors, "whole capture zone, layer 3:")) << errors;
}

// Water from a source on the water table goes downstream: at row 8 the
// water of column 5 flows to the fixed heads of column 1, so the zone grows
// with the time towards them and not the other way.
TEST(CaptureCommand, ASourceZoneGrowsDownstreamFromItsCells) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  std::string errors;
  ASSERT_TRUE(Captures({model, "--source", "1,8,5", "--source", "1,9,5", "--times", "1y", "--out",
                        dir.File("source.geojson"), "--quiet"},
                       errors));
  const auto zones = test::ReadGisLayers(dir.File("source.geojson")).at(0).features;
  ASSERT_EQ(zones.size(), 2u);
  EXPECT_EQ(zones[0].text.at("well"), "source");
  EXPECT_EQ(zones[0].Number("particles"), 32);  // the two top faces of 4 x 4
  const auto [yearLow, yearHigh] = XRange(zones[0]);
  const auto [wholeLow, wholeHigh] = XRange(zones[1]);
  EXPECT_LT(wholeLow, yearLow - 50);
  EXPECT_NEAR(wholeHigh, yearHigh, 1);
  EXPECT_TRUE(Contains(errors, "source, 365.25 days: ")) << errors;
}

// Tracked backward from the end of a transient run, water that takes less
// than the last step (41.5 days) moves in that step's flows alone, as in a
// steady run of it; water older than that comes from period 2, when the
// well pumped twice as hard, so its zone reaches farther.
TEST(CaptureCommand, ATransientRunFromTheEndFeelsTheEarlierPumping) {
  test::TempDir dir;
  const std::string model = SharedRun("transient2/modflow/transient2.nam");
  const auto zonesOf = [&](Arguments timing, const std::string& name) {
    Arguments args{model, "--wells", "all", "--times", "10,40,150", "--out", dir.File(name), "--quiet"};
    args.insert(args.end(), timing.begin(), timing.end());
    EXPECT_TRUE(Succeeds("capture", args));
    return test::ReadGisLayers(dir.File(name)).at(0).features;
  };
  const auto steady = zonesOf({"--period", "3", "--step", "4"}, "steady.geojson");
  const auto transient = zonesOf({"--pathlines", "--release-time", "end"}, "transient.geojson");
  ASSERT_EQ(steady.size(), 4u);
  ASSERT_EQ(transient.size(), 4u);
  for (const int k : {0, 1}) {
    EXPECT_EQ(transient[k].Number("area"), steady[k].Number("area")) << transient[k].text.at("time");
    EXPECT_EQ(transient[k].vertices.size(), steady[k].vertices.size());
  }
  EXPECT_GT(transient[2].Number("area"), 1.2 * steady[2].Number("area"));
}

TEST(CaptureCommand, BadWellsAndTimesAreRefusedAndNothingIsWritten) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  const std::string out = dir.File("zones.gpkg");
  const struct {
    Arguments args;
    int status;
    std::string reason;
  } cases[] = {
      {{"--well", "1,1,1", "--out", out}, 1, "layer 1, row 1, column 1 holds no well in stress period 1"},
      {{"--well", "3,18,22", "--out", out}, 1, "does not pump in stress period 1 (it injects)"},
      {{"--well", "2,8", "--out", out}, 2, "give LAYER,ROW,COLUMN or L1-L2,ROW,COLUMN"},
      {{"--well", "2,8,99", "--out", out}, 1, "lies outside the grid"},
      {{"--well", "2,8,15", "--times", "5y,1y", "--out", out}, 2, "positive and increasing"},
      {{"--well", "2,8,15", "--times", "-3", "--out", out}, 2, "positive and increasing"},
      {{"--well", "2,8,15", "--times", "10w", "--out", out}, 2, "'10w' is no time"},
      {{"--well", "2,8,15", "--out", dir.File("zones.tif")}, 2, "zones go into a .gpkg"},
      {{"--well", "2,8,15", "--paths", dir.File("paths.tif"), "--out", out}, 2, "pathlines go into a .gpkg"},
      {{"--well", "2,8,15"}, 2, "MODEL and --out are needed"},
      {{"--out", out}, 2, "give the wells by --well L,R,C or --wells all"},
      {{"--well", "2,8,15", "--source", "1,8,5", "--out", out}, 2, "one of them"},
      {{"--source", "1,1,99", "--out", out}, 1, "is no active cell of the grid"},
      {{"--source-polygon", dir.File("none.gpkg"), "--out", out}, 1, "cannot be read as a GIS file"},
      {{"--well", "2,8,15", "--wells", "all", "--out", out}, 2, "give the wells by"},
      {{"--well", "2,8,15", "--particles", dir.File("column2.par"), "--out", out}, 2, "no --particles"},
      {{"--well", "2,8,15", "--face-particles", "0", "--out", out}, 2, "bad option or value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    Arguments args{model};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::string errors;
    EXPECT_EQ(RunCli("capture", args, &errors), c.status) << errors;
    EXPECT_TRUE(Contains(errors, c.reason)) << errors;
    EXPECT_FALSE(fs::exists(out));
  }
}

}  // namespace
}  // namespace kestra::cli
