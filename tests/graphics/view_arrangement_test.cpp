// How the plan and sections share the window, and how deep the sections are.
#include "graphics/view_arrangement.h"

#include <gtest/gtest.h>

#include "graphics/readable_exaggeration.h"
#include "recording_picture.h"
#include "small_models.h"

namespace kestra {
namespace {

struct Arrangement {
  ModelState model = test::UniformModel(10, 5, 2, 100, 100);  // 1000 x 500, elevations 80..100
  ViewLayout layout = test::WholeGridLayout(model);
  test::RecordingPicture plan, row, column;
  Settings settings;
};

TEST(ArrangeViews, SectionsTakeTheirDepthBesideAndBelowThePlan) {
  Arrangement a;
  SetModelElevationRange(a.layout, a.model);
  EXPECT_EQ(a.layout.modelZmin, 80);
  EXPECT_EQ(a.layout.modelZmax, 100);
  a.settings.exaggeration = 5;  // sections 100 units deep
  const ViewPlacement p = ArrangeViews(a.layout, a.plan, a.row, a.column, a.settings, 553, 303);
  // Width demand 1100 over 550 pixels, height 600 over 300: 2 units a pixel.
  EXPECT_FLOAT_EQ(a.layout.PixelSize, 2);
  EXPECT_EQ(p.planWidth, 500);
  EXPECT_EQ(p.planHeight, 250);
  EXPECT_EQ(p.sectionPixels, 50);
  EXPECT_EQ(a.row.width, 500);
  EXPECT_EQ(a.row.height, 50);
  EXPECT_EQ(a.row.corners.top, 100);  // the model top faces the plan
  EXPECT_EQ(a.column.corners.left, 100);
  EXPECT_EQ(a.column.corners.right, 80);
  EXPECT_EQ(a.plan.corners.right, 1000);
}

TEST(ArrangeViews, HiddenSectionsLeaveThePlanTheWholeSpace) {
  Arrangement a;
  a.settings.sectionsVisible = kOff;
  const ViewPlacement p = ArrangeViews(a.layout, a.plan, a.row, a.column, a.settings, 500, 500);
  EXPECT_FLOAT_EQ(a.layout.PixelSize, 2);
  EXPECT_EQ(p.planWidth, 500);
  EXPECT_FALSE(a.layout.sectionsShown);
  EXPECT_FALSE(a.row.visible);
}

TEST(ArrangeViews, NoSpaceMarksThePlanNotShown) {
  Arrangement a;
  ArrangeViews(a.layout, a.plan, a.row, a.column, a.settings, 2, 400);
  EXPECT_FALSE(a.layout.planShown);
}

TEST(ArrangeViews, AGridFarLongerThanWideKeepsAPlanOnePixelAcross) {
  Arrangement a;
  a.model = test::UniformModel(1, 2000, 1, 1, 1);
  a.layout = test::WholeGridLayout(a.model);
  a.settings.sectionsVisible = kOff;
  const ViewPlacement p = ArrangeViews(a.layout, a.plan, a.row, a.column, a.settings, 1200, 900);
  EXPECT_TRUE(a.layout.planShown);
  EXPECT_EQ(p.planWidth, 1);
  EXPECT_EQ(p.planHeight, 900);
}

TEST(ReadableExaggeration, ThinModelsGetTheSectionAFifthOfThePlanHigh) {
  // 30 cells of 100 = 3000 long; 3 layers of 10 = 30 deep: 3000 / 5 / 30 = 20.
  const ModelState model = test::UniformModel(20, 30, 3, 100, 100);
  EXPECT_FLOAT_EQ(ReadableExaggeration(model), 20);
  // 2500 / 5 / 30 = 16.67 keeps two digits.
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(20, 25, 3, 100, 100)), 17);
}

TEST(ReadableExaggeration, NeverBelowOneNorAboveAThousand) {
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(5, 5, 3, 1, 1)), 1);
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(5, 5, 1, 1.0E+6f, 1.0E+6f)), 1000);
  ModelState flat = test::UniformModel(5, 5, 1, 10, 10);
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) flat.TOP(j, i, 1) = flat.BOT(j, i, 1);
  EXPECT_FLOAT_EQ(ReadableExaggeration(flat), 1);
}

}  // namespace
}  // namespace kestra
