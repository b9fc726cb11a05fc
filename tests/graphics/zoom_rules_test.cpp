#include "graphics/zoom_rules.h"

#include <gtest/gtest.h>

#include "graphics/small_models.h"

namespace kestra {
namespace {

TEST(ZoomRules, CornersInEitherOrderGiveOneWindow) {
  const ModelState model = test::UniformModel(10, 10, 1, 10, 10);  // 100 x 100
  const auto down = ZoomWindowFromDrag(model, 0.5f, 20, 30, 60, 50);
  const auto up = ZoomWindowFromDrag(model, 0.5f, 60, 50, 20, 30);
  ASSERT_TRUE(down && up);
  EXPECT_EQ(up->Xmin, 20);
  EXPECT_EQ(up->Ymin, 30);
  EXPECT_EQ(up->width, 40);
  EXPECT_EQ(up->height, 20);
  EXPECT_EQ(down->Xmax, up->Xmax);
}

TEST(ZoomRules, TenPixelsOrAHundredthOfTheGridAreRefused) {
  const ModelState model = test::UniformModel(10, 10, 1, 10, 10);
  EXPECT_FALSE(ZoomWindowFromDrag(model, 1, 0, 0, 9, 50));
  EXPECT_FALSE(ZoomWindowFromDrag(model, 1, 0, 0, 10, 50));
  EXPECT_TRUE(ZoomWindowFromDrag(model, 1, 0, 0, 11, 11));
  // 11 pixels of 0.05 units: the grid is 181 times as wide.
  EXPECT_FALSE(ZoomWindowFromDrag(model, 0.05f, 0, 0, 0.55f, 0.55f));
}

}  // namespace
}  // namespace kestra
