// kestra-cli plot on the shared MODFLOW models: DXF a real reader accepts,
// HPGL with its header, a PNG whose pixels show what the model holds,
// contours, overlays, pathlines of a particle file, and PDF and SVG figures
// drawn as vector paths and text.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "cli/cli_runner.h"
#include "cli/plot_options.h"
#include "export/dxf_maps.h"
#include "graphics/dxf_reader_check.h"
#include "settings/settings.h"
#include "support/json_reader.h"
#include "support/model_writers.h"
#include "support/recording_interface.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"
#include "tracking/particle_file.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

// The model file or name file of a copy of one form of a shared model.
std::string CopyModel(const test::TempDir& dir, const std::string& model, const std::string& form) {
  return test::CopySharedRun(dir, model, form, model + (form == "lahey" ? ".mdl" : ".nam"));
}

TEST(PlotCommand, DxfOfEverySharedModelOpensInARealReader) {
  for (const std::string model : {"uniform1", "mixed3d", "transient2"})
    for (const std::string form : {"lahey", "namefile", "modflow"}) {
      SCOPED_TRACE(model + "/" + form);
      test::TempDir dir;
      const std::string dxfPath = dir.File("plot.dxf");
      ASSERT_TRUE(Succeeds("plot", {CopyModel(dir, model, form), "--out", dxfPath}));
      const std::string dxf = test::ReadWholeFile(dxfPath);
      EXPECT_EQ(dxf.substr(0, 5), "  0\r\n");
      EXPECT_EQ(dxf.substr(dxf.size() - 5), "EOF\r\n");
      const test::DxfReadResult read = test::ReadDxfWithRealReader(dxfPath);
      if (!read.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
      ASSERT_TRUE(read.accepted);
      std::map<std::string, int> counts;
      for (const auto& entity : read.entities) ++counts[entity.type];
      // Every model has a column of fixed heads and a grid of at least 15 x 10.
      EXPECT_GE(counts["LINE"], 2 * 15);
      EXPECT_GE(counts["SOLID"], 10);
      EXPECT_EQ(counts["LINE"] + counts["SOLID"], static_cast<int>(read.entities.size()));
      // Without a position the plan covers world x 0..width, y 0..length: some
      // entities of the row section lie wholly below it, some of the column
      // section wholly to its right (the section marks only straddle its edges).
      test::JsonValue json;
      ASSERT_TRUE(
          test::ParseJson(test::ReadWholeFile((test::TestDataDir() / model / "modflow/model.json").string()), json));
      double width = 0;
      for (const auto& d : json["delr"].items) width += d.number;
      bool belowPlan = false, rightOfPlan = false;
      for (const auto& entity : read.entities) {
        bool below = true, right = true;
        for (std::size_t n = 0; n + 1 < entity.coordinates.size(); n += 2) {
          below = below && entity.coordinates[n + 1] < 0;
          right = right && entity.coordinates[n] > width;
        }
        belowPlan = belowPlan || below;
        rightOfPlan = rightOfPlan || right;
      }
      EXPECT_TRUE(belowPlan);
      EXPECT_TRUE(rightOfPlan);
    }
}

TEST(PlotCommand, HpglStartsWithTheHeaderScaledToTheShownPart) {
  test::TempDir dir;
  const std::string model = CopyModel(dir, "uniform1", "lahey");  // 200 x 100
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("whole.plt")}));
  const std::string whole = test::ReadWholeFile(dir.File("whole.plt"));
  EXPECT_EQ(whole.substr(0, 49), "IN;VS10.0;SP1;\r\nRO 90;FT 1;IP 0,0, 10000, 5000;\r\n");
  EXPECT_EQ(whole.substr(whole.size() - 7), "PU;SP0;");
  // Zoomed to 50 x 50 units: 7200 plotter units for the height.
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("zoom"), "--format", "hpgl", "--zoom", "50,20,100,70"}));
  EXPECT_EQ(test::ReadWholeFile(dir.File("zoom")).substr(16, 32), "RO 90;FT 1;IP 0,0, 7200, 7200;\r\n");
}

QRgb Rgb(std::int32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Where the cells of mixed3d lie in a PNG of the views, from its description:
// one scale for plan and sections, the sections E = elevation range x
// exaggeration deep, 3 pixels beside and below the plan.
struct PngGeometry {
  static constexpr int kWidth = 1200, kHeight = 900, kGap = 3;
  static constexpr float kExaggeration = 5;
  test::JsonValue json;
  std::vector<double> xEdge{0}, yEdge{0};
  double zMin = 1e30, zMax = -1e30, pixelSize = 0;
  int planWidth = 0, planHeight = 0;

  PngGeometry() {
    EXPECT_TRUE(
        test::ParseJson(test::ReadWholeFile((test::TestDataDir() / "mixed3d/modflow/model.json").string()), json));
    for (const auto& d : json["delr"].items) xEdge.push_back(xEdge.back() + d.number);
    for (const auto& d : json["delc"].items) yEdge.push_back(yEdge.back() + d.number);
    for (const char* name : {"top", "bot"})
      for (const auto& layer : json[name].items)
        for (const auto& row : layer.items)
          for (const auto& value : row.items) zMin = std::min(zMin, value.number), zMax = std::max(zMax, value.number);
    const double depth = (zMax - zMin) * kExaggeration;
    pixelSize = std::max((xEdge.back() + depth) / (kWidth - kGap), (yEdge.back() + depth) / (kHeight - kGap));
    planWidth = static_cast<int>(std::lround(xEdge.back() / pixelSize));
    planHeight = static_cast<int>(std::lround(yEdge.back() / pixelSize));
  }
  double Elevation(const char* name, int j, int i, int k) const { return json[name][k - 1][i - 1][j - 1].number; }
  int PlanX(int j) const { return static_cast<int>((xEdge[j - 1] + xEdge[j]) / 2 / pixelSize); }
  int PlanY(int i) const { return static_cast<int>((yEdge[i - 1] + yEdge[i]) / 2 / pixelSize); }
  // Pixels across the elevation axis from the section's top (the model top).
  int Depth(double z) const { return static_cast<int>((zMax - z) * kExaggeration / pixelSize); }
  int MidDepth(int j, int i, int k) const { return Depth((Elevation("top", j, i, k) + Elevation("bot", j, i, k)) / 2); }
  int RowSectionY(int j, int i, int k) const { return planHeight + kGap + MidDepth(j, i, k); }
  int ColumnSectionX(int j, int i, int k) const { return planWidth + kGap + MidDepth(j, i, k); }
};

// True when some pixel of x1..x2 by y1..y2 has the colour.
bool AnyPixel(const QImage& image, int x1, int y1, int x2, int y2, QRgb colour) {
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x)
      if (image.pixel(x, y) == colour) return true;
  return false;
}

// Plots mixed3d to a bitmap (the pixel copy of the views), with the water table shown, the sections five
// times exaggerated and cut along row 8 and column 22.
QImage PlotMixed3dPng(const test::TempDir& dir) {
  const std::string model = CopyModel(dir, "mixed3d", "lahey");
  const fs::path settings = fs::path(model).parent_path() / "mixed3d.ini";
  fs::remove(settings);  // the copy of a shared one is read-only
  test::WriteWholeFile(settings.string(),
                       "[GRID_APPEARANCE]\r\nWaterTable=-1\r\n[CROSS_SECTIONS]\r\nEXAGGERATION=5\r\n");
  EXPECT_TRUE(Succeeds("plot", {model, "--out", dir.File("views.bmp"), "--row", "8", "--column", "22"}));
  return QImage(QString::fromStdString(dir.File("views.bmp")));
}

TEST(PlotCommand, PngShowsCellTypesPackagesAndBothSectionsWithTheWaterTable) {
  const PngGeometry g;
  const Settings colours;  // the model's settings file sets none
  test::TempDir dir;
  const QImage image = PlotMixed3dPng(dir);
  ASSERT_FALSE(image.isNull());
  const int sectionPixels = static_cast<int>(std::lround((g.zMax - g.zMin) * PngGeometry::kExaggeration / g.pixelSize));
  EXPECT_EQ(image.size(),
            QSize(g.planWidth + PngGeometry::kGap + sectionPixels, g.planHeight + PngGeometry::kGap + sectionPixels));
  // Plan of layer 1, by column and row.
  for (const auto& [j, i, colour] : std::vector<std::tuple<int, int, QRgb>>{
           {1, 15, Rgb(colours.fixedHeadCellColor)}, {27, 3, Rgb(colours.inactiveCellColor)},
           {13, 24, Rgb(colours.inactiveCellColor)}, {10, 13, Rgb(colours.riverColor)}, {8, 21, Rgb(colours.drainColor)},
           {30, 18, Rgb(colours.ghbCellColor)}, {5, 18, qRgb(255, 255, 255)}})
    EXPECT_EQ(image.pixel(g.PlanX(j), g.PlanY(i)), colour) << "column " << j << ", row " << i;
  const int gridLineX = static_cast<int>(g.xEdge[5] / g.pixelSize);
  EXPECT_TRUE(AnyPixel(image, gridLineX, g.PlanY(18), gridLineX + 1, g.PlanY(18), Rgb(colours.meshColor)));
  // Row section along row 8: the pumping well in layer 2, water in layer 1.
  EXPECT_EQ(image.pixel(g.PlanX(15), g.RowSectionY(15, 8, 2)), Rgb(colours.dischargeWellColor));
  EXPECT_EQ(image.pixel(g.PlanX(1), g.RowSectionY(1, 8, 3)), Rgb(colours.fixedHeadCellColor));
  const int rowTop = g.planHeight + PngGeometry::kGap;
  EXPECT_TRUE(AnyPixel(image, g.PlanX(12), rowTop + g.Depth(g.Elevation("top", 12, 8, 1)), g.PlanX(12),
                       rowTop + g.Depth(g.Elevation("bot", 12, 8, 1)), Rgb(colours.waterTableColor)));
  // Column section along column 22: the injection well in layer 3, the river in layer 1.
  EXPECT_EQ(image.pixel(g.ColumnSectionX(22, 18, 3), g.PlanY(18)), Rgb(colours.rechargeWellColor));
  EXPECT_EQ(image.pixel(g.ColumnSectionX(22, 13, 1), g.PlanY(13)), Rgb(colours.riverColor));
  const int columnLeft = g.planWidth + PngGeometry::kGap;
  const int betweenRows = (g.PlanY(10) + g.PlanY(11)) / 2;
  EXPECT_TRUE(AnyPixel(image, columnLeft + g.Depth(g.Elevation("top", 22, 10, 1)), betweenRows,
                       columnLeft + g.Depth(g.Elevation("bot", 22, 10, 1)), betweenRows, Rgb(colours.waterTableColor)));
}

TEST(PlotCommand, BadOptionsAreRefusedWithTheReason) {
  test::TempDir dir;
  const std::string model = CopyModel(dir, "uniform1", "lahey");
  const std::string out = dir.File("p.dxf");
  ExpectRefused("plot", {
      {{model}, "no output file given"},
      {{"--out", out}, "no model given"},
      {{model, "--out", dir.File("p.gif")}, "cannot tell the format"},
      {{model, "--out", out, "--format", "gif"}, "bad value 'gif' for --format"},
      {{model, "--out", out, "--forward"}, "--forward and --backward need --particles"},
      {{model, "--out", out, "--particles", dir.File("p.par"), "--step", "2"}, "--step needs --period"},
      {{model, "--out", out, "--max-steps", "0"}, "bad or missing value for --max-steps: 0"},
      {{model, "--out", out, "--layer", "0"}, "bad value '0' for --layer"},
      {{model, "--out", out, "--layer", "2"}, "--layer 2 lies beyond the 1 layers of the model"},
      {{model, "--out", out, "--row", "11"}, "--row 11 lies beyond the 10 rows of the model"},
      {{model, "--out", out, "--zoom", "10,10,5,20"}, "bad value '10,10,5,20' for --zoom"},
      {{model, "--out", out, "--zoom", "1,2,3"}, "bad value '1,2,3' for --zoom"},
      {{model, "--out", out, "--size", "0x100"}, "bad value '0x100' for --size"},
      {{model, "--out", out, "--size"}, "--size needs a value"},
      {{model, "--out", out, "--size", "2x400"}, "the drawing space is too small for the plan"},
      {{model, "--out", out, "--colour", "red"}, "unknown option '--colour'"},
      {{model, "--out", out, "--contours", "pressure"}, "bad value 'pressure' for --contours"},
      {{model, "--out", out, "--levels", "1,2"}, "bad value '1,2' for --levels"},
      {{model, "--out", out, "--levels", "5,1,1"}, "bad value '5,1,1' for --levels"},
      {{model, "--out", out, "--levels", "0,10,0"}, "bad value '0,10,0' for --levels"},
      {{model, "--out", out, "--levels", "0,40000,1"}, "bad value '0,40000,1' for --levels"},
      {{model, "--out", out, "--exaggeration", "0.000009"}, "bad value '0.000009' for --exaggeration"},
      {{model, "--out", out, "--exaggeration", "1001"}, "bad value '1001' for --exaggeration"},
      {{model, "--out", dir.File("a.png"), "--paper", "A4"}, "--paper sizes a PDF only"},
      {{model, "--out", out, "--flood", "head"}, "--flood colours a picture"},
      {{model, "--out", dir.File("a.png"), "--flood", "salinity"}, "head, drawdown or velocity"},
      {{model, "--out", dir.File("a.png"), "--dpi", "0"}, "1 to 2400"},
  });
  EXPECT_FALSE(fs::exists(out));
  EXPECT_FALSE(fs::exists(dir.File("a.png")));
  std::string errors;
  EXPECT_EQ(Plot({dir.File("none.mdl"), "--out", out}, &errors), 1);
  EXPECT_NE(errors.find("not found"), std::string::npos) << errors;
}

// Results that did not load whole: the picture without them is still drawn
// and said to be partial (3); particles that need them are refused (1) and
// nothing is written.
TEST(PlotCommand, APictureWithoutItsResultsIsPartialAndParticlesWithoutThemAreRefused) {
  const struct {
    const char* damage;  // the result file cut short or removed
    bool particles;
    int status;
    const char* says;
  } cases[] = {
      {"mixed3d.hds", false, 3, "drawn with no heads: the heads of period 1 step 1 did not load"},
      {"mixed3d.cbc", false, 3, "drawn with no flow terms: the flow terms of period 1 step 1 did not load"},
      {"mixed3d.cbc", true, 1, "could not be loaded"},
      {"mixed3d.hds", true, 1, "the heads of the time step could not be loaded"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.damage) + (c.particles ? " with particles" : ""));
    test::TempDir dir;
    const std::string model = CopyModel(dir, "mixed3d", "modflow");
    fs::resize_file(dir.File(c.damage), 5000);
    test::WriteWholeFile(dir.File("p.par"), "KESTRA_V100_PARTICLES\r\n 1 \r\n0.5 0.5 0.5 2 2 1 12 255 1\r\n");
    Arguments args{model, "--out", dir.File("plot.png")};
    if (c.particles) args.insert(args.end(), {"--particles", dir.File("p.par")});
    std::string errors;
    EXPECT_EQ(Plot(args, &errors), c.status) << errors;
    EXPECT_NE(errors.find(c.says), std::string::npos) << errors;
    EXPECT_EQ(fs::exists(dir.File("plot.png")), c.status == 3);
  }
}

// A valid model of one column and 2000 rows fits the default drawing space
// only one pixel wide; it is drawn, not refused as a wrong argument.
TEST(PlotCommand, AModelFarLongerThanWideIsDrawn) {
  test::TempDir dir;
  test::SmallModel shape;
  shape.ncol = 1;
  shape.nrow = 2000;
  const std::string model = test::WriteModelFileSet(dir.path().string(), "long", shape);
  for (const char* name : {"long.dxf", "long.png"}) {
    std::string errors;
    EXPECT_NE(Plot({model, "--out", dir.File(name)}, &errors), 2) << errors;
    EXPECT_EQ(errors.find("too small"), std::string::npos) << errors;
    EXPECT_TRUE(fs::exists(dir.File(name))) << name << ": " << errors;
  }
}

// The window's limit on particles is for placing them by hand: a file of
// any size is drawn, as track tracks it.
TEST(PlotCommand, DrawsMoreParticlesThanTheWindowPlaces) {
  test::TempDir dir;
  const std::string model = CopyModel(dir, "uniform1", "lahey");
  std::string particles = "KESTRA_V100_PARTICLES\r\n 6000 \r\n";
  for (int n = 0; n < 6000; ++n) particles += "0.5 0.5 0.5 2 " + std::to_string(n % 10 + 1) + " 1 12 255 1\r\n";
  test::WriteWholeFile(dir.File("many.par"), particles);
  std::string errors;
  EXPECT_EQ(Plot({model, "--out", dir.File("p.dxf"), "--particles", dir.File("many.par"), "--max-steps", "1"}, &errors),
            0)
      << errors;
  EXPECT_EQ(errors, "");
}

std::string Mixed3d(const test::TempDir& dir, const std::string& settings = "") {
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  if (!settings.empty()) test::WriteWholeFile((fs::path(model).parent_path() / "mixed3d.ini").string(), settings);
  return model;
}

std::map<std::string, int> EntityCounts(const std::string& dxf) {
  return {{"POLYLINE", CountOf(dxf, "\r\nPOLYLINE\r\n")}, {"LINE", CountOf(dxf, "\r\nLINE\r\n")}};
}

TEST(PlotContours, SettingsSwitchThemOnTheOptionsOverruleAndTheDxfHoldsTheLinesWithTheirLabels) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir, "[GRID_APPEARANCE]\r\nCONTOURS=-1\r\n");
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("on.dxf")}));
  ASSERT_TRUE(Succeeds("plot", {model, "--contours", "off", "--out", dir.File("off.dxf")}));
  const auto off = EntityCounts(test::ReadWholeFile(dir.File("off.dxf")));
  const auto on = EntityCounts(test::ReadWholeFile(dir.File("on.dxf")));
  EXPECT_EQ(off.at("POLYLINE"), 0);
  EXPECT_GE(on.at("POLYLINE"), 11);
  // The labels are strokes of the stroke font: many short lines more.
  EXPECT_GE(on.at("LINE") - off.at("LINE"), 200);
  // One level only, through the middle of the heads: one line across the grid.
  ASSERT_TRUE(Succeeds("plot", {model, "--contours", "head", "--levels", "42,42,1", "--out", dir.File("one.dxf")}));
  const int one = EntityCounts(test::ReadWholeFile(dir.File("one.dxf"))).at("POLYLINE");
  EXPECT_GE(one, 1);
  EXPECT_LE(one, 10);
  ASSERT_TRUE(Succeeds("plot", {model, "--contours", "drawdown", "--out", dir.File("dd.dxf")}));
  const test::DxfReadResult read = test::ReadDxfWithRealReader(dir.File("on.dxf"));
  if (!read.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
  ASSERT_TRUE(read.accepted);
  int polylines = 0;
  for (const auto& entity : read.entities)
    if (entity.type == "POLYLINE") {
      ++polylines;
      EXPECT_GE(entity.coordinates.size(), 4u);
    }
  EXPECT_EQ(polylines, on.at("POLYLINE"));
}

TEST(PlotContours, ExaggerationOptionAndTheReadableDefault) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir);
  const auto picture = [&](const std::vector<std::string>& extra) {
    Arguments args{model, "--out", dir.File("p.png")};
    args.insert(args.end(), extra.begin(), extra.end());
    EXPECT_TRUE(Succeeds("plot", args));
    return QImage(QString::fromStdString(dir.File("p.png")));
  };
  const QImage flat = picture({"--exaggeration", "1"});
  const QImage chosen = picture({});
  EXPECT_NE(chosen, flat);
  // 1035.7 long, 63.4 deep (61.0 down to -2.5): a fifth of the length over the depth is 3.27.
  EXPECT_EQ(picture({"--exaggeration", "3.3"}), chosen);
  // The limits themselves are taken (BadOptionsAreRefusedWithTheReason refuses beyond them).
  EXPECT_TRUE(Succeeds("plot", {model, "--out", dir.File("p.dxf"), "--exaggeration", "0.00001"}));
  EXPECT_TRUE(Succeeds("plot", {model, "--out", dir.File("p.dxf"), "--exaggeration", "1000"}));
  test::WriteWholeFile(dir.File("mixed3d.ini"), "[CROSS_SECTIONS]\r\nEXAGGERATION=1\r\n");
  EXPECT_EQ(picture({}), flat);  // a stored value wins
}

bool Read(const Arguments& args, PlotOptions& options, std::string* errors = nullptr) {
  std::ostringstream err;
  const bool ok = ReadPlotOptions(args, options, err);
  if (errors) *errors = err.str();
  return ok;
}

TEST(PlotOverlayOptions, VectorsAndUpToFiveMaps) {
  test::TempDir dir;
  const std::string map = dir.File("site.dxf");
  const std::string odd = dir.File("a,b.dxf");
  test::WriteWholeFile(map, "0\nEOF\n");
  test::WriteWholeFile(odd, "0\nEOF\n");
  PlotOptions options;
  ASSERT_TRUE(Read({"m.mdl", "--out", "p.png", "--vectors", "on", "--map", map, "--map", map + ",10,-20.5,2",
                    "--map", odd},
                   options));
  EXPECT_EQ(options.overlays.vectors, true);
  std::vector<std::tuple<std::string, float, float, float>> maps;  // file, shift in x and y, factor
  for (const MapOption& m : options.overlays.maps) maps.emplace_back(m.file, m.shiftX, m.shiftY, m.factor);
  EXPECT_EQ(maps, (decltype(maps){{map, 0, 0, 1}, {map, 10, -20.5f, 2}, {odd, 0, 0, 1}}));

  Settings settings;
  settings.dxfMaps[5] = {map, 1, 1, 1, kOn, 0};
  ApplyOverlayOptions(options.overlays, settings);
  EXPECT_EQ(settings.vectorsVisible, kOn);
  EXPECT_EQ(settings.dxfMaps[2], (DxfMapEntry{map, 10, -20.5f, 2, kOn, kDefaultMapColour}));
  EXPECT_EQ(settings.dxfMaps[4], DxfMapEntry{});
  EXPECT_EQ(settings.dxfMaps[5], DxfMapEntry{});

  // A missing map is no wrong argument: the plot command refuses it with exit status 1.
  PlotOptions missing;
  EXPECT_TRUE(Read({"m.mdl", "--out", "p.png", "--map", dir.File("none.dxf")}, missing));
  Arguments six{"m.mdl", "--out", "p.png"};
  for (int n = 0; n < 6; ++n) six.insert(six.end(), {"--map", map});
  const std::pair<Arguments, std::string> refused[] = {
      {{"m.mdl", "--out", "p.png", "--vectors", "yes"}, "--vectors"},
      {{"m.mdl", "--out", "p.png", "--map", map + ",1,2,NaN"}, "the map factor 'NaN' of --map is not a finite number"},
      {{"m.mdl", "--out", "p.png", "--map", map + ",1e99,2,1"}, "the map shift in x '1e99'"},
      {six, "at most 5 maps"},
      {{"m.mdl", "--out", "p.png", "--map"}, "--map needs a value"},
  };
  for (const auto& [args, reason] : refused) {
    PlotOptions fresh;
    std::string errors;
    EXPECT_FALSE(Read(args, fresh, &errors)) << reason;
    EXPECT_NE(errors.find(reason), std::string::npos) << errors;
  }
}

TEST(PlotOverlayOptions, VectorsGoIntoThePlotAndMapsOnlyIntoPictures) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
  const std::string map = dir.File("road.dxf");
  // A line across the whole plan, far wider than any model.
  test::WriteWholeFile(map, "0\nLINE\n62\n1\n10\n-100000\n20\n-100000\n11\n100000\n21\n100000\n0\nEOF\n");
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("off.dxf"), "--vectors", "off"}));
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("on.dxf"), "--vectors", "on", "--map", map}));
  const std::string off = test::ReadWholeFile(dir.File("off.dxf"));
  const std::string on = test::ReadWholeFile(dir.File("on.dxf"));
  EXPECT_GT(CountOf(on, "\r\nLINE\r\n"), CountOf(off, "\r\nLINE\r\n"));
  // No bad number, and not the map's red line: that is no part of the plot.
  for (const char* absent : {"inf", "nan", "100000"}) EXPECT_EQ(CountOf(on, absent), 0) << absent;

  // The figure draws the map's line in red; nothing else of uniform1 is red.
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("map.svg"), "--map", map}));
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("plain.svg")}));
  EXPECT_GT(CountOf(test::ReadWholeFile(dir.File("map.svg")), "#ff0000"), 0);
  EXPECT_EQ(CountOf(test::ReadWholeFile(dir.File("plain.svg")), "#ff0000"), 0);
}

// uniform1 with three particles in the middle of column 10: forward they
// run to column 20, backward to column 1.
struct PlotScene {
  PlotScene() {
    model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
    ParticleSet set;
    set.DefaultParticleColor = 0x00FF00;  // green: no cell type is drawn green
    for (std::int16_t row : {3, 5, 7})
      set.Particles.push_back(NewParticle(set, CellIndex{10, row, 1}, LocalPoint{0.5f, 0.5f, 0.5f}, 5.0f));
    particles = dir.File("column10.par");
    test::RecordingInterface ui;
    EXPECT_TRUE(WriteParticleFile(particles, set, ui));
  }
  testing::AssertionResult Write(const std::string& name, bool withParticles) {
    Arguments args{model, "--out", dir.File(name)};
    if (withParticles) args.insert(args.end(), {"--particles", particles, "--forward", "--backward"});
    return Succeeds("plot", args);
  }
  test::TempDir dir;
  std::string model, particles;
};

constexpr QRgb kForwardColour = qRgb(0, 255, 0);   // the particles' colour
constexpr QRgb kBackwardColour = qRgb(0, 0, 255);  // the settings' default for backward paths

int PixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

TEST(PlotPathlines, EveryKindOfPlotFileGainsThePathlines) {
  PlotScene scene;
  for (const char* name : {"with.dxf", "with.plt", "with.svg", "plot.pdf", "with.bmp"})
    ASSERT_TRUE(scene.Write(name, true));
  for (const char* name : {"without.dxf", "without.plt", "without.svg", "without.bmp"})
    ASSERT_TRUE(scene.Write(name, false));
  const std::string with = test::ReadWholeFile(scene.dir.File("with.dxf"));
  const std::string without = test::ReadWholeFile(scene.dir.File("without.dxf"));
  EXPECT_GT(CountOf(with, "\r\nLINE\r\n"), CountOf(without, "\r\nLINE\r\n") + 10);
  EXPECT_GT(test::ReadWholeFile(scene.dir.File("with.plt")).size(),
            test::ReadWholeFile(scene.dir.File("without.plt")).size());
  // The figure draws them in the particles' colour and names both directions in its legend.
  const std::string svg = test::ReadWholeFile(scene.dir.File("with.svg"));
  const std::string plainSvg = test::ReadWholeFile(scene.dir.File("without.svg"));
  for (const char* shown : {"#00ff00", "Forward pathlines", "Backward pathlines"}) {
    EXPECT_NE(svg.find(shown), std::string::npos) << shown;
    EXPECT_EQ(plainSvg.find(shown), std::string::npos) << shown;
  }
  EXPECT_EQ(test::ReadWholeFile(scene.dir.File("plot.pdf")).substr(0, 5), "%PDF-");
  // The bitmap is the views' own pixels, so a pathline's colour is exact there.
  const QImage bmp(QString::fromStdString(scene.dir.File("with.bmp")), "BMP");
  const QImage plainBmp(QString::fromStdString(scene.dir.File("without.bmp")), "BMP");
  ASSERT_FALSE(bmp.isNull());
  EXPECT_EQ(PixelsOf(plainBmp, kForwardColour), 0);
  EXPECT_EQ(PixelsOf(plainBmp, kBackwardColour), 0);
  // Three lines across the whole plan (200 units wide) and the row section,
  // forward in the particles' colour, backward in the backward colour.
  EXPECT_GT(PixelsOf(bmp, kForwardColour) + PixelsOf(bmp, kBackwardColour), 3 * bmp.width() / 2);
  EXPECT_GT(PixelsOf(bmp, kForwardColour), 100);
  // The backward pathlines reach the left edge of the plan.
  int left = bmp.width();
  for (int y = 0; y < bmp.height(); ++y)
    for (int x = 0; x < bmp.width(); ++x)
      if (bmp.pixel(x, y) == kBackwardColour) left = std::min(left, x);
  EXPECT_LT(left, bmp.width() / 20);
}

// The tracking options are those of track, the sink rule and release time too.
TEST(PlotPathlines, TakesTheTrackingOptionsOfTrack) {
  PlotScene scene;
  const std::string out = scene.dir.File("sinks.dxf");
  EXPECT_TRUE(Succeeds("plot", {scene.model, "--out", out, "--particles", scene.particles, "--sinks", "all"}));
  ExpectRefused("plot", {
      {{scene.model, "--out", out, "--particles", scene.particles, "--sinks", "some"},
       "bad or missing value for --sinks: some"},
      {{scene.model, "--out", out, "--particles", scene.particles, "--release-time", "end"},
       "--release-time needs --pathlines"},
      {{scene.model, "--out", out, "--particles", scene.particles, "--pathlines", "--release-time", "5"},
       "beyond the end of the simulation"},
  });
}

TEST(FigureCommand, PdfHoldsTextAndPathsButNoImage) {
  test::TempDir dir;
  const std::string pdf = dir.File("figure.pdf");
  ASSERT_TRUE(Succeeds("plot", {Mixed3d(dir), "--out", pdf, "--layer", "2", "--paper", "A4", "--landscape", "--flood",
                                "head", "--contours", "head", "--note", "Steady state, calibrated run"}));
  const test::ShellRun images = test::RunShell("pdfimages -list '" + pdf + "'");
  if (!images.available) GTEST_SKIP() << "poppler-utils is not installed";
  // The header and its rule, and no image row below them.
  EXPECT_EQ(std::count(images.output.begin(), images.output.end(), '\n'), 2) << images.output;
  const std::string text = test::RunShell("pdftotext -layout '" + pdf + "' -").output;
  // Without a stored position the sections go through the pumping well at row 8, column 15.
  for (const char* expected : {"mixed3d: layer 2, period 1, step 1", "x (m)", "y (m)", "Elevation (m)",
                               "Row 8, vertical exaggeration", "Column 15", "Head (m)",
                               "Steady state, calibrated run"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  // Ticks in plain decimals: no E-notation anywhere.
  EXPECT_EQ(text.find("E+0"), std::string::npos) << text;
  const std::string info = test::RunShell("pdfinfo '" + pdf + "'").output;
  EXPECT_NE(info.find("842 x 595 pts (A4)"), std::string::npos) << info;
}

TEST(FigureCommand, SvgIsVectorWithTheTitleAskedForAndRastersHaveTheSizeAskedFor) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir);
  ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File("figure.svg"), "--title", "Site A capture"}));
  const std::string svg = test::ReadWholeFile(dir.File("figure.svg"));
  for (const char* shown : {"<polyline", "<text", "Site A capture"}) EXPECT_TRUE(Contains(svg, shown)) << shown;
  // No bitmap, and not the default title it replaces.
  for (const char* absent : {"<image", "mixed3d: layer 1"}) EXPECT_FALSE(Contains(svg, absent)) << absent;
  for (const char* name : {"figure.png", "figure.tif"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(Succeeds("plot", {model, "--out", dir.File(name), "--size", "1200x900", "--dpi", "300"}));
    const QImage image(QString::fromStdString(dir.File(name)));
    EXPECT_EQ(image.size(), QSize(1200, 900));
    EXPECT_EQ(image.dotsPerMeterX(), 11811);  // 300 dpi
  }
}

}  // namespace
}  // namespace kestra::cli
