// The plan and sections of a small model drawn to raster pictures, and the
// three put together into one image: what the window and a batch render show.
#include <cmath>
#include <gtest/gtest.h>

#include "export/dxf_maps.h"
#include "graphics/plan_view.h"
#include "graphics/small_models.h"
#include "graphics/view_arrangement.h"
#include "modelset/model_file_set.h"
#include "pixels.h"
#include "render/view_image.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

using test::ExpectPixels;
using test::kBlackPixel;
using test::kRedPixel;
using test::kWhitePixel;

QRgb Rgb(Colour c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

struct RasterScene {
  ModelState model = test::UniformModel(4, 3, 2, 100, 100);  // 400 x 300, elevations 80..100
  ViewLayout layout = test::WholeGridLayout(model);
  RasterPicture plan, row, column;
  PlotDevice device;
  Settings settings;
  SilentInterface ui;
  PackageLayerReader reader = [](int dataType, int layer, int, LayerValues& values) {
    values = {4, 3, std::vector<float>(12, 0)};
    if (dataType == data_type::kWells && layer == 1) values.values[1 * 4 + 2] = -100;  // column 3, row 2
    if (dataType == data_type::kRivers) values.values[2 * 4 + 0] = 1;                  // column 1, row 3
    return dataType == data_type::kWells || dataType == data_type::kRivers;
  };
  PlotContext context{plan, row, column, device, model, layout};

  RasterScene() {
    model.IBOUND(4, 1, 1) = 0;
    model.IBOUND(1, 1, 1) = -1;
    model.DataFlags(3, 2) = model.DataFlags(3, 4) = 2;
    model.family = std::make_shared<ModelFileSetFamily>(model.ModelPath, model.Shape());
    for (int i = 1; i <= 3; ++i)
      for (int j = 1; j <= 4; ++j) model.HEAD(j, i, 1) = model.HEAD(j, i, 2) = 95;
    settings.showWaterTable = kOn;
    settings.sectionRow = 2;
    settings.sectionColumn = 3;
    settings.exaggeration = 5;  // sections 100 units deep
    SetModelElevationRange(layout, model);
    ArrangeViews(layout, plan, row, column, settings, 503, 403);  // one unit a pixel
    DrawInputs inputs{settings, reader, ui};
    inputs.headsLoaded = true;
    DrawModel(context, inputs, 1);
  }
};

TEST(ModelRaster, PlanShowsCellTypesPackagesGridAndInvertedSectionMarks) {
  RasterScene scene;
  const Settings& s = scene.settings;
  ASSERT_EQ(scene.plan.Image().size(), QSize(400, 300));
  ExpectPixels(scene.plan.Image(), {{350, 50, Rgb(s.inactiveCellColor)},
                                    {50, 50, Rgb(s.fixedHeadCellColor)},
                                    {250, 150, Rgb(s.dischargeWellColor)},
                                    {50, 250, Rgb(s.riverColor)},
                                    {150, 250, kWhitePixel},
                                    {100, 250, Rgb(s.meshColor)}});  // the line x = 100
  // The column section's outline along x = 300, two pixels wide: white cells
  // turn black, the grid line turns dark.
  ExpectPixels(scene.plan.Image(), {{299, 250, kBlackPixel}, {300, 250, qRgb(63, 63, 63)}, {302, 250, kWhitePixel}});
}

TEST(ModelRaster, SectionsShowCellsWellAndWaterTable) {
  RasterScene scene;
  ASSERT_EQ(scene.row.Image().size(), QSize(400, 100));
  // Row 2: the well in column 3, layer 1 (elevation 90..100: the top 50 pixels);
  // the water table at elevation 95, 25 pixels below the top, between cell centres.
  ExpectPixels(scene.row.Image(), {{250, 25, Rgb(scene.settings.dischargeWellColor)},
                                   {120, 25, Rgb(scene.settings.waterTableColor)}});
  ASSERT_EQ(scene.column.Image().width(), 100);
  // Column 3: the well in row 2, layer 1 next to the plan (elevation falls to the right).
  ExpectPixels(scene.column.Image(), {{25, 150, Rgb(scene.settings.dischargeWellColor)}, {75, 150, kWhitePixel}});
}

TEST(ComposeViews, SectionsSitBelowAndRightOfThePlanOrThePlanIsAlone) {
  RasterPicture plan, row, column;
  ViewLayout layout;
  ViewPlacement placement{40, 30, 10, 33, 43};
  plan.SetGeometry(40, 30, {0, 0, 40, 30});
  row.SetGeometry(40, 10, {0, 10, 40, 0});
  column.SetGeometry(10, 30, {10, 0, 0, 30});
  plan.FillBox({0, 0, 40, 30}, RgbColour(255, 0, 0));
  row.FillBox({0, 0, 40, 10}, RgbColour(0, 255, 0));
  column.FillBox({0, 0, 10, 30}, RgbColour(0, 0, 255));
  for (RasterPicture* p : {&plan, &row, &column}) p->Refresh();
  const QImage image = ComposeViews(plan, row, column, layout, placement);
  ASSERT_EQ(image.size(), QSize(53, 43));
  ExpectPixels(image, {{39, 29, kRedPixel},
                       {39, 31, kWhitePixel},  // the gap
                       {5, 35, qRgb(0, 255, 0)},
                       {45, 5, qRgb(0, 0, 255)},
                       {45, 35, kWhitePixel}});
  layout.sectionsShown = false;
  EXPECT_EQ(ComposeViews(plan, row, column, layout, ViewPlacement{40, 30}).size(), QSize(40, 30));
  layout.planShown = false;
  EXPECT_TRUE(ComposeViews(plan, row, column, layout, ViewPlacement{40, 30}).isNull());
}

// A DXF plot of a turned model, read back as its own base map, lies on the
// model's grid pixel for pixel.
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
      if (image.pixel(x, y) != kWhitePixel) drawn.push_back({x, y});
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
