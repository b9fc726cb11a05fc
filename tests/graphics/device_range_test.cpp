#include "graphics/device_range.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace kestra {
namespace {

constexpr double kLimit = 100;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ClampCase {
  double value;
  std::optional<double> clamped;
};

TEST(ClampedDeviceCoordinate, KeepsValuesWithinTheLimitAndDropsNaN) {
  const ClampCase cases[] = {{0, 0},           {42.5, 42.5},      {-100, -100},     {100.5, 100}, {-5e10, -100},
                             {kInf, 100},      {-kInf, -100},     {kNaN, std::nullopt}};
  for (const ClampCase& c : cases) EXPECT_EQ(ClampedDeviceCoordinate(c.value, kLimit), c.clamped) << c.value;
}

struct PointCase {
  double x, y;
  bool on;
};

TEST(OnDevice, OnlyNumbersWithinTheLimitOnBothAxes) {
  const PointCase cases[] = {{0, 0, true},     {100, -100, true},  {100.01, 0, false}, {0, -5e10, false},
                             {kInf, 0, false}, {0, kNaN, false},   {kNaN, kNaN, false}};
  for (const PointCase& c : cases) EXPECT_EQ(OnDevice(c.x, c.y, kLimit), c.on) << c.x << ", " << c.y;
}

struct ClipCase {
  double x1, y1, x2, y2;
  bool visible;
  double cx1, cy1, cx2, cy2;  // the ends afterwards
};

TEST(ClipToDevice, CutsAtTheSquareAndKeepsTheDirection) {
  const ClipCase cases[] = {
      {-10, 5, 20, -30, true, -10, 5, 20, -30},          // inside: unchanged
      {0, 0, 1e10, 5e9, true, 0, 0, 100, 50},             // far end moves back along the line
      {-1e10, 10, 1e10, 10, true, -100, 10, 100, 10},     // both ends cut
      {200, 0, 300, 50, false, 200, 0, 300, 50},          // wholly beyond one side
      {150, -1e10, 1e10, 150, false, 150, -1e10, 1e10, 150},  // passes by a corner
      {0, 0, kInf, 0, false, 0, 0, kInf, 0},              // an infinite end is not drawn
      {kNaN, 0, 1, 1, false, kNaN, 0, 1, 1},
  };
  for (const ClipCase& c : cases) {
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
