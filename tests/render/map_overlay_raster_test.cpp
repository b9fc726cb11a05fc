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
    // Grid lines fall a quarter pixel inside a pixel, not on a pixel border
    // where the plot's seven digits could tip them either way.
    plan.SetGeometry(519, 231, {-0.125f, -0.125f, 259.375f, 115.375f});
    settings.meshColor = kGridColour;
  }
};

// Draws the grid lines of the scene and writes them into a DXF plot at `path`.
bool PlotGridLines(RotatedScene& scene, const std::string& path) {
  scene.device.PlotFileName = path;
  scene.device.PlotToFile = true;
  if (!OpenPlotFile(scene.device, scene.layout.zoom)) return false;
  DrawInputs inputs{scene.settings, scene.reader, scene.ui};
  inputs.gridPlotSwitch = true;
  DrawGridLines(scene.context, inputs, 1);
  scene.plan.Refresh();
  return ClosePlotFile(scene.device);
}

// The base map of map entry 1 drawn on the scene's plan.
void DrawMap(RotatedScene& scene, const DxfMapEntry& entry) {
  scene.settings.dxfMaps[1] = entry;
  StrokeFont font;
  DxfMapCache cache;
  DrawDxfMaps(scene.context, MapInputs{scene.settings, scene.ui, font, cache});
  scene.plan.Refresh();
}

// The pixels that are not white.
std::vector<QPoint> Drawn(const QImage& image) {
  std::vector<QPoint> drawn;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) drawn.push_back({x, y});
  return drawn;
}

TEST(MapOverlayRaster, PlotOfATurnedModelReadBackLiesOnTheGrid) {
  test::TempDir dir;
  const std::string path = dir.File("plot.dxf");
  RotatedScene drawn;
  ASSERT_TRUE(PlotGridLines(drawn, path));

  RotatedScene read;
  DrawMap(read, {path, 0, 0, 1, kOn, kGridColour});

  // Every pixel of the grid, and no other, is set by the map.
  const std::vector<QPoint> gridPixels = Drawn(drawn.plan.Image());
  ASSERT_GT(gridPixels.size(), 1000u);
  EXPECT_EQ(Drawn(read.plan.Image()), gridPixels);
}

}  // namespace
}  // namespace kestra
