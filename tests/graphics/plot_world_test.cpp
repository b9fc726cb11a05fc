// Plots of positioned and rotated models, read back by a real DXF reader.
#include <gtest/gtest.h>

#include <cmath>

#include "dxf_reader_check.h"
#include "plot_file.h"

namespace kestra {
namespace {

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
