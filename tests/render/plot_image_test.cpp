// Picture plots written in every format, and an old file kept when the new
// one cannot be written.
#include "render/plot_image.h"

#include <gtest/gtest.h>

#include <filesystem>

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
  for (const auto& [name, format] : {std::pair{"p.png", PlotImageFormat::Png}, std::pair{"p.bmp", PlotImageFormat::Bmp}}) {
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

}  // namespace
}  // namespace kestra
