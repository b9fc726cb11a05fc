// The raster a capture zone is drawn on: paths marked pixel by pixel, and
// gaps closed by Euclidean dilation and erosion.
#include "export/zone_mask.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

// A mask of unit pixels over x 0..20, y 0..20 (y down), with a margin of 5.
ZoneMask Mask() { return EmptyMask({0, 0}, {20, 20}, 5, 1); }

int MarkedInColumn(const ZoneMask& mask, double x) {
  const int column = static_cast<int>(x - mask.left);
  int count = 0;
  for (int row = 0; row < mask.rows; ++row) count += mask.Marked(column, row);
  return count;
}

TEST(ZoneMask, SegmentsMarkEveryPixelTheyCross) {
  ZoneMask mask = Mask();
  MarkSegment(mask, {2.5, 3.5}, {12.5, 3.5});
  EXPECT_DOUBLE_EQ(MarkedArea(mask), 11);
  ZoneMask diagonal = Mask();
  MarkSegment(diagonal, {0.5, 0.5}, {10.5, 10.5});
  EXPECT_GE(MarkedArea(diagonal), 11);
  for (int n = 0; n <= 10; ++n) EXPECT_TRUE(diagonal.Marked(n + 5, n + 5)) << n;
  ZoneMask point = Mask();
  MarkSegment(point, {4.2, 4.2}, {4.2, 4.2});
  EXPECT_DOUBLE_EQ(MarkedArea(point), 1);
  // A rectangle narrower than a pixel still marks the pixel of its centre.
  ZoneMask thin = Mask();
  MarkRectangle(thin, {6.1, 6.1}, {6.3, 6.3});
  EXPECT_TRUE(thin.Marked(11, 11));
  EXPECT_DOUBLE_EQ(MarkedArea(thin), 1);
}

TEST(ZoneMask, ClosingJoinsPathsNoFartherApartThanTheGap) {
  // Within a pixel: distances are taken between pixel centres.
  const struct {
    double apart;  // between two parallel paths
    double gap;
    bool joined;
  } cases[] = {{3, 3, true}, {3, 1, false}, {6, 8, true}, {6, 4, false}, {2, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.apart << " apart, gap " << c.gap);
    ZoneMask mask = Mask();
    MarkSegment(mask, {5.5, 2.5}, {5.5, 17.5});
    MarkSegment(mask, {5.5 + c.apart, 2.5}, {5.5 + c.apart, 17.5});
    CloseGaps(mask, c.gap);
    // Midway along, between the paths.
    const int row = static_cast<int>(10.5 - mask.top);
    const int between = static_cast<int>(5.5 + c.apart / 2 - mask.left);
    EXPECT_EQ(mask.Marked(between, row), c.joined);
  }
}

TEST(ZoneMask, ClosingKeepsASolidAreaAsItIs) {
  ZoneMask mask = Mask();
  MarkRectangle(mask, {4, 4}, {14, 9});
  const ZoneMask before = mask;
  CloseGaps(mask, 3);
  EXPECT_EQ(mask.marks, before.marks);
  EXPECT_EQ(MarkedInColumn(mask, 8.5), 5);
}

}  // namespace
}  // namespace kestra
