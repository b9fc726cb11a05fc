// Legends and coordinate ticks of report pictures.
#include "export/plot_annotation.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kestra
