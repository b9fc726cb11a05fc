// Points, lines and texts far beyond the picture (a base map in other units,
// a huge map factor): nothing of them may appear on the page but the part of
// a line that really crosses it.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "graphics/hershey_import.h"
#include "graphics/small_models.h"
#include "graphics/stroke_text.h"
#include "render/raster_picture.h"

namespace kestra {
namespace {

constexpr Colour kRed = RgbColour(255, 0, 0);
constexpr float kFar = 5e10f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A 100 x 50 pixel picture showing user x 0..200 and y 0..100 (2 units per pixel).
RasterPicture TwoUnitsPerPixel() {
  RasterPicture picture;
  picture.SetGeometry(100, 50, {0, 0, 200, 100});
  return picture;
}

// Pixels not white once the drawing is shown.
int PaintedPixels(RasterPicture& picture) {
  picture.Refresh();
  const QImage& image = picture.Image();
  int painted = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) painted += image.pixel(x, y) != qRgb(255, 255, 255);
  }
  return painted;
}

TEST(FarCoordinatesRaster, PointsBeyondThePictureOrNotNumbersDrawNothing) {
  RasterPicture picture = TwoUnitsPerPixel();
  const float points[][2] = {{kFar, 10}, {10, -kFar}, {kNaN, 10}, {1e38f, 1e38f}};
  for (const auto& p : points) picture.DrawPoint(p[0], p[1], kRed);
  EXPECT_EQ(PaintedPixels(picture), 0);
}

TEST(FarCoordinatesRaster, LineToAFarPointKeepsItsDirectionOnThePicture) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.DrawLine(0, 0, 2e10f, 1e10f, kRed);  // slope one half, in pixels too
  picture.Refresh();
  const QImage& image = picture.Image();
  EXPECT_EQ(image.pixel(40, 20), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(40, 40), qRgb(255, 255, 255));
  picture.Clear();
  picture.DrawLine(kFar, kFar, 2 * kFar, kFar, kRed);
  picture.DrawLine(kNaN, 0, 100, 50, kRed);
  EXPECT_EQ(PaintedPixels(picture), 0);
}

TEST(FarCoordinatesRaster, BoxesAndArcsFarOutStayOffThePicture) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.FillBox({kFar, kFar, 2 * kFar, 2 * kFar}, kRed);
  picture.FillBox({kNaN, 0, 100, 50}, kRed);
  picture.DrawCircle(kFar, 0, 10, kRed);
  picture.FillPolygon({{0, 0}, {kFar, 0}, {0, 100}}, kRed);
  EXPECT_EQ(PaintedPixels(picture), 0);
  picture.FillBox({-kFar, -kFar, kFar, kFar}, kRed);  // covering the picture: fills all of it
  EXPECT_EQ(PaintedPixels(picture), 100 * 50);
}

TEST(FarCoordinatesRaster, ArcOfHugeAnglesOnThePictureIsDrawnOnce) {
  RasterPicture picture = TwoUnitsPerPixel();
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

}  // namespace
}  // namespace kestra
