#include "graphics/zoom_rules.h"

#include <gtest/gtest.h>

#include "graphics/small_models.h"

namespace kestra {
namespace {

const ModelState kModel = test::UniformModel(10, 10, 1, 10, 10);  // 100 x 100

TEST(ZoomRules, CornersInEitherOrderGiveOneWindow) {
  const auto down = ZoomWindowFromDrag(kModel, 0.5f, 20, 30, 60, 50);
  const auto up = ZoomWindowFromDrag(kModel, 0.5f, 60, 50, 20, 30);
  ASSERT_TRUE(down && up);
  EXPECT_EQ(up->Xmin, 20);
  EXPECT_EQ(up->Ymin, 30);
  EXPECT_EQ(up->width, 40);
  EXPECT_EQ(up->height, 20);
  EXPECT_EQ(down->Xmax, up->Xmax);
}

TEST(ZoomRules, TenPixelsOrAHundredthOfTheGridAreRefused) {
  EXPECT_FALSE(ZoomWindowFromDrag(kModel, 1, 0, 0, 9, 50));
  EXPECT_FALSE(ZoomWindowFromDrag(kModel, 1, 0, 0, 10, 50));
  EXPECT_TRUE(ZoomWindowFromDrag(kModel, 1, 0, 0, 11, 11));
  // 11 pixels of 0.05 units: the grid is 181 times as wide.
  EXPECT_FALSE(ZoomWindowFromDrag(kModel, 0.05f, 0, 0, 0.55f, 0.55f));
}


TEST(ZoomAbout, ThePointUnderThePointerKeepsItsPlaceInTheWindow) {
  const ZoomWindow whole = ZoomWindowOf(0, 0, 100, 100);
  const auto in = ZoomWindowAbout(kModel, whole, 20, 60, 0.5f);
  ASSERT_TRUE(in);
  EXPECT_FLOAT_EQ(in->Xmin, 10);
  EXPECT_FLOAT_EQ(in->Xmax, 60);
  EXPECT_FLOAT_EQ(in->Ymin, 30);
  EXPECT_FLOAT_EQ(in->Ymax, 80);
  // The pointer sits at the same fraction of the window before and after.
  EXPECT_FLOAT_EQ((20 - in->Xmin) / in->width, 0.2f);
  EXPECT_FLOAT_EQ((60 - in->Ymin) / in->height, 0.6f);
}

TEST(ZoomAbout, ZoomingOutPastTheGridShowsTheWholeGridAndTooDeepIsRefused) {
  const auto out = ZoomWindowAbout(kModel, ZoomWindowOf(40, 40, 80, 80), 50, 50, 4);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->Xmin, 0);
  EXPECT_EQ(out->Ymax, 100);
  EXPECT_FALSE(ZoomWindowAbout(kModel, ZoomWindowOf(50, 50, 51.5f, 51.5f), 50, 50, 0.5f));
  EXPECT_FALSE(ZoomWindowAbout(kModel, ZoomWindowOf(0, 0, 100, 100), 50, 50, 0));
}

TEST(Pan, MovesTheWindowButKeepsItsCentreOnTheGrid) {
  const ZoomWindow moved = PannedZoomWindow(kModel, ZoomWindowOf(20, 20, 40, 40), 15, -5);
  EXPECT_FLOAT_EQ(moved.Xmin, 35);
  EXPECT_FLOAT_EQ(moved.Ymin, 15);
  EXPECT_FLOAT_EQ(moved.width, 20);
  const ZoomWindow far = PannedZoomWindow(kModel, ZoomWindowOf(20, 20, 40, 40), 500, -500);
  EXPECT_FLOAT_EQ(far.Xmin + far.width / 2, 100);
  EXPECT_FLOAT_EQ(far.Ymin + far.height / 2, 0);
}

}  // namespace
}  // namespace kestra
