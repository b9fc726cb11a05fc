// Whole-model plots through DrawModel, read back by a real DXF reader.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "dxf_reader_check.h"
#include "graphics/plan_view.h"
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

TEST(ModelPlot, RotatedModelPlotLandsOnTheRotatedGrid) {
  ViewScene scene(test::UniformModel(5, 4, 1, 100, 100));
  Furnish(scene);
  scene.layout.sectionsShown = false;
  scene.model.origin.X0 = 5000;
  scene.model.origin.Y0 = 3000;
  SetOriginAngle(scene.model.origin, static_cast<float>(M_PI / 6));
  test::TempDir dir;
  PlotModel(scene, dir.File("rotated.dxf"));
  const test::DxfReadResult read = test::ReadDxfWithRealReader(dir.File("rotated.dxf"));
  if (!read.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
  ASSERT_TRUE(read.accepted);
  // Every point read back, turned back into the plan, lies on a grid line (or
  // within a barrier strip or section mark of one pixel of it).
  const ModelOrigin& o = scene.model.origin;
  const double c = std::cos(o.angle), s = std::sin(o.angle);
  constexpr double kTolerance = 1e-2;  // world coordinates near 5000 in 32-bit floats
  for (const auto& e : read.entities)
    for (std::size_t n = 0; n + 1 < e.coordinates.size(); n += 2) {
      const double dx = e.coordinates[n] - o.X0, dy = e.coordinates[n + 1] - o.Y0;
      const double x = dx * c + dy * s, y = dx * s - dy * c;
      const double offX = std::fabs(x - 100 * std::round(x / 100));
      const double offY = std::fabs(y - 100 * std::round(y / 100));
      // Barrier strips are 2 pixels wide, section marks 1 pixel either side.
      EXPECT_TRUE(offX <= 2 + kTolerance || offY <= 1 + kTolerance) << e.type << " at plan " << x << ", " << y;
      EXPECT_GE(x, -1 - kTolerance);
      EXPECT_LE(y, 401 + kTolerance);
    }
}

}  // namespace
}  // namespace kestra
