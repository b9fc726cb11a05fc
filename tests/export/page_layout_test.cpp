// The picture placed on the printed sheet, in millimetres.
#include "export/page_layout.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

// A4 with 5 mm unprintable margins all round.
constexpr PageGeometry kA4{210, 297, 5, 5, 200, 287};

TEST(PageLayout, WidePictureFillsThePrintableWidth) {
  ImageLayout layout;
  FitImageToPage(layout, kA4, 2.0);
  EXPECT_DOUBLE_EQ(layout.width, 200);
  EXPECT_DOUBLE_EQ(layout.height, 100);
  EXPECT_DOUBLE_EQ(layout.left, 5);
  EXPECT_DOUBLE_EQ(layout.top, 5);
}

TEST(PageLayout, TallPictureFillsThePrintableHeight) {
  ImageLayout layout;
  FitImageToPage(layout, kA4, 0.5);
  EXPECT_DOUBLE_EQ(layout.height, 287);
  EXPECT_DOUBLE_EQ(layout.width, 143.5);
}

TEST(PageLayout, CentringNeverGivesANegativeMargin) {
  ImageLayout layout{100, 50, 0, 0};
  CenterImage(layout, kA4);
  EXPECT_DOUBLE_EQ(layout.left, 55);
  EXPECT_DOUBLE_EQ(layout.top, 123.5);
  ImageLayout wide{300, 50, 9, 9};
  CenterImage(wide, kA4);
  EXPECT_DOUBLE_EQ(wide.left, 0);
}

TEST(PageLayout, ImageKeepsThePictureProportions) {
  EXPECT_DOUBLE_EQ(HeightForWidth(100, 2.0), 50);
  EXPECT_DOUBLE_EQ(WidthForHeight(50, 2.0), 100);
}

TEST(PageLayout, PrintedSizeIsRoundedHalvesToEven) {
  EXPECT_DOUBLE_EQ(WholeMillimetres(100.5), 100);
  EXPECT_DOUBLE_EQ(WholeMillimetres(101.5), 102);
  EXPECT_DOUBLE_EQ(WholeMillimetres(99.4), 99);
}

}  // namespace
}  // namespace kestra
