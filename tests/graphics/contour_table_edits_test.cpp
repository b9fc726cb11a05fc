#include "graphics/contour_table_edits.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

ContourTable Levels(int count) {
  ContourTable table;
  table.levels.resize(static_cast<std::size_t>(count));
  return table;
}

TEST(SpreadContourColors, EndsTakeTheSpectrumColoursAndTheMiddleRoundsToEven) {
  ContourTable table = Levels(3);
  SpreadContourColors(table, kBlack, kWhite);
  EXPECT_EQ(table.levels[0].colour, kBlack);
  EXPECT_EQ(table.levels[1].colour, RgbColour(128, 128, 128));  // 127.5
  EXPECT_EQ(table.levels[2].colour, kWhite);
  table = Levels(5);
  SpreadContourColors(table, RgbColour(200, 0, 10), RgbColour(0, 100, 10));
  EXPECT_EQ(table.levels[1].colour, RgbColour(150, 25, 10));
  EXPECT_EQ(table.levels[4].colour, RgbColour(0, 100, 10));
}

TEST(SpreadContourColors, OneLevelKeepsItsColour) {
  ContourTable table = Levels(1);
  table.levels[0].colour = 77;
  SpreadContourColors(table, kBlack, kWhite);
  EXPECT_EQ(table.levels[0].colour, 77);
}

TEST(RebuildLevels, CountRoundsHalvesToEven) {
  ContourTable table;
  ASSERT_TRUE(RebuildLevels(table, 0, 10, 4, 500));
  ASSERT_EQ(table.ContourCount(), 2);  // 2.5
  EXPECT_EQ(table.levels[1].value, 4);
  EXPECT_EQ(table.levels[2].value, 8);
  EXPECT_EQ(table.levels[2].label, 1);
  EXPECT_EQ(table.levels[2].colour, 0);
  EXPECT_FLOAT_EQ(table.levels[0].labelHeight, 5);
  EXPECT_FLOAT_EQ(table.levels[0].labelSpacing, 50);
  ASSERT_TRUE(RebuildLevels(table, 10, 20, 1, 500));
  ASSERT_EQ(table.ContourCount(), 10);
  EXPECT_EQ(table.levels[10].value, 20);
  ASSERT_TRUE(RebuildLevels(table, 3, 3, 1, 500));
  EXPECT_EQ(table.ContourCount(), 0);
}

TEST(RebuildLevels, RefusesRangesTheTableCannotHold) {
  ContourTable table = Levels(4);
  EXPECT_FALSE(RebuildLevels(table, 5, 4, 1, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 10, 0, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 10, -1, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 32767, 1, 500));  // 32 768 levels
  EXPECT_FALSE(RebuildLevels(table, 0, 1.0E+30f, 1.0E-30f, 500));
  EXPECT_EQ(table.ContourCount(), 3);
  EXPECT_EQ(LevelCountOfRange(0, 32766, 1), 32766);
}

TEST(SetLabelRule, FirstPositionThenEveryFrequency) {
  ContourTable table = Levels(11);
  SetLabelRule(table, 2, 3);
  for (int k = 0; k <= 10; ++k) EXPECT_EQ(table.levels[k].label, (k == 1 || k == 4 || k == 7 || k == 10) ? 1 : 0) << k;
  SetLabelRule(table, 0, 3);
  for (const auto& level : table.levels) EXPECT_EQ(level.label, 0);
  SetLabelRule(table, 3, 0);
  for (int k = 0; k <= 10; ++k) EXPECT_EQ(table.levels[k].label, k == 2 ? 1 : 0) << k;
}

TEST(DefaultLevelRange, HeadsOrLoadedDrawdowns) {
  ModelState model;
  DimensionModel(model, 2, 1, 1);
  model.IBOUND(1, 1, 1) = model.IBOUND(2, 1, 1) = 1;
  model.HEAD(1, 1, 1) = 10, model.HEAD(2, 1, 1) = 20;
  model.DRAWDOWN(1, 1, 1) = 1, model.DRAWDOWN(2, 1, 1) = 2;
  Settings settings;
  EXPECT_EQ(DefaultLevelRange(model, settings, true).maximum, 20);
  settings.contourDataSource = kDrawdownDataSource;
  EXPECT_EQ(DefaultLevelRange(model, settings, true).maximum, 2);
  EXPECT_EQ(DefaultLevelRange(model, settings, false).maximum, 0);
}

}  // namespace
}  // namespace kestra
