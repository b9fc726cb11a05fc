// How the plan and sections share the window, how deep the sections are, the
// zoom window and where the plan lies in the world.
#include "graphics/view_arrangement.h"

#include <cmath>
#include <gtest/gtest.h>

#include "graphics/readable_exaggeration.h"
#include "graphics/world_transform.h"
#include "graphics/zoom_rules.h"
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

TEST(ArrangeViews, ZoomAndLargeExaggerationsNeverSqueezeThePlan) {
  const struct {
    const char* what;
    float exaggeration;
    ZoomWindow zoom;
    int planWidth, sectionPixels;
    float drawnExaggeration;
  } cases[] = {
      // The whole grid: 2 units a pixel, as SectionsTakeTheirDepthBesideAndBelowThePlan.
      {"whole grid", 5, {0, 0, 1000, 500, 1000, 500}, 500, 50, 5},
      // A quarter of the grid: the plan keeps its 500 pixels, the sections
      // their 50; at 0.5 units a pixel the 20 deep sections are 1.25 exaggerated.
      {"zoomed", 5, {0, 0, 250, 125, 250, 125}, 500, 50, 1.25f},
      // 100 times needs 2000 units of sections: the share of 300 pixels caps them.
      {"exaggerated", 100, {0, 0, 1000, 500, 1000, 500}, 330, 135, 135 * (500.0f / 165) / 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Arrangement a;
    a.settings.exaggeration = c.exaggeration;
    a.layout.zoom = c.zoom;
    const ViewPlacement p = ArrangeViews(a.layout, a.plan, a.row, a.column, a.settings, 553, 303);
    EXPECT_EQ(p.planWidth, c.planWidth);
    EXPECT_EQ(p.sectionPixels, c.sectionPixels);
    EXPECT_NEAR(a.layout.Exaggeration, c.drawnExaggeration, 1e-4);
    // The sections still show the whole elevation range.
    EXPECT_EQ(a.row.corners.top, 100);
    EXPECT_EQ(a.row.corners.bottom, 80);
  }
}

TEST(ArrangeViews, TheExaggerationOfADraggedEdgeGivesTheSectionsThatDepth) {
  Arrangement a;
  // 50 pixels are the 5 times of SectionsTakeTheirDepthBesideAndBelowThePlan.
  EXPECT_FLOAT_EQ(ExaggerationForSectionPixels(a.layout, 50, 553, 303), 5);
  for (const float pixels : {20.0f, 80.0f, 120.0f}) {
    SCOPED_TRACE(pixels);
    a.settings.exaggeration = ExaggerationForSectionPixels(a.layout, pixels, 553, 303);
    const ViewPlacement p = ArrangeViews(a.layout, a.plan, a.row, a.column, a.settings, 553, 303);
    // Two significant digits of the exaggeration move the edge by a pixel or two.
    EXPECT_NEAR(p.sectionPixels, pixels, 2);
  }
  // Past the share the sections may take, the largest that fits.
  EXPECT_EQ(ExaggerationForSectionPixels(a.layout, 290, 553, 303),
            ExaggerationForSectionPixels(a.layout, 135, 553, 303));
  a.layout.modelZmax = a.layout.modelZmin;
  EXPECT_EQ(ExaggerationForSectionPixels(a.layout, 50, 553, 303), 0);
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

TEST(ReadableExaggeration, ThinModelsGetTheSectionAFifthOfThePlanHighBetweenOneAndAThousand) {
  // 30 cells of 100 = 3000 long; 3 layers of 10 = 30 deep: 3000 / 5 / 30 = 20.
  const ModelState model = test::UniformModel(20, 30, 3, 100, 100);
  EXPECT_FLOAT_EQ(ReadableExaggeration(model), 20);
  // 2500 / 5 / 30 = 16.67 keeps two digits.
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(20, 25, 3, 100, 100)), 17);
  // Never below one nor above a thousand.
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(5, 5, 3, 1, 1)), 1);
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(5, 5, 1, 1.0E+6f, 1.0E+6f)), 1000);
  ModelState flat = test::UniformModel(5, 5, 1, 10, 10);
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) flat.TOP(j, i, 1) = flat.BOT(j, i, 1);
  EXPECT_FLOAT_EQ(ReadableExaggeration(flat), 1);
}

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

TEST(PlanToWorld, RotationTurnsAboutTheUpperLeftCornerAndWorldToPlanUndoesIt) {
  const ModelState model = Positioned(1000, 500, static_cast<float>(M_PI / 2));
  const WorldPoint p = PlanToWorld(PlotOrigin(model), 10, 0);  // along the top edge
  EXPECT_NEAR(p.x, 1000, kTolerance);
  EXPECT_NEAR(p.y, 510, kTolerance);
  const ModelOrigin origin = PlotOrigin(Positioned(250, -40, 0.5236f));
  const WorldPoint w = PlanToWorld(origin, 33, 17);
  const PicturePoint back = WorldToPlan(origin, w.x, w.y);
  EXPECT_NEAR(back.x, 33, kTolerance);
  EXPECT_NEAR(back.y, 17, kTolerance);
}

TEST(SectionPlacement, SectionsHangFivePixelsOffThePlanWithTheirTopsFacingIt) {
  const ViewLayout layout{.view = {0, 0, 100, 50, 10, 30}, .PixelSize = 2, .Exaggeration = 3};
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
