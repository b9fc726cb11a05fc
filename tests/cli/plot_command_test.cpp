// kestra-cli plot on the shared MODFLOW models: DXF a real reader accepts,
// HPGL with its header, and a PNG whose pixels show what the model holds.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/commands.h"
#include "cli/cli_runner.h"
#include "graphics/dxf_reader_check.h"
#include "settings/settings.h"
#include "support/json_reader.h"
#include "support/model_writers.h"
#include "support/temp_dir.h"

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
      std::string errors;
      ASSERT_EQ(Plot({CopyModel(dir, model, form), "--out", dxfPath}, &errors), 0) << errors;
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
  ASSERT_EQ(Plot({model, "--out", dir.File("whole.plt")}), 0);
  const std::string whole = test::ReadWholeFile(dir.File("whole.plt"));
  EXPECT_EQ(whole.substr(0, 49), "IN;VS10.0;SP1;\r\nRO 90;FT 1;IP 0,0, 10000, 5000;\r\n");
  EXPECT_EQ(whole.substr(whole.size() - 7), "PU;SP0;");
  // Zoomed to 50 x 50 units: 7200 plotter units for the height.
  ASSERT_EQ(Plot({model, "--out", dir.File("zoom"), "--format", "hpgl", "--zoom", "50,20,100,70"}), 0);
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
  std::string errors;
  EXPECT_EQ(Plot({model, "--out", dir.File("views.bmp"), "--row", "8", "--column", "22"}, &errors), 0) << errors;
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
  // Plan of layer 1.
  EXPECT_EQ(image.pixel(g.PlanX(1), g.PlanY(15)), Rgb(colours.fixedHeadCellColor));
  EXPECT_EQ(image.pixel(g.PlanX(27), g.PlanY(3)), Rgb(colours.inactiveCellColor));
  EXPECT_EQ(image.pixel(g.PlanX(13), g.PlanY(24)), Rgb(colours.inactiveCellColor));
  EXPECT_EQ(image.pixel(g.PlanX(10), g.PlanY(13)), Rgb(colours.riverColor));
  EXPECT_EQ(image.pixel(g.PlanX(8), g.PlanY(21)), Rgb(colours.drainColor));
  EXPECT_EQ(image.pixel(g.PlanX(30), g.PlanY(18)), Rgb(colours.ghbCellColor));
  EXPECT_EQ(image.pixel(g.PlanX(5), g.PlanY(18)), qRgb(255, 255, 255));
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
  });
  EXPECT_FALSE(fs::exists(out));
  std::string errors;
  EXPECT_EQ(Plot({dir.File("none.mdl"), "--out", out}, &errors), 1);
  EXPECT_NE(errors.find("not found"), std::string::npos) << errors;
  EXPECT_EQ(Plot({"--help"}), 0);
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

}  // namespace
}  // namespace kestra::cli
