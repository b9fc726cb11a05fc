// A DXF plot of a turned model, read back as its own base map, lies on the
// model's grid pixel for pixel.
#include <gtest/gtest.h>

#include <cmath>

#include "export/dxf_maps.h"
#include "graphics/plan_view.h"
#include "graphics/small_models.h"
#include "render/raster_picture.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

constexpr Colour kGridColour = RgbColour(0, 0, 0);

struct RotatedScene {
  ModelState model = test::UniformModel(7, 5, 1, 37, 23);  // 259 x 115
  ViewLayout layout = test::WholeGridLayout(model);
  RasterPicture plan, row, column;
  PlotDevice device;
  Settings settings;
  SilentInterface ui;
  PackageLayerReader reader = [](int, int, int, LayerValues&) { return false; };
  PlotContext context{plan, row, column, device, model, layout};

  RotatedScene() {
    model.origin.X0 = 5000;
    model.origin.Y0 = 7000;
    model.origin.isSet = true;
    SetOriginAngle(model.origin, static_cast<float>(std::acos(-1.0) / 6));  // 30 degrees
    layout.PixelSize = 0.5f;
    plan.SetGeometry(518, 230, {0, 0, 259, 115});
    settings.meshColor = kGridColour;
  }
};

// The pixels that are not white.
std::vector<QPoint> Drawn(const QImage& image) {
  std::vector<QPoint> drawn;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) drawn.push_back({x, y});
  return drawn;
}

bool NearAny(const QImage& image, QPoint p) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const QPoint q = p + QPoint(dx, dy);
      if (image.valid(q) && image.pixel(q) != qRgb(255, 255, 255)) return true;
    }
  return false;
}

TEST(MapOverlayRaster, PlotOfATurnedModelReadBackLiesOnTheGrid) {
  test::TempDir dir;
  const std::string path = dir.File("plot.dxf");
  RotatedScene drawn;
  drawn.device.PlotFileName = path;
  drawn.device.PlotToFile = true;
  ASSERT_TRUE(OpenPlotFile(drawn.device, drawn.layout.zoom));
  DrawInputs inputs{drawn.settings, drawn.reader, drawn.ui};
  inputs.gridPlotSwitch = true;
  DrawGridLines(drawn.context, inputs, 1);
  ASSERT_TRUE(ClosePlotFile(drawn.device));
  drawn.plan.Refresh();

  RotatedScene read;
  read.settings.dxfMaps[1] = {path, 0, 0, 1, kOn, kGridColour};
  StrokeFont font;
  DxfMapCache cache;
  DrawDxfMaps(read.context, MapInputs{read.settings, read.ui, font, cache});
  read.plan.Refresh();

  const QImage& grid = drawn.plan.Image();
  const QImage& map = read.plan.Image();
  const std::vector<QPoint> gridPixels = Drawn(grid);
  const std::vector<QPoint> mapPixels = Drawn(map);
  ASSERT_GT(gridPixels.size(), 1000u);
  int same = 0;
  for (const QPoint& p : gridPixels) {
    same += map.pixel(p) == grid.pixel(p);
    EXPECT_TRUE(NearAny(map, p)) << p.x() << "," << p.y();
  }
  for (const QPoint& p : mapPixels) EXPECT_TRUE(NearAny(grid, p)) << p.x() << "," << p.y();
  // Rounding of the plot's seven digits may move a pixel at most, and seldom.
  EXPECT_GE(same, static_cast<int>(gridPixels.size() * 99 / 100));
  EXPECT_NEAR(static_cast<double>(mapPixels.size()), static_cast<double>(gridPixels.size()),
              gridPixels.size() / 100.0);
}

TEST(MapOverlayRaster, MapWithAShiftLiesElsewhere) {
  test::TempDir dir;
  const std::string path = dir.File("plot.dxf");
  RotatedScene drawn;
  drawn.device.PlotFileName = path;
  drawn.device.PlotToFile = true;
  ASSERT_TRUE(OpenPlotFile(drawn.device, drawn.layout.zoom));
  DrawInputs inputs{drawn.settings, drawn.reader, drawn.ui};
  inputs.gridPlotSwitch = true;
  DrawGridLines(drawn.context, inputs, 1);
  ASSERT_TRUE(ClosePlotFile(drawn.device));
  drawn.plan.Refresh();

  RotatedScene read;
  read.settings.dxfMaps[1] = {path, 5.3f, 0, 1, kOn, kGridColour};
  StrokeFont font;
  DxfMapCache cache;
  DrawDxfMaps(read.context, MapInputs{read.settings, read.ui, font, cache});
  read.plan.Refresh();
  int same = 0;
  const std::vector<QPoint> gridPixels = Drawn(drawn.plan.Image());
  for (const QPoint& p : gridPixels) same += read.plan.Image().pixel(p) == drawn.plan.Image().pixel(p);
  EXPECT_LT(same, static_cast<int>(gridPixels.size() / 2));
}

}  // namespace
}  // namespace kestra
