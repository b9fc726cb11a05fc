#include "render/view_image.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(ComposeViews, SectionsSitBelowAndRightOfThePlan) {
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
  ASSERT_EQ(image.width(), 53);
  ASSERT_EQ(image.height(), 43);
  EXPECT_EQ(image.pixel(39, 29), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(39, 31), qRgb(255, 255, 255));  // the gap
  EXPECT_EQ(image.pixel(5, 35), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(45, 5), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(45, 35), qRgb(255, 255, 255));
}

TEST(ComposeViews, PlanAloneWithoutSections) {
  RasterPicture plan, row, column;
  ViewLayout layout;
  layout.sectionsShown = false;
  plan.SetGeometry(40, 30, {0, 0, 40, 30});
  const QImage image = ComposeViews(plan, row, column, layout, ViewPlacement{40, 30});
  EXPECT_EQ(image.size(), QSize(40, 30));
  layout.planShown = false;
  EXPECT_TRUE(ComposeViews(plan, row, column, layout, ViewPlacement{40, 30}).isNull());
}

}  // namespace
}  // namespace kestra
