#include "graphics/clipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "graphics/device_range.h"

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

// The plot devices' range: coordinates beyond it are cut to it or left out.
constexpr double kLimit = 100;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ClampedDeviceCoordinate, KeepsValuesWithinTheLimitAndDropsNaN) {
  const struct {
    double value;
    std::optional<double> clamped;
  } cases[] = {{0, 0},      {42.5, 42.5}, {-100, -100},  {100.5, 100},
                {-5e10, -100}, {kInf, 100},  {-kInf, -100}, {kNaN, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ClampedDeviceCoordinate(c.value, kLimit), c.clamped) << c.value;
}

TEST(OnDevice, OnlyNumbersWithinTheLimitOnBothAxes) {
  const struct {
    double x, y;
    bool on;
  } cases[] = {{0, 0, true},     {100, -100, true}, {100.01, 0, false},  {0, -5e10, false},
                {kInf, 0, false}, {0, kNaN, false},  {kNaN, kNaN, false}};
  for (const auto& c : cases) EXPECT_EQ(OnDevice(c.x, c.y, kLimit), c.on) << c.x << ", " << c.y;
}

TEST(ClipToDevice, CutsAtTheSquareAndKeepsTheDirection) {
  const struct {
    double x1, y1, x2, y2;
    bool visible;
    double cx1, cy1, cx2, cy2;  // the ends afterwards
  } cases[] = {
      {-10, 5, 20, -30, true, -10, 5, 20, -30},               // inside: unchanged
      {0, 0, 1e10, 5e9, true, 0, 0, 100, 50},                  // far end moves back along the line
      {-1e10, 10, 1e10, 10, true, -100, 10, 100, 10},          // both ends cut
      {200, 0, 300, 50, false, 200, 0, 300, 50},               // wholly beyond one side
      {150, -1e10, 1e10, 150, false, 150, -1e10, 1e10, 150},  // passes by a corner
      {0, 0, kInf, 0, false, 0, 0, kInf, 0},                   // an infinite end is not drawn
      {kNaN, 0, 1, 1, false, kNaN, 0, 1, 1},
  };
  for (const auto& c : cases) {
    double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    EXPECT_EQ(ClipToDevice(x1, y1, x2, y2, kLimit), c.visible) << c.x1 << ", " << c.y1 << " - " << c.x2;
    const double expected[] = {c.cx1, c.cy1, c.cx2, c.cy2};
    const double actual[] = {x1, y1, x2, y2};
    for (int n = 0; n < 4; ++n) {
      if (std::isnan(expected[n])) {
        EXPECT_TRUE(std::isnan(actual[n]));
      } else {
        EXPECT_DOUBLE_EQ(actual[n], expected[n]) << "end value " << n << " of " << c.x1 << ", " << c.y1;
      }
    }
  }
}

}  // namespace
}  // namespace kestra
