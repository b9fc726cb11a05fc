// Plots read back by a real DXF reader: whole models through DrawModel, and
// positioned and rotated models.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "dxf_reader_check.h"
#include "graphics/plan_view.h"
#include "plot_file.h"
#include "support/temp_dir.h"
#include "view_scene.h"

namespace kestra {
namespace {

using test::ViewScene;

// Five columns and four rows of 100, two layers; an inactive corner, a
// fixed-head cell, a pumping well, a river and a barrier.
void Furnish(ViewScene& scene) {
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

std::string PlotModel(ViewScene& scene, const std::string& path) {
  scene.device.PlotFileName = path;
  scene.device.PlotToFile = true;
  EXPECT_TRUE(OpenPlotFile(scene.device, scene.layout.zoom));
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_TRUE(ClosePlotFile(scene.device));
  return test::ReadWholeFile(path);
}

std::map<std::string, int> CountTypes(const std::vector<test::ReadEntity>& entities) {
  std::map<std::string, int> counts;
  for (const auto& e : entities) ++counts[e.type];
  return counts;
}

TEST(ModelPlot, DxfOfTheWholeModelOpensInARealReader) {
  ViewScene scene(test::UniformModel(5, 4, 2, 100, 100));
  Furnish(scene);
  test::TempDir dir;
  const std::string dxf = PlotModel(scene, dir.File("model.dxf"));
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

TEST(ModelPlot, SectionOutlinesOnlyForIncludedSections) {
  ViewScene scene(test::UniformModel(5, 4, 2, 100, 100));
  Furnish(scene);
  scene.device.IncludeLowerXsection = false;
  scene.device.IncludeRightXsection = false;
  test::TempDir dir;
  PlotModel(scene, dir.File("plan.dxf"));
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

TEST(ModelPlot, GroupsFollowInDrawingOrderEachAfterItsColour) {
  ViewScene scene(test::UniformModel(5, 4, 2, 100, 100));
  Furnish(scene);
  scene.layout.sectionsShown = false;
  test::TempDir dir;
  const std::string dxf = PlotModel(scene, dir.File("order.dxf"));
  // The grid lines come first, then the fills, each group after its colour.
  const std::size_t inactive =
      dxf.find("SOLID\r\n  8\r\nCELL_TYPES\r\n 62\r\n " + std::to_string(NearestColorIndex(scene.settings.inactiveCellColor)));
  const std::size_t well =
      dxf.find("SOLID\r\n  8\r\nPUMPING_WELLS\r\n 62\r\n " + std::to_string(NearestColorIndex(scene.settings.dischargeWellColor)));
  const std::size_t river =
      dxf.find("SOLID\r\n  8\r\nRIVERS\r\n 62\r\n " + std::to_string(NearestColorIndex(scene.settings.riverColor)));
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
  model.origin.X0 = 1000;
  model.origin.Y0 = 2000;
  model.origin.isSet = true;
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
  const ModelOrigin& o = model.origin;
  EXPECT_EQ(read.entities[0].type, "SOLID");
  ExpectPoint(read.entities[0], 0, OnRotatedGrid(o, 100, 50));
  ExpectPoint(read.entities[0], 1, OnRotatedGrid(o, 200, 50));
  ExpectPoint(read.entities[0], 2, OnRotatedGrid(o, 100, 100));
  ExpectPoint(read.entities[0], 3, OnRotatedGrid(o, 200, 100));
  EXPECT_EQ(read.entities[1].type, "LINE");
  ExpectPoint(read.entities[1], 1, OnRotatedGrid(o, 300, 100));
  EXPECT_EQ(read.entities[2].type, "POLYLINE");
  ASSERT_EQ(read.entities[2].coordinates.size(), 6u);  // the start point and two more
  ExpectPoint(read.entities[2], 0, OnRotatedGrid(o, 0, 0));
  ExpectPoint(read.entities[2], 2, OnRotatedGrid(o, 100, 50));
  EXPECT_EQ(read.entities[3].type, "CIRCLE");
  ExpectPoint(read.entities[3], 0, OnRotatedGrid(o, 150, 25));
}

TEST(DxfPlotOfModelWithoutPosition, BoxesKeepTheirPlace) {
  ModelState model = test::UniformModel(2, 2, 1, 10, 10);
  model.origin = ModelOrigin{};
  test::TempDir dir;
  const std::string dxf = test::PlotOf(model, kPlotFormatDxf, dir.File("plain.dxf"),
                                       [](PlotContext& context) { FillBox(context, 0, 0, 10, 5, kBlack); });
  EXPECT_NE(dxf.find(" 10\r\n 0\r\n 20\r\n 20\r\n 30\r\n0\r\n 11\r\n 10\r\n 21\r\n 20\r\n 31\r\n0\r\n"
                     " 12\r\n 0\r\n 22\r\n 15\r\n 32\r\n0\r\n 13\r\n 10\r\n 23\r\n 15\r\n 33\r\n0\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace kestra
