// kestra-cli capture on the example: the zones of its pumping well as a
// GeoPackage that GDAL's tools read, and the bad inputs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "cli_runner.h"
#include "graphics/dxf_reader_check.h"
#include "support/gis_reader.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

TEST(CaptureCommand, ZonesOfTheExampleWellGrowWithTheTravelTime) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  std::string errors;
  ASSERT_EQ(RunCli("capture",
                   {model, "--well", "2,8,15", "--times", "1y,5y,10y", "--out", dir.File("zones.gpkg"), "--paths",
                    dir.File("paths.gpkg"), "--quiet"},
                   &errors),
            0)
      << errors;
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
  ASSERT_EQ(
      RunCli("capture", {model, "--wells", "all", "--times", "1y,5y,10y", "--out", dir.File("all.gpkg"), "--quiet"},
             &errors),
      0)
      << errors;
  const auto all = test::ReadGisLayers(dir.File("all.gpkg")).at(0).features;
  ASSERT_EQ(all.size(), zones.size());
  for (std::size_t k = 0; k < all.size(); ++k) EXPECT_EQ(all[k].text, zones[k].text);
}

// The drawing puts each zone on a layer of its own, its rings closed.
TEST(CaptureCommand, ADrawingHoldsAClosedPolylineLayerPerZone) {
  test::TempDir dir;
  const std::string model = test::CopyExample(dir);
  const std::string dxf = dir.File("zones.dxf");
  std::string errors;
  ASSERT_EQ(RunCli("capture", {model, "--well", "2,8,15", "--times", "1y,5y", "--out", dxf, "--quiet"}, &errors), 0)
      << errors;
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
  ASSERT_EQ(RunCli("capture",
                   {model, "--well", "2,8,15", "--times", "1y", "--per-layer", "--out", dir.File("z.gpkg"), "--quiet"},
                   &errors),
            0)
      << errors;
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
  ASSERT_EQ(RunCli("capture",
                   {model, "--source", "1,8,5", "--source", "1,9,5", "--times", "1y", "--out",
                    dir.File("source.geojson"), "--quiet"},
                   &errors),
            0)
      << errors;
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
    std::string errors;
    EXPECT_EQ(RunCli("capture", args, &errors), 0) << errors;
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
