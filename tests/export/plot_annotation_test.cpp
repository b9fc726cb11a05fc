// Legends and coordinate ticks of report pictures, and the picture placed on
// the printed sheet, in millimetres.
#include "export/plot_annotation.h"

#include <gtest/gtest.h>

#include "export/page_layout.h"

namespace kestra {
namespace {

TEST(PlotAnnotation, LegendListsWhatTheSettingsShow) {
  Settings settings;
  settings.showDrains = kOff;
  settings.showReservoirs = kOff;
  const auto entries = LegendEntries(settings, true, 255);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front().label, "Inactive cells");
  EXPECT_EQ(entries.front().colour, settings.inactiveCellColor);
  for (const LegendEntry& entry : entries) {
    EXPECT_NE(entry.label, "Drains");
    EXPECT_NE(entry.label, "Reservoirs");
  }
  const LegendEntry& forward = entries[entries.size() - 2];
  EXPECT_EQ(forward.label, "Forward pathlines");
  EXPECT_EQ(forward.colour, 255);
  EXPECT_EQ(entries.back().label, "Backward pathlines");
  EXPECT_EQ(entries.back().colour, settings.backwardPathColor);
  EXPECT_TRUE(entries.back().line);
  EXPECT_EQ(LegendEntries(settings, false, 255).size(), entries.size() - 2);
}

TEST(PlotAnnotation, TickStepsAreRoundNumbers) {
  EXPECT_DOUBLE_EQ(TickStep(1000, 10), 100);
  EXPECT_DOUBLE_EQ(TickStep(1000, 4), 500);
  EXPECT_DOUBLE_EQ(TickStep(1000, 6), 200);
  EXPECT_DOUBLE_EQ(TickStep(0.7, 5), 0.2);
  EXPECT_DOUBLE_EQ(TickStep(0, 5), 0);
}

TEST(PlotAnnotation, TickValuesCoverTheRangeOnMultiples) {
  EXPECT_EQ(TickValues(-15, 42, 20), (std::vector<double>{0, 20, 40}));
  EXPECT_EQ(TickValues(0, 100, 50), (std::vector<double>{0, 50, 100}));
  EXPECT_TRUE(TickValues(5, 1, 1).empty());
  EXPECT_EQ(TickValues(0, 0.5, 0.1).size(), 6u);
  EXPECT_EQ(TickLabel(0.1 * 3), "0.3");
  EXPECT_EQ(TickLabel(-20), "-20");
  EXPECT_EQ(TickLabel(2500), "2500");
}

// A4 with 5 mm unprintable margins all round.
constexpr PageGeometry kA4{210, 297, 5, 5, 200, 287};

TEST(PageLayout, PictureFillsThePrintableWidthOrHeightFromTheTopLeftMargin) {
  const struct {
    double aspect, width, height;
  } cases[] = {{2.0, 200, 100}, {0.5, 143.5, 287}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.aspect);
    ImageLayout layout;
    FitImageToPage(layout, kA4, c.aspect);
    EXPECT_DOUBLE_EQ(layout.width, c.width);
    EXPECT_DOUBLE_EQ(layout.height, c.height);
    EXPECT_DOUBLE_EQ(layout.left, 5);
    EXPECT_DOUBLE_EQ(layout.top, 5);
  }
}

TEST(PageLayout, CentringNeverGivesANegativeMargin) {
  ImageLayout layout{100, 50, 0, 0};
  CenterImage(layout, kA4);
  EXPECT_DOUBLE_EQ(layout.left, 55);
  EXPECT_DOUBLE_EQ(layout.top, 123.5);
  ImageLayout wide{300, 50, 9, 9};
  CenterImage(wide, kA4);
  EXPECT_DOUBLE_EQ(wide.left, 0);
}

TEST(PageLayout, PrintedSizeIsRoundedHalvesToEven) {
  EXPECT_DOUBLE_EQ(WholeMillimetres(100.5), 100);
  EXPECT_DOUBLE_EQ(WholeMillimetres(101.5), 102);
  EXPECT_DOUBLE_EQ(WholeMillimetres(99.4), 99);
}

}  // namespace
}  // namespace kestra
