// Raster pictures, also of points and lines far beyond them, the picture plots
// written from them in every format, and an old file kept when the new one
// cannot be written.
#include "render/plot_image.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <limits>

#include "graphics/hershey_import.h"
#include "graphics/small_models.h"
#include "graphics/stroke_text.h"
#include "pixels.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

using test::ExpectPixels;
using test::kBlackPixel;
using test::kRedPixel;
using test::kWhitePixel;

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

int GreyPixels(const QImage& image) {
  int grey = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) grey += qRed(image.pixel(x, y)) > 0 && qRed(image.pixel(x, y)) < 255;
  return grey;
}

TEST(RasterPictureSmoothing, SmoothsSlantedLinesButNotAxisLinesOrInvertedOnes) {
  RasterPicture picture = Showing(100, 100, {0, 0, 100, 100});
  picture.SetPersistent(false);
  picture.DrawLine(10, 10, 90, 40, 0);
  EXPECT_EQ(GreyPixels(picture.Image()), 0);  // not asked for: hard pixels, as plots need

  picture.Clear();
  picture.SetAntialiased(true);
  picture.DrawLine(10, 10, 90, 40, 0);
  EXPECT_GT(GreyPixels(picture.Image()), 20);
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

int PaintedPixels(RasterPicture& picture) {
  picture.Refresh();
  return test::PaintedPixels(picture.Image());
}

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

}  // namespace
}  // namespace kestra
