// Raster pictures, the picture plots written from them in every format, and an
// old file kept when the new one cannot be written.
#include "render/plot_image.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "render/raster_picture.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

QImage Picture() {
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int x = 0; x < 40; ++x) image.setPixel(x, 10, qRgb(255, 0, 0));
  return image;
}

TEST(PlotImage, FormatFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(PlotImageFormatOf("/a/plot.PNG"), PlotImageFormat::Png);
  EXPECT_EQ(PlotImageFormatOf("/a/plot.svg"), PlotImageFormat::Svg);
  EXPECT_EQ(PlotImageFormatOf("/a/plot.Pdf"), PlotImageFormat::Pdf);
  EXPECT_EQ(PlotImageFormatOf("/a/plot.bmp"), PlotImageFormat::Bmp);
  EXPECT_EQ(PlotImageFormatOf("/a/plot"), PlotImageFormat::Bmp);
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

TEST(PlotImage, SvgEmbedsThePictureAtItsSize) {
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(SavePlotImage(Picture(), dir.File("p.svg"), PlotImageFormat::Svg, error)) << error;
  const std::string svg = test::ReadWholeFile(dir.File("p.svg"));
  EXPECT_NE(svg.find("width=\"40\" height=\"20\""), std::string::npos);
  EXPECT_NE(svg.find("data:image/png;base64,"), std::string::npos);
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

QRgb PixelAfterRefresh(RasterPicture& picture, int x, int y) {
  picture.Refresh();
  return picture.Image().pixel(x, y);
}

TEST(RasterPicture, FilledBoxCoversItsPixelsOnly) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.FillBox({20, 10, 40, 30}, kRed);  // pixels 10..19 by 5..14
  EXPECT_EQ(PixelAfterRefresh(picture, 10, 5), qRgb(255, 0, 0));
  EXPECT_EQ(picture.Image().pixel(19, 14), qRgb(255, 0, 0));
  EXPECT_EQ(picture.Image().pixel(20, 14), qRgb(255, 255, 255));
  EXPECT_EQ(picture.Image().pixel(19, 15), qRgb(255, 255, 255));
}

TEST(RasterPicture, NeighbouringBoxesLeaveNoGap) {
  RasterPicture picture = Showing(10, 10, {0, 0, 3, 3});  // cells of 3.33 pixels
  picture.FillBoxes({{0, 0, 1, 3}, {1, 0, 2, 3}, {2, 0, 3, 3}}, kRed);
  picture.Refresh();
  for (int x = 0; x < 10; ++x) EXPECT_EQ(picture.Image().pixel(x, 5), qRgb(255, 0, 0)) << x;
}

TEST(RasterPicture, FrameLinesOnTheFarEdgesStayOnThePicture) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.DrawLine(200, 0, 200, 100, kRed);  // the right side of a frame
  picture.DrawLine(0, 100, 200, 100, kRed);  // its lower side
  EXPECT_EQ(PixelAfterRefresh(picture, 99, 25), qRgb(255, 0, 0));
  EXPECT_EQ(picture.Image().pixel(50, 49), qRgb(255, 0, 0));
  EXPECT_EQ(picture.Image().pixel(98, 25), qRgb(255, 255, 255));
}

TEST(RasterPicture, SurfaceDrawingIsGoneAfterRefresh) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.FillBox({0, 0, 200, 100}, kRed);
  picture.Refresh();
  picture.SetPersistent(false);
  picture.DrawLine(0, 50, 200, 50, kBlack);
  EXPECT_EQ(picture.Image().pixel(50, 25), qRgb(0, 0, 0));
  EXPECT_EQ(PixelAfterRefresh(picture, 50, 25), qRgb(255, 0, 0));
}

TEST(RasterPicture, InvertingTwiceRestoresThePicture) {
  RasterPicture picture = TwoUnitsPerPixel();
  picture.FillBox({0, 0, 100, 100}, RgbColour(10, 200, 30));
  picture.SetDrawMode(DrawMode::Invert);
  picture.FillBox({50, 0, 150, 100}, kBlack);
  EXPECT_EQ(PixelAfterRefresh(picture, 30, 10), qRgb(245, 55, 225));
  EXPECT_EQ(picture.Image().pixel(60, 10), qRgb(0, 0, 0));
  picture.FillBox({50, 0, 150, 100}, kBlack);
  EXPECT_EQ(PixelAfterRefresh(picture, 30, 10), qRgb(10, 200, 30));
  EXPECT_EQ(picture.Image().pixel(60, 10), qRgb(255, 255, 255));
}

TEST(RasterPicture, BackwardAxisPutsTheLeftUserValueOnTheLeft) {
  RasterPicture picture = Showing(100, 10, {50, 0, 10, 10});  // elevation falls to the right
  picture.DrawPoint(50, 5, kRed);
  picture.DrawPoint(10.2f, 5, kBlack);
  EXPECT_EQ(PixelAfterRefresh(picture, 0, 5), qRgb(255, 0, 0));
  EXPECT_EQ(picture.Image().pixel(99, 5), qRgb(0, 0, 0));
}

TEST(RasterPicture, CircleRadiusFollowsTheHorizontalScale) {
  RasterPicture picture = Showing(100, 100, {0, 0, 100, 10});  // ten times exaggerated vertically
  picture.DrawCircle(50, 5, 20, kBlack);
  picture.Refresh();
  EXPECT_EQ(picture.Image().pixel(70, 50), qRgb(0, 0, 0));
  EXPECT_EQ(picture.Image().pixel(50, 30), qRgb(0, 0, 0));  // round on the screen
  EXPECT_EQ(picture.Image().pixel(50, 50), qRgb(255, 255, 255));
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
  picture.FillBox({20, 10, 40, 30}, RgbColour(255, 0, 0));
  picture.Refresh();
  EXPECT_EQ(picture.Image().pixel(20, 10), qRgb(255, 0, 0));
  EXPECT_EQ(picture.Image().pixel(39, 29), qRgb(255, 0, 0));
  EXPECT_EQ(picture.Image().pixel(40, 29), qRgb(255, 255, 255));
}

int GreyPixels(const QImage& image) {
  int grey = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      grey += qRed(p) > 0 && qRed(p) < 255;
    }
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
  const QImage& image = picture.Image();
  EXPECT_EQ(image.pixel(10, 30), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(9, 30), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(11, 30), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(60, 50), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(60, 49), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(60, 51), qRgb(255, 255, 255));

  // Inverting twice restores every pixel, smoothing asked for or not.
  picture.Clear();
  const QImage blank = picture.Image();
  picture.SetDrawMode(DrawMode::Invert);
  picture.DrawLine(10, 10, 90, 40, 0);
  picture.DrawLine(10, 10, 90, 40, 0);
  EXPECT_EQ(picture.Image(), blank);
}

}  // namespace
}  // namespace kestra
