#include "graphics/clipping.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

const ClipWindow kWindow{0, 0, 100, 50};

struct Segment {
  float x1, y1, x2, y2;
};

ClipResult Clip(Segment& s, const ClipWindow& window = kWindow) { return ClipSegment(s.x1, s.y1, s.x2, s.y2, window); }

TEST(ClipSegment, SegmentLeftOfTheWindowIsInvisible) {
  Segment s{-20, 10, -5, 40};
  EXPECT_FALSE(Clip(s).visible);
}

TEST(ClipSegment, SegmentInsideStaysUnchanged) {
  Segment s{0, 0, 100, 50};  // edges count as inside
  const ClipResult r = Clip(s);
  EXPECT_TRUE(r.visible);
  EXPECT_FALSE(r.startMoved || r.endMoved);
  EXPECT_EQ(s.x2, 100);
}

TEST(ClipSegment, VerticalSegmentAcrossTheWindowIsCutToItsHeight) {
  Segment s{30, -10, 30, 80};
  const ClipResult r = Clip(s);
  EXPECT_TRUE(r.visible && r.startMoved && r.endMoved);
  EXPECT_EQ(s.y1, 0);
  EXPECT_EQ(s.y2, 50);
}

TEST(ClipSegment, HorizontalSegmentLeavingTheWindowMovesOnlyThatEnd) {
  Segment s{50, 20, 150, 20};
  const ClipResult r = Clip(s);
  EXPECT_TRUE(r.visible && !r.startMoved && r.endMoved);
  EXPECT_EQ(s.x1, 50);
  EXPECT_EQ(s.x2, 100);
}

TEST(ClipSegment, VerticalSegmentBesideTheWindowIsInvisible) {
  Segment s{120, -10, 120, 80};
  EXPECT_FALSE(Clip(s).visible);
}

TEST(ClipSegment, SlantedSegmentCrossingTheWindowIsCutAtBothEdges) {
  Segment s{-50, 0, 150, 50};  // y = (x + 50) / 4
  const ClipResult r = Clip(s);
  EXPECT_TRUE(r.visible && r.startMoved && r.endMoved);
  EXPECT_FLOAT_EQ(s.x1, 0);
  EXPECT_FLOAT_EQ(s.y1, 12.5f);
  EXPECT_FLOAT_EQ(s.x2, 100);
  EXPECT_FLOAT_EQ(s.y2, 37.5f);
}

TEST(ClipSegment, SegmentFromInsideOutMovesItsEnd) {
  Segment s{50, 25, 150, 75};
  const ClipResult r = Clip(s);
  EXPECT_TRUE(r.visible && !r.startMoved && r.endMoved);
  EXPECT_FLOAT_EQ(s.x2, 100);
  EXPECT_FLOAT_EQ(s.y2, 50);  // leaves through the corner
  EXPECT_FLOAT_EQ(s.x1, 50);
}

TEST(ClipSegment, SegmentPassingACornerOutsideIsInvisible) {
  Segment s{-10, 5, 5, -10};  // passes the upper-left corner outside the window
  EXPECT_FALSE(Clip(s).visible);
}

TEST(ClipSegment, DiagonalThroughTwoCornersIsKeptDespiteRounding) {
  // Runs along the window's diagonal; its computed crossings round a hair
  // outside the window's corners.
  const ClipWindow window{0, 0, 170.660599f, 60.1839561f};
  Segment s{-449.800934f, -158.623611f, 514.521057f, 181.447342f};
  const ClipResult r = Clip(s, window);
  ASSERT_TRUE(r.visible);
  constexpr float kTolerance = 1e-3f;  // 32-bit crossings of lengths in the hundreds
  EXPECT_NEAR(s.x1, 0, kTolerance);
  EXPECT_NEAR(s.y1, 0, kTolerance);
  EXPECT_NEAR(s.x2, window.xmax, kTolerance);
  EXPECT_NEAR(s.y2, window.ymax, kTolerance);
}

TEST(ClipSegment, TolerancesFollowTheWindowSizeInSmallUnits) {
  // A window 0.001 units wide: fixed nearness lengths of 0.01 would call this
  // slanted segment vertical and keep the part outside the window.
  const ClipWindow tiny{0, 0, 0.001f, 0.001f};
  Segment s{-0.001f, 0, 0.002f, 0.001f};
  const ClipResult r = Clip(s, tiny);
  EXPECT_TRUE(r.visible);
  EXPECT_NEAR(s.x1, 0, 1e-9);
  EXPECT_NEAR(s.y1, 0.001f / 3, 1e-9);
  EXPECT_NEAR(s.x2, 0.001f, 1e-9);
  EXPECT_NEAR(s.y2, 0.002f / 3, 1e-9);
}

TEST(ClipBox, BoxLargerThanTheWindowBecomesTheWindow) {
  float x1 = -1e6f, y1 = -1e6f, x2 = 1e6f, y2 = 1e6f;
  EXPECT_TRUE(ClipBox(x1, y1, x2, y2, kWindow));
  EXPECT_EQ(x1, 0);
  EXPECT_EQ(y1, 0);
  EXPECT_EQ(x2, 100);
  EXPECT_EQ(y2, 50);
}

TEST(ClipBox, BoxOutsideIsInvisibleAndUnchanged) {
  float x1 = 110, y1 = 0, x2 = 120, y2 = 10;
  EXPECT_FALSE(ClipBox(x1, y1, x2, y2, kWindow));
  EXPECT_EQ(x1, 110);
}

TEST(ClipBox, BoxCrossingOneEdgeIsCutThere) {
  float x1 = 90, y1 = 10, x2 = 120, y2 = 20;
  EXPECT_TRUE(ClipBox(x1, y1, x2, y2, kWindow));
  EXPECT_EQ(x1, 90);
  EXPECT_EQ(x2, 100);
  EXPECT_EQ(y1, 10);
  EXPECT_EQ(y2, 20);
}

}  // namespace
}  // namespace kestra

namespace kestra {
namespace {

TEST(ClipSegment3D, CutsToTheElevationRangeAsWellAsThePlan) {
  const ViewWindow box{0, 0, 100, 50, 0, 10};
  // Rises from z 5 to z 25 while crossing x 20..60: leaves the box at z 10, a
  // quarter of the way along.
  SpacePoint a{20, 10, 5}, b{60, 30, 25};
  ASSERT_TRUE(ClipSegment3D(a, b, box));
  EXPECT_FLOAT_EQ(a.x, 20);
  EXPECT_FLOAT_EQ(b.x, 30);
  EXPECT_FLOAT_EQ(b.y, 15);
  EXPECT_FLOAT_EQ(b.z, 10);
  // Inside the plan but wholly above the box: nothing, ends unchanged.
  SpacePoint c{20, 10, 11}, d{60, 30, 25};
  EXPECT_FALSE(ClipSegment3D(c, d, box));
  EXPECT_FLOAT_EQ(c.z, 11);
  // On the box's faces counts as inside.
  SpacePoint e{0, 0, 0}, f{100, 0, 0};
  EXPECT_TRUE(ClipSegment3D(e, f, box));
  EXPECT_FLOAT_EQ(f.x, 100);
}

}  // namespace
}  // namespace kestra
