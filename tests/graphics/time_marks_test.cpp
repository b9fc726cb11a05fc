#include "graphics/time_marks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/temp_dir.h"
#include "view_scene.h"

namespace kestra {
namespace {

using test::ViewScene;

constexpr float kTolerance = 1e-4f;  // 32-bit arithmetic on values near 50

TEST(DrawArrowMark, HeadPointsDownstreamBothWays) {
  for (int direction : {1, -1}) {
    ViewScene scene(test::UniformModel(10, 10, 1, 10, 10));
    scene.layout.PixelSize = 0.5f;
    DrawArrowMark(scene.context, 40, 50, 50, 50, 95, kBlack, direction, 10, false);
    const auto lines = scene.plan.Of("line");
    ASSERT_EQ(lines.size(), 2u);
    // Mark size 10 pixels of 0.5: the barbs start 5 behind the new point (ahead of
    // it backwards), 2.5 to either side, and end at the new point.
    for (const auto& line : lines) {
      EXPECT_NEAR(line.values[0], 50 - direction * 5.0f, kTolerance);
      EXPECT_NEAR(std::fabs(line.values[1] - 50), 2.5f, kTolerance);
      EXPECT_FLOAT_EQ(line.values[2], 50);
      EXPECT_FLOAT_EQ(line.values[3], 50);
    }
  }
}

TEST(DrawArrowMark, NothingOutsideTheViewOrWithoutMovement) {
  ViewScene scene(test::UniformModel(10, 10, 1, 10, 10));
  DrawArrowMark(scene.context, 40, 50, 150, 50, 95, kBlack, 1, 10, false);
  DrawArrowMark(scene.context, 40, 50, 50, 50, 105, kBlack, 1, 10, false);
  DrawArrowMark(scene.context, 50, 50, 50, 50, 95, kBlack, 1, 10, false);
  EXPECT_TRUE(scene.plan.elements.empty());
}

TEST(DrawSectionMark, CirclesOnBothSectionsAndInTheIncludedPlotSections) {
  ViewScene scene(test::UniformModel(10, 10, 1, 10, 10));
  scene.layout.PixelSize = 2;
  scene.layout.Exaggeration = 4;
  test::TempDir dir;
  scene.device.PlotFileName = dir.File("marks.dxf");
  scene.device.PlotToFile = true;
  scene.device.IncludeRightXsection = false;
  ASSERT_TRUE(OpenPlotFile(scene.device, scene.layout.zoom));
  DrawSectionMark(scene.context, 30, 40, 95, kBlack, 3);
  ASSERT_TRUE(ClosePlotFile(scene.device));
  ASSERT_EQ(scene.row.Of("circle").size(), 1u);
  EXPECT_EQ(scene.row.Of("circle")[0].values, (std::vector<float>{30, 95, 6}));
  EXPECT_EQ(scene.column.Of("circle")[0].values, (std::vector<float>{95, 40, 1.5f}));
  const std::string dxf = test::ReadWholeFile(scene.device.PlotFileName);
  // One circle, of the row section: 5 pixels below the plan's bottom (y 100),
  // 5 elevation units below the top at exaggeration 4: plan y 130, world y -30.
  EXPECT_NE(dxf.find("CIRCLE\r\n  8\r\n0\r\n 10\r\n 30\r\n 20\r\n-30\r\n 40\r\n 6\r\n"), std::string::npos) << dxf;
  EXPECT_EQ(dxf.find("CIRCLE"), dxf.rfind("CIRCLE"));
}

}  // namespace
}  // namespace kestra
