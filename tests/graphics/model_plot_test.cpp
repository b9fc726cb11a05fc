// The plot devices and their files, and plots read back by a real DXF reader:
// whole models through DrawModel, and positioned and rotated models.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "core/number_format.h"
#include "graphics/device_range.h"

#include "dxf_reader_check.h"
#include "graphics/plan_view.h"
#include "graphics/plot_device.h"
#include "plot_file.h"
#include "support/temp_dir.h"
#include "view_scene.h"

namespace kestra {
namespace {

using test::ViewScene;

// Five columns and four rows of 100, two layers; an inactive corner, a
// fixed-head cell, a pumping well, a river and a barrier.
class ModelPlot : public testing::Test {
 protected:
  ModelPlot() {
    ModelState& m = scene.model;
    m.IBOUND(1, 1, 1) = 0;
    m.IBOUND(5, 4, 1) = -1;
    m.DataFlags(3, 2) = m.DataFlags(3, 4) = m.DataFlags(6, 4) = 2;
    scene.SetPackage(data_type::kWells, 1, {{{3, 2}, -500}});
    scene.SetPackage(data_type::kRivers, 1, {{{2, 3}, 1}, {{3, 3}, 1}});
    scene.SetPackage(data_type::kBarriers, 1, {{{4, 2}, 2}});
    scene.layout.PixelSize = 1;
    scene.inputs.gridPlotSwitch = true;
  }

  // The DXF plot of the whole model, written to `name` in the folder.
  std::string Plot(const std::string& name) {
    scene.device.PlotFileName = dir.File(name);
    scene.device.PlotToFile = true;
    EXPECT_TRUE(OpenPlotFile(scene.device, scene.layout.zoom));
    DrawModel(scene.context, scene.inputs, 1);
    EXPECT_TRUE(ClosePlotFile(scene.device));
    return test::ReadWholeFile(dir.File(name));
  }

  ViewScene scene{test::UniformModel(5, 4, 2, 100, 100)};
  test::TempDir dir;
};

std::map<std::string, int> CountTypes(const std::vector<test::ReadEntity>& entities) {
  std::map<std::string, int> counts;
  for (const auto& e : entities) ++counts[e.type];
  return counts;
}

TEST_F(ModelPlot, DxfOfTheWholeModelOpensInARealReader) {
  const std::string dxf = Plot("model.dxf");
  EXPECT_EQ(dxf.substr(0, 5), "  0\r\n");
  EXPECT_EQ(dxf.substr(dxf.size() - 5), "EOF\r\n");
  const test::DxfReadResult read = test::ReadDxfWithRealReader(dir.File("model.dxf"));
  if (!read.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
  ASSERT_TRUE(read.accepted);
  const auto counts = CountTypes(read.entities);
  // Plan: inactive, fixed head, well, two rivers, the barrier and eight section
  // marks; sections: the cut inactive cell of row 1 and column 1 (once each).
  EXPECT_EQ(counts.at("SOLID"), 1 + 1 + 1 + 2 + 1 + 8 + 2);
  EXPECT_GT(counts.at("LINE"), 4 + 8);
}

TEST_F(ModelPlot, SectionOutlinesOnlyForIncludedSections) {
  scene.device.IncludeLowerXsection = false;
  scene.device.IncludeRightXsection = false;
  Plot("plan.dxf");
  const test::DxfReadResult read = test::ReadDxfWithRealReader(dir.File("plan.dxf"));
  if (!read.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
  ASSERT_TRUE(read.accepted);
  // Nothing lies below the plan (world y < 0) or right of it (x > 500).
  for (const auto& e : read.entities)
    for (std::size_t n = 0; n + 1 < e.coordinates.size(); n += 2) {
      EXPECT_GE(e.coordinates[n + 1], -1e-3) << e.type;
      EXPECT_LE(e.coordinates[n], 500 + 1e-3) << e.type;
    }
  EXPECT_EQ(CountTypes(read.entities).at("SOLID"), 1 + 1 + 1 + 2 + 1);
}

// Where the first fill of `layer` in the table colour nearest to `colour` starts.
std::size_t FirstFill(const std::string& dxf, const std::string& layer, Colour colour) {
  return dxf.find("SOLID\r\n  8\r\n" + layer + "\r\n 62\r\n " + std::to_string(NearestColorIndex(colour)));
}

TEST_F(ModelPlot, GroupsFollowInDrawingOrderEachAfterItsColour) {
  scene.layout.sectionsShown = false;
  const std::string dxf = Plot("order.dxf");
  // The grid lines come first, then the fills, each group after its colour.
  const std::size_t inactive = FirstFill(dxf, "CELL_TYPES", scene.settings.inactiveCellColor);
  const std::size_t well = FirstFill(dxf, "PUMPING_WELLS", scene.settings.dischargeWellColor);
  const std::size_t river = FirstFill(dxf, "RIVERS", scene.settings.riverColor);
  ASSERT_NE(inactive, std::string::npos);
  ASSERT_NE(well, std::string::npos);
  ASSERT_NE(river, std::string::npos);
  EXPECT_LT(dxf.find("LINE"), inactive);
  EXPECT_LT(inactive, well);
  EXPECT_LT(well, river);
}

// World coordinates near 1000 in 32-bit floats, rotated: about 1e-6 relative,
// and the reader's repr of the written seven digits.
constexpr float kTolerance = 5e-3f;

// The rotated grid, worked out on its own: the plan x axis runs along the
// angle from the upper-left corner, the plan y axis (downwards) at right angles to it.
WorldPoint OnRotatedGrid(const ModelOrigin& origin, float x, float y) {
  const double c = std::cos(origin.angle), s = std::sin(origin.angle);
  return {static_cast<float>(origin.X0 + x * c + y * s), static_cast<float>(origin.Y0 + x * s - y * c)};
}

void ExpectPoint(const test::ReadEntity& entity, int index, WorldPoint expected) {
  ASSERT_GE(entity.coordinates.size(), static_cast<std::size_t>(2 * index + 2)) << entity.type;
  EXPECT_NEAR(entity.coordinates[2 * index], expected.x, kTolerance) << entity.type << " point " << index;
  EXPECT_NEAR(entity.coordinates[2 * index + 1], expected.y, kTolerance) << entity.type << " point " << index;
}

TEST(DxfPlotOfRotatedModel, CellsAndLinesLandOnTheRotatedGrid) {
  ModelState model = test::UniformModel(3, 2, 1, 100, 50);
  model.origin = {.X0 = 1000, .Y0 = 2000, .isSet = true};
  SetOriginAngle(model.origin, static_cast<float>(M_PI / 6));
  test::TempDir dir;
  test::PlotOf(model, kPlotFormatDxf, dir.File("rotated.dxf"), [](PlotContext& context) {
    SelectPlotPen(context.device, RgbColour(255, 0, 0));
    FillBox(context, 100, 50, 200, 100, RgbColour(255, 0, 0));  // cell (2, 2)
    DrawSegment(context, 0, 0, 300, 100, kBlack, true, true);
    BeginPolyline(context, 0, 0, kBlack, true, true);
    ContinuePolyline(context, 100, 0, kBlack, true, true);
    ContinuePolyline(context, 100, 50, kBlack, true, true);
    PlotCircle(context, 150, 25, 10);
  });

  const test::DxfReadResult read = test::ReadDxfWithRealReader(dir.File("rotated.dxf"));
  if (!read.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
  ASSERT_TRUE(read.accepted);
  ASSERT_EQ(read.entities.size(), 4u);
  const char* types[] = {"SOLID", "LINE", "POLYLINE", "CIRCLE"};
  for (int n = 0; n < 4; ++n) EXPECT_EQ(read.entities[n].type, types[n]) << "entity " << n;
  EXPECT_EQ(read.entities[2].coordinates.size(), 6u);  // the start point and two more
  // Entity, point and where it lies on the plan.
  const struct {
    int entity, point;
    float x, y;
  } points[] = {{0, 0, 100, 50}, {0, 1, 200, 50}, {0, 2, 100, 100}, {0, 3, 200, 100},
                {1, 1, 300, 100}, {2, 0, 0, 0},    {2, 2, 100, 50},  {3, 0, 150, 25}};
  for (const auto& p : points) ExpectPoint(read.entities[p.entity], p.point, OnRotatedGrid(model.origin, p.x, p.y));
}

using test::PlotOf;
using test::TempDir;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Five cells of 1000 in a row: half a plotter unit per model unit, plan y 1000 at plotter y 0.
ModelState WideRow() { return test::UniformModel(5, 1, 1, 1000, 1000); }

std::string PlotterLimitText(float sign) { return TrimmedFloatText(sign * static_cast<float>(kPlotterDeviceLimit)); }

// Two by two cells of 10: plan y 0..20 down from the top, world y up from the bottom.
ModelState TwoByTwo() { return test::UniformModel(2, 2, 1, 10, 10); }

TEST(HpglPlot, WideModelHalvesTheScaleAndSetsTheInputWindow) {
  const std::string hpgl = PlotOf(WideRow(), kPlotFormatHpgl, [](PlotContext& c) {
    EXPECT_FLOAT_EQ(c.device.HpglScale, 0.5f);
    DrawSegment(c, 0, 0, 5000, 1000, kBlack, true, true);
  });
  EXPECT_EQ(hpgl, "IN;VS10.0;SP1;\r\nRO 90;FT 1;IP 0,0, 10000, 2000;\r\nPU0,2000;PD10000,0;PU;SP0;");
}

// HPGL pens light each channel from 127; DXF takes the nearest table entry.
TEST(PenTables, HpglChannelsLightFrom127AndTheNearestDxfEntryWins) {
  EXPECT_EQ(HpglPen(RgbColour(255, 0, 0)), 5);
  EXPECT_EQ(HpglPen(RgbColour(127, 127, 127)), 8);
  EXPECT_EQ(HpglPen(RgbColour(126, 126, 126)), 1);
  EXPECT_EQ(HpglPen(RgbColour(0, 0, 255)), 2);
  EXPECT_EQ(HpglPen(RgbColour(255, 255, 0)), 7);
  EXPECT_EQ(NearestColorIndex(RgbColour(255, 0, 0)), 1);
  EXPECT_EQ(NearestColorIndex(RgbColour(0, 0, 255)), 5);
  EXPECT_EQ(NearestColorIndex(RgbColour(255, 255, 255)), 7);  // the first of the whites
}

TEST(DxfPlot, WithoutPenSelectionNoColourGroupIsWritten) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    DrawSegment(c, 0, 0, 10, 10, kBlack, true, true);
    FillBox(c, 0, 0, 10, 10, kBlack);
  });
  EXPECT_EQ(dxf.find(" 62"), std::string::npos);
  EXPECT_EQ(dxf.rfind("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n", 0), 0u);
  const std::string trailer = "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  EXPECT_EQ(dxf.substr(dxf.size() - trailer.size()), trailer);
}

TEST(DxfPlot, PolylineBrokenByAnotherEntityCarriesOnFromItsLastVertex) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    BeginPolyline(c, 1, 1, kBlack, true, true);
    ContinuePolyline(c, 2, 2, kBlack, true, true);
    DrawSegmentRowSection(c, 0, 95, 1, 95, kBlack, true);
    ContinuePolyline(c, 3, 3, kBlack, true, true);
  });
  const std::size_t line = dxf.find("\r\nLINE\r\n");
  const std::size_t seqend = dxf.find("SEQEND");
  ASSERT_NE(line, std::string::npos);
  EXPECT_LT(seqend, line);
  const std::size_t second = dxf.find("POLYLINE", line);
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(dxf.find("VERTEX\r\n  8\r\n0\r\n 10\r\n 2\r\n 20\r\n 18\r\n", second), std::string::npos);
}

// A model without position: plan y 0..20 down from the top is world y 20..0.
ModelState Unpositioned() {
  ModelState model = TwoByTwo();
  model.origin = ModelOrigin{};
  return model;
}

// What a few primitives write: fragments of the file and how often each occurs.
TEST(PlotFile, HoldsEachPrimitiveInTheCommandsOfItsFormat) {
  const std::string far = NumberText(static_cast<float>(kDxfDeviceLimit));
  const struct {
    const char* what;
    ModelState (*model)();
    const char* format;
    void (*draw)(PlotContext&);
    std::vector<std::pair<std::string, int>> occurrences;
  } cases[] = {
      {"a tall model keeps scale one", [] { return test::UniformModel(1, 72, 1, 1000, 100); }, kPlotFormatHpgl,
       [](PlotContext& c) {
         EXPECT_FLOAT_EQ(c.device.HpglScale, 1.0f);
         FillBox(c, 0, 0, 1000, 100, kBlack);
       },
       {{"IP 0,0, 1000, 7200;\r\n", 1}, {"PU0,7200;RA1000,7100;", 1}}},
      {"the pen selected goes into the HPGL stream", [] { return test::UniformModel(1, 1, 1, 10, 10); },
       kPlotFormatHpgl, [](PlotContext& c) { SelectPlotPen(c.device, RgbColour(255, 0, 0)); },
       {{";\r\nSP5;PU;SP0;", 1}}},
      {"sections never go into HPGL", TwoByTwo, kPlotFormatHpgl,
       [](PlotContext& c) {
         DrawSegmentRowSection(c, 0, 95, 20, 95, kBlack, true);
         FillBoxColumnSection(c, 90, 0, 100, 10, kBlack);
       },
       {{"PD", 0}, {"RA", 0}}},
      // Plan y points down from the grid's top edge; world y up from its bottom.
      {"a line carries layer, colour and world coordinates", TwoByTwo, kPlotFormatDxf,
       [](PlotContext& c) {
         SelectPlotPen(c.device, RgbColour(255, 0, 0));
         DrawSegment(c, 0, 0, 10, 5, kBlack, true, true);
       },
       {{"  0\r\nLINE\r\n  8\r\n0\r\n 62\r\n 1 \r\n 10\r\n 0\r\n 20\r\n 20\r\n 11\r\n 10\r\n 21\r\n 15\r\n", 1}}},
      {"a polyline starts with its start point and ends with SEQEND", TwoByTwo, kPlotFormatDxf,
       [](PlotContext& c) {
         BeginPolyline(c, 1, 1, kBlack, true, true);
         ContinuePolyline(c, 2, 2, kBlack, true, true);
         ContinuePolyline(c, 3, 2, kBlack, true, true);
       },
       {{"  0\r\nPOLYLINE\r\n  8\r\n0\r\n 66\r\n1\r\n  0\r\nVERTEX\r\n  8\r\n0\r\n 10\r\n 1\r\n 20\r\n 19\r\n"
         "  0\r\nVERTEX\r\n  8\r\n0\r\n 10\r\n 2\r\n 20\r\n 18\r\n",
         1},
        {" 20\r\n 18\r\n  0\r\nSEQEND\r\n  8\r\n0\r\n  0\r\nENDSEC\r\n", 1}}},
      {"the box of a model without position keeps its place", Unpositioned, kPlotFormatDxf,
       [](PlotContext& c) { FillBox(c, 0, 0, 10, 5, kBlack); },
       {{" 10\r\n 0\r\n 20\r\n 20\r\n 30\r\n0\r\n 11\r\n 10\r\n 21\r\n 20\r\n 31\r\n0\r\n"
         " 12\r\n 0\r\n 22\r\n 15\r\n 32\r\n0\r\n 13\r\n 10\r\n 23\r\n 15\r\n 33\r\n0\r\n",
         1}}},
      // Far coordinates: cut at the device's range where the pen is lifted, or left out.
      {"an HPGL line to a far point", WideRow, kPlotFormatHpgl,
       [](PlotContext& c) { DrawSegment(c, 0, 1000, 1e10f, 1000, kBlack, true, true); },
       {{"PU0,0;PD" + PlotterLimitText(1) + ",0;", 1}}},
      {"an HPGL line from a far point", WideRow, kPlotFormatHpgl,
       [](PlotContext& c) { DrawSegment(c, -1e10f, 1000, 5000, 1000, kBlack, true, true); },
       {{";\r\nPU" + PlotterLimitText(-1) + ",0;PD10000,0;PU;SP0;", 1}}},
      {"HPGL elements without numbers or wholly far out", WideRow, kPlotFormatHpgl,
       [](PlotContext& c) {
         DrawSegment(c, kNaN, 0, 10, 10, kBlack, true, true);
         DrawSegment(c, 1e10f, 0, 2e10f, 10, kBlack, true, true);
         FillBox(c, 0, kNaN, 10, 10, kBlack);
       },
       {{"PD", 0}, {"RA", 0}}},
      {"DXF lines without numbers and far ones", TwoByTwo, kPlotFormatDxf,
       [](PlotContext& c) {
         DrawSegment(c, 0, 0, kNaN, 10, kBlack, true, true);
         DrawSegment(c, 0, 20, 1e30f, 20, kBlack, true, true);  // along world y 0
       },
       {{"LINE", 1}, {" 11\r\n" + far + "\r\n 21\r\n 0\r\n", 1}}},
      {"a far vertex breaks the DXF polyline", TwoByTwo, kPlotFormatDxf,
       [](PlotContext& c) {
         BeginPolyline(c, 1, 1, kBlack, true, true);
         ContinuePolyline(c, 1e30f, 2, kBlack, true, true);
         ContinuePolyline(c, 3, 3, kBlack, true, true);
       },
       {{"POLYLINE", 2}, {"VERTEX", 2}, {"SEQEND", 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = PlotOf(c.model(), c.format, c.draw);
    for (const auto& [fragment, count] : c.occurrences)
      EXPECT_EQ(test::Occurrences(text, fragment), count) << fragment << " in\n" << text;
  }
}

TEST(PlotFile, BitmapFormatOpensNoFileAndAnUnwritableFolderFailsToOpen) {
  TempDir dir;
  PlotDevice device{.PlotFormat = kPlotFormatBitmap, .PlotFileName = dir.File("a.bmp"), .PlotToFile = true};
  EXPECT_TRUE(OpenPlotFile(device, ZoomWindow{}));
  EXPECT_TRUE(ClosePlotFile(device));
  EXPECT_FALSE(std::filesystem::exists(device.PlotFileName));
  PlotDevice unwritable{.PlotFileName = "/nonexistent-folder/a.dxf", .PlotToFile = true};
  EXPECT_FALSE(OpenPlotFile(unwritable, ZoomWindow{}));
}

}  // namespace
}  // namespace kestra
