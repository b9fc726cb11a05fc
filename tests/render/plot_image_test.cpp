// Raster pictures, also of points and lines far beyond them; the plan and
// sections of a small model drawn to them and the three put together into one
// image, as the window and a batch render show them; and the picture plots
// written from them in every format, an old file kept when the new one cannot
// be written.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <utility>

#include "export/dxf_maps.h"
#include "graphics/hershey_import.h"
#include "graphics/plan_view.h"
#include "graphics/small_models.h"
#include "graphics/stroke_text.h"
#include "graphics/view_arrangement.h"
#include "modelset/model_file_set.h"
#include "render/plot_image.h"
#include "render/raster_picture.h"
#include "render/view_image.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

struct Pixel {
  int x, y;
  QRgb rgb;
};

// Whether the image has the colours at the pixels.
void ExpectPixels(const QImage& image, std::initializer_list<Pixel> pixels) {
  for (const Pixel& p : pixels) EXPECT_EQ(image.pixel(p.x, p.y), p.rgb) << "pixel " << p.x << ", " << p.y;
}

// The same once the picture's drawing is shown.
void ExpectPixels(RasterPicture& picture, std::initializer_list<Pixel> pixels) {
  picture.Refresh();
  ExpectPixels(picture.Image(), pixels);
}

// The pixels whose colour `wanted` picks, row by row.
template <typename Wanted>
std::vector<QPoint> PixelsWhere(const QImage& image, Wanted wanted) {
  std::vector<QPoint> found;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (wanted(image.pixel(x, y))) found.push_back({x, y});
  return found;
}

// The pixels that are not white.
std::vector<QPoint> Drawn(const QImage& image) {
  return PixelsWhere(image, [](QRgb rgb) { return rgb != kWhitePixel; });
}

// How many pixels of the picture are not white, once its drawing is shown.
int PaintedPixels(RasterPicture& picture) {
  picture.Refresh();
  return static_cast<int>(Drawn(picture.Image()).size());
}

QImage Picture() {
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int x = 0; x < 40; ++x) image.setPixel(x, 10, kRedPixel);
  return image;
}

TEST(PlotImage, RasterFormatsKeepEveryPixel) {
  test::TempDir dir;
  std::string error;
  for (const auto& [name, format] :
       {std::pair{"p.png", PlotImageFormat::Png}, std::pair{"p.bmp", PlotImageFormat::Bmp}}) {
    const std::string path = dir.File(name);
    ASSERT_TRUE(SavePlotImage(Picture(), path, format, error)) << error;
    EXPECT_EQ(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32), Picture());
  }
}

TEST(PlotImage, FailedWriteKeepsTheOldFile) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(SavePlotImage(Picture(), dir.File("none/p.png"), PlotImageFormat::Png, error));
  EXPECT_FALSE(error.empty());
  const std::string path = dir.File("old.png");
  test::WriteWholeFile(path, "old");
  EXPECT_FALSE(SavePlotImage(QImage(), path, PlotImageFormat::Png, error));
  EXPECT_EQ(test::ReadWholeFile(path), "old");
}

constexpr Colour kRed = RgbColour(255, 0, 0);

// A picture of the size in pixels showing the user corners.
RasterPicture Showing(int width, int height, const UserCorners& corners) {
  RasterPicture picture;
  picture.SetGeometry(width, height, corners);
  return picture;
}

// A 100 x 50 pixel picture showing user x 0..200 and y 0..100 (2 units per pixel).
RasterPicture TwoUnitsPerPixel() { return Showing(100, 50, {0, 0, 200, 100}); }

TEST(RasterPicture, FilledBoxCoversItsPixelsOnly) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.FillBox({20, 10, 40, 30}, kRed);  // pixels 10..19 by 5..14
  ExpectPixels(picture, {{10, 5, kRedPixel}, {19, 14, kRedPixel}, {20, 14, kWhitePixel}, {19, 15, kWhitePixel}});
}

TEST(RasterPicture, NeighbouringBoxesLeaveNoGap) {
  RasterPicture picture = Showing(10, 10, {0, 0, 3, 3});  // cells of 3.33 pixels
  picture.FillBoxes({{0, 0, 1, 3}, {1, 0, 2, 3}, {2, 0, 3, 3}}, kRed);
  picture.Refresh();
  for (int x = 0; x < 10; ++x) EXPECT_EQ(picture.Image().pixel(x, 5), kRedPixel) << x;
}

TEST(RasterPicture, FrameLinesOnTheFarEdgesStayOnThePicture) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.DrawLine(200, 0, 200, 100, kRed);  // the right side of a frame
  picture.DrawLine(0, 100, 200, 100, kRed);  // its lower side
  ExpectPixels(picture, {{99, 25, kRedPixel}, {50, 49, kRedPixel}, {98, 25, kWhitePixel}});
}

TEST(RasterPicture, SurfaceDrawingIsGoneAfterRefresh) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.FillBox({0, 0, 200, 100}, kRed);
  picture.Refresh();
  picture.SetPersistent(false);
  picture.DrawLine(0, 50, 200, 50, kBlack);
  ExpectPixels(picture.Image(), {{50, 25, kBlackPixel}});
  ExpectPixels(picture, {{50, 25, kRedPixel}});
}

TEST(RasterPicture, InvertingTwiceRestoresThePicture) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.FillBox({0, 0, 100, 100}, RgbColour(10, 200, 30));
  picture.SetDrawMode(DrawMode::Invert);
  picture.FillBox({50, 0, 150, 100}, kBlack);
  ExpectPixels(picture, {{30, 10, qRgb(245, 55, 225)}, {60, 10, kBlackPixel}});
  picture.FillBox({50, 0, 150, 100}, kBlack);
  ExpectPixels(picture, {{30, 10, qRgb(10, 200, 30)}, {60, 10, kWhitePixel}});
}

TEST(RasterPicture, BackwardAxisPutsTheLeftUserValueOnTheLeft) {
  RasterPicture picture = Showing(100, 10, {50, 0, 10, 10});  // elevation falls to the right
  picture.DrawPoint(50, 5, kRed);
  picture.DrawPoint(10.2f, 5, kBlack);
  ExpectPixels(picture, {{0, 5, kRedPixel}, {99, 5, kBlackPixel}});
}

TEST(RasterPicture, CircleRadiusFollowsTheHorizontalScale) {
  RasterPicture picture = Showing(100, 100, {0, 0, 100, 10});  // ten times exaggerated vertically
  picture.DrawCircle(50, 5, 20, kBlack);
  // Round on the screen: as far above the centre as beside it.
  ExpectPixels(picture, {{70, 50, kBlackPixel}, {50, 30, kBlackPixel}, {50, 50, kWhitePixel}});
}

TEST(RasterPictureHighDpi, TwiceThePixelsAtRatioTwoWithLayoutPixelsOutside) {
  RasterPicture picture;
  picture.SetDevicePixelRatio(2);
  picture.SetGeometry(100, 50, {0, 0, 200, 100});
  EXPECT_EQ(picture.Image().size(), QSize(200, 100));
  // The widget speaks layout pixels: 2 user units each.
  EXPECT_EQ(picture.ToPixels(40, 20), QPointF(20, 10));
  EXPECT_EQ(picture.ToUser(QPointF(20, 10)), QPointF(40, 20));
  // A box of 10 x 10 layout pixels covers 20 x 20 image pixels.
  picture.FillBox({20, 10, 40, 30}, kRed);
  ExpectPixels(picture, {{20, 10, kRedPixel}, {39, 29, kRedPixel}, {40, 29, kWhitePixel}});
}

std::size_t GreyPixels(const QImage& image) {
  return PixelsWhere(image, [](QRgb rgb) { return qRed(rgb) > 0 && qRed(rgb) < 255; }).size();
}

TEST(RasterPictureSmoothing, SmoothsSlantedLinesButNotAxisLinesOrInvertedOnes) {
  RasterPicture picture = Showing(100, 100, {0, 0, 100, 100});
  picture.SetPersistent(false);
  picture.DrawLine(10, 10, 90, 40, 0);
  EXPECT_EQ(GreyPixels(picture.Image()), 0u);  // not asked for: hard pixels, as plots need

  picture.Clear();
  picture.SetAntialiased(true);
  picture.DrawLine(10, 10, 90, 40, 0);
  EXPECT_GT(GreyPixels(picture.Image()), 20u);
  picture.Clear();
  picture.DrawLine(10.3f, 10, 10.3f, 90, 0);  // a grid line stays one sharp pixel wide
  picture.DrawLine(20, 50.6f, 90, 50.6f, 0);
  ExpectPixels(picture.Image(), {{10, 30, kBlackPixel}, {9, 30, kWhitePixel}, {11, 30, kWhitePixel},
                                 {60, 50, kBlackPixel}, {60, 49, kWhitePixel}, {60, 51, kWhitePixel}});

  // Inverting twice restores every pixel, smoothing asked for or not.
  picture.Clear();
  const QImage blank = picture.Image();
  picture.SetDrawMode(DrawMode::Invert);
  picture.DrawLine(10, 10, 90, 40, 0);
  picture.DrawLine(10, 10, 90, 40, 0);
  EXPECT_EQ(picture.Image(), blank);
}

// Points, lines and texts far beyond the picture (a base map in other units,
// a huge map factor): nothing of them may appear on the page but the part of
// a line that really crosses it.
constexpr float kFar = 5e10f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(FarCoordinatesRaster, PointsLinesBoxesAndArcsBeyondThePictureOrNotNumbersDrawNothing) {
  RasterPicture picture = TwoUnitsPerPixel();
  const float points[][2] = {{kFar, 10}, {10, -kFar}, {kNaN, 10}, {1e38f, 1e38f}};
  for (const auto& p : points) picture.DrawPoint(p[0], p[1], kRed);
  picture.DrawLine(kFar, kFar, 2 * kFar, kFar, kRed);
  picture.DrawLine(kNaN, 0, 100, 50, kRed);
  picture.FillBox({kFar, kFar, 2 * kFar, 2 * kFar}, kRed);
  picture.FillBox({kNaN, 0, 100, 50}, kRed);
  picture.DrawCircle(kFar, 0, 10, kRed);
  picture.FillPolygon({{0, 0}, {kFar, 0}, {0, 100}}, kRed);
  EXPECT_EQ(PaintedPixels(picture), 0);
  picture.FillBox({-kFar, -kFar, kFar, kFar}, kRed);  // covering the picture: fills all of it
  EXPECT_EQ(PaintedPixels(picture), 100 * 50);
}

TEST(FarCoordinatesRaster, LineToAFarPointKeepsItsDirectionAndArcOfHugeAnglesIsDrawn) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.DrawLine(0, 0, 2e10f, 1e10f, kRed);  // slope one half, in pixels too
  ExpectPixels(picture, {{40, 20, kRedPixel}, {40, 40, kWhitePixel}});
  picture.Clear();
  picture.DrawArc(100, 50, 10, 1e30f, -1e30f, kRed);
  EXPECT_GT(PaintedPixels(picture), 0);
}

TEST(FarCoordinatesRaster, TextFarOutDrawsNothing) {
  std::string hershey;
  for (int g = 0; g < 95; ++g) hershey += g == 65 - 32 ? "  501  9I[RFJ[ RRFZ[ RMTWT\n" : "12345  1HX\n";
  StrokeFont font;
  std::string error;
  ASSERT_TRUE(ImportHersheyFont(hershey, font, error)) << error;
  const ModelState model = test::UniformModel(10, 10, 1, 10, 10);
  RasterPicture plan = TwoUnitsPerPixel(), row, column;
  PlotDevice device;
  ViewLayout layout = test::WholeGridLayout(model);
  PlotContext context{plan, row, column, device, model, layout};
  DrawStrokeText(context, font, SetTextStyle(1, 0, 0, 1), "AAA", kFar, 30, 10, kRed, false, true);
  DrawStrokeText(context, font, SetTextStyle(1, 0, 0, 1), "AAA", 20, -kFar, 10, kRed, false, true);
  EXPECT_EQ(PaintedPixels(plan), 0);
  DrawStrokeText(context, font, SetTextStyle(1, 0, 0, 1), "A", 20, 30, 10, kRed, false, true);
  EXPECT_GT(PaintedPixels(plan), 0);  // the same text on the page does show
}

QRgb Rgb(Colour c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// A model drawn into raster pictures, its packages read by `reader`.
struct Scene {
  Scene(ModelState grid, PackageLayerReader packages) : model(std::move(grid)), reader(std::move(packages)) {}
  ModelState model;
  ViewLayout layout = test::WholeGridLayout(model);
  RasterPicture plan, row, column;
  PlotDevice device;
  Settings settings;
  SilentInterface ui;
  PackageLayerReader reader;
  PlotContext context{plan, row, column, device, model, layout};
};

struct RasterScene : Scene {
  RasterScene()
      : Scene(test::UniformModel(4, 3, 2, 100, 100),  // 400 x 300, elevations 80..100
              [](int dataType, int layer, int, LayerValues& values) {
                values = {4, 3, std::vector<float>(12, 0)};
                if (dataType == data_type::kWells && layer == 1) values.values[1 * 4 + 2] = -100;  // column 3, row 2
                if (dataType == data_type::kRivers) values.values[2 * 4 + 0] = 1;                  // column 1, row 3
                return dataType == data_type::kWells || dataType == data_type::kRivers;
              }) {
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

// One scene for both: drawing it is the slow part.
TEST(ModelRaster, PlanShowsCellTypesPackagesGridAndSectionMarksAndSectionsTheWellAndWaterTable) {
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
  ASSERT_EQ(scene.row.Image().size(), QSize(400, 100));
  // Row 2: the well in column 3, layer 1 (elevation 90..100: the top 50 pixels);
  // the water table at elevation 95, 25 pixels below the top, between cell centres.
  ExpectPixels(scene.row.Image(), {{250, 25, Rgb(s.dischargeWellColor)}, {120, 25, Rgb(s.waterTableColor)}});
  ASSERT_EQ(scene.column.Image().width(), 100);
  // Column 3: the well in row 2, layer 1 next to the plan (elevation falls to the right).
  ExpectPixels(scene.column.Image(), {{25, 150, Rgb(s.dischargeWellColor)}, {75, 150, kWhitePixel}});
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

struct RotatedScene : Scene {
  // 259 x 115, with no packages.
  RotatedScene() : Scene(test::UniformModel(7, 5, 1, 37, 23), [](int, int, int, LayerValues&) { return false; }) {
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
