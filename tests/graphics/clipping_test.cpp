#include "graphics/clipping.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

const ClipWindow kWindow{0, 0, 100, 50};

struct Segment {
  float x1, y1, x2, y2;
};

ClipResult Clip(Segment& s, const ClipWindow& window = kWindow) { return ClipSegment(s.x1, s.y1, s.x2, s.y2, window); }

struct SegmentCase {
  const char* what;
  Segment in;
  bool visible, startMoved, endMoved;
  Segment out;  // when visible
};

TEST(ClipSegment, KeepsThePartInsideTheWindowAndSaysWhichEndsMoved) {
  const SegmentCase cases[] = {
      {"left of the window", {-20, 10, -5, 40}, false, false, false, {}},
      {"inside: edges count as inside", {0, 0, 100, 50}, true, false, false, {0, 0, 100, 50}},
      {"vertical across", {30, -10, 30, 80}, true, true, true, {30, 0, 30, 50}},
      {"horizontal leaving", {50, 20, 150, 20}, true, false, true, {50, 20, 100, 20}},
      {"vertical beside", {120, -10, 120, 80}, false, false, false, {}},
      {"slanted y = (x + 50) / 4 across", {-50, 0, 150, 50}, true, true, true, {0, 12.5f, 100, 37.5f}},
      {"inside out through the corner", {50, 25, 150, 75}, true, false, true, {50, 25, 100, 50}},
      {"past the upper-left corner outside", {-10, 5, 5, -10}, false, false, false, {}},
  };
  for (const SegmentCase& c : cases) {
    SCOPED_TRACE(c.what);
    Segment s = c.in;
    const ClipResult r = Clip(s);
    ASSERT_EQ(r.visible, c.visible);
    if (!c.visible) continue;
    EXPECT_EQ(r.startMoved, c.startMoved);
    EXPECT_EQ(r.endMoved, c.endMoved);
    EXPECT_FLOAT_EQ(s.x1, c.out.x1);
    EXPECT_FLOAT_EQ(s.y1, c.out.y1);
    EXPECT_FLOAT_EQ(s.x2, c.out.x2);
    EXPECT_FLOAT_EQ(s.y2, c.out.y2);
  }
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

TEST(ClipBox, CutsTheBoxToTheWindowOrLeavesAnOutsideOneUnchanged) {
  const struct {
    Segment in;
    bool visible;
    Segment out;
  } cases[] = {
      {{-1e6f, -1e6f, 1e6f, 1e6f}, true, {0, 0, 100, 50}},
      {{110, 0, 120, 10}, false, {110, 0, 120, 10}},
      {{90, 10, 120, 20}, true, {90, 10, 100, 20}},
  };
  for (const auto& c : cases) {
    Segment box = c.in;
    EXPECT_EQ(ClipBox(box.x1, box.y1, box.x2, box.y2, kWindow), c.visible);
    EXPECT_EQ(box.x1, c.out.x1);
    EXPECT_EQ(box.y1, c.out.y1);
    EXPECT_EQ(box.x2, c.out.x2);
    EXPECT_EQ(box.y2, c.out.y2);
  }
}


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
