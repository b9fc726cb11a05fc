#include "graphics/world_transform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "small_models.h"

namespace kestra {
namespace {

// 32-bit products of coordinates in the hundreds: about 1e-6 relative.
constexpr float kTolerance = 1e-3f;

// Four columns of 10 by three rows of 20, its upper-left corner at (x0, y0), turned by `angle`.
ModelState Positioned(float x0, float y0, float angle) {
  ModelState model = test::UniformModel(4, 3, 1, 10, 20);
  model.origin.X0 = x0;
  model.origin.Y0 = y0;
  SetOriginAngle(model.origin, angle);
  return model;
}

TEST(PlanToWorld, ModelWithoutPositionPutsTheLowerLeftCornerAtTheOrigin) {
  ModelState model = test::UniformModel(4, 3, 1, 10, 20);
  model.origin = ModelOrigin{};  // never positioned
  const WorldPoint lowerLeft = PlanToWorld(PlotOrigin(model), 0, 60);
  const WorldPoint upperRight = PlanToWorld(PlotOrigin(model), 40, 0);
  EXPECT_FLOAT_EQ(lowerLeft.x, 0);
  EXPECT_FLOAT_EQ(lowerLeft.y, 0);
  EXPECT_FLOAT_EQ(upperRight.x, 40);
  EXPECT_FLOAT_EQ(upperRight.y, 60);
}

TEST(PlanToWorld, RotationTurnsAboutTheUpperLeftCorner) {
  const ModelState model = Positioned(1000, 500, static_cast<float>(M_PI / 2));
  const WorldPoint p = PlanToWorld(PlotOrigin(model), 10, 0);  // along the top edge
  EXPECT_NEAR(p.x, 1000, kTolerance);
  EXPECT_NEAR(p.y, 510, kTolerance);
}

TEST(WorldToPlan, UndoesPlanToWorld) {
  const ModelOrigin origin = PlotOrigin(Positioned(250, -40, 0.5236f));
  const WorldPoint w = PlanToWorld(origin, 33, 17);
  const PicturePoint back = WorldToPlan(origin, w.x, w.y);
  EXPECT_NEAR(back.x, 33, kTolerance);
  EXPECT_NEAR(back.y, 17, kTolerance);
}

TEST(SectionPlacement, SectionsHangFivePixelsOffThePlanWithTheirTopsFacingIt) {
  ViewLayout layout;
  layout.view = {0, 0, 100, 50, 10, 30};
  layout.PixelSize = 2;
  layout.Exaggeration = 3;
  const PicturePoint rowTop = RowSectionToPlan(layout, 40, 30);
  const PicturePoint rowBottom = RowSectionToPlan(layout, 40, 10);
  EXPECT_FLOAT_EQ(rowTop.y, 60);
  EXPECT_FLOAT_EQ(rowBottom.y, 120);
  EXPECT_FLOAT_EQ(rowTop.x, 40);
  const PicturePoint columnTop = ColumnSectionToPlan(layout, 30, 7);
  EXPECT_FLOAT_EQ(columnTop.x, 110);
  EXPECT_FLOAT_EQ(columnTop.y, 7);
}

}  // namespace
}  // namespace kestra
