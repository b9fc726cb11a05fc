// The colour flood of a layer: which cells get a colour, its range, classes
// and ramp, and the colour bar's title.
#include "graphics/colour_flood.h"

#include <gtest/gtest.h>

#include <cmath>

#include "settings/tracking_settings.h"
#include "support/result_builders.h"

namespace kestra {
namespace {

// Three columns, one row: heads 10, 12, 16; the first cell fixed head.
ModelState ThreeCells() {
  ModelState model = test::GridOfWidths({10, 10, 10}, {10}, 1);
  for (int j = 1; j <= 3; ++j) {
    model.IBOUND(j, 1, 1) = j == 1 ? -1 : 1;
    model.HEAD(j, 1, 1) = 8.0f + 2.0f * j + (j == 3 ? 2.0f : 0.0f);
  }
  return model;
}

TEST(ColourFlood, CellsWithoutAResultStayUnfilled) {
  ModelState model = ThreeCells();
  Settings settings;
  const ColourFlood heads = FloodOfLayer(model, settings, FloodQuantity::Head, 1);
  ASSERT_EQ(heads.values.size(), 3u);
  EXPECT_EQ(heads.low, 10);
  EXPECT_EQ(heads.high, 16);
  model.HEAD(3, 1, 1) = settings.HDRY;  // a dry cell
  model.IBOUND(2, 1, 1) = 0;
  const ColourFlood wet = FloodOfLayer(model, settings, FloodQuantity::Head, 1);
  EXPECT_TRUE(std::isnan(wet.values[1]));
  EXPECT_TRUE(std::isnan(wet.values[2]));
  EXPECT_EQ(wet.low, 10);
  EXPECT_EQ(wet.high, 10);
  EXPECT_FALSE(wet.Empty());
  // Fixed heads carry no velocity of their own; no cell left has one.
  EXPECT_TRUE(FloodOfLayer(model, settings, FloodQuantity::Velocity, 1).Empty());
  EXPECT_TRUE(FloodOfLayer(model, settings, FloodQuantity::Head, 2).Empty());
}

TEST(ColourFlood, ClassesSpanTheRangeAndTheRampRunsVioletToYellow) {
  ColourFlood flood;
  flood.values = {0};
  flood.low = 10;
  flood.high = 16;
  const struct {
    float value;
    int colourClass;
  } cases[] = {{10, 0}, {16, kFloodClasses - 1}, {13, kFloodClasses / 2}, {9, 0}, {99, kFloodClasses - 1},
               {NAN, -1}};
  for (const auto& c : cases) EXPECT_EQ(FloodClass(flood, c.value), c.colourClass) << c.value;
  flood.high = flood.low;  // one value: one class
  EXPECT_EQ(FloodClass(flood, 10), 0);
  EXPECT_EQ(FloodColour(0), RgbColour(68, 1, 84));
  EXPECT_EQ(FloodColour(1), RgbColour(253, 231, 37));
  EXPECT_EQ(FloodColour(2), FloodColour(1));
  EXPECT_EQ(FloodColour(NAN), FloodColour(0));
}

TEST(ColourFlood, TitlesCarryTheUnits) {
  EXPECT_EQ(FloodTitle(FloodQuantity::Head, "m", "day"), "Head (m)");
  EXPECT_EQ(FloodTitle(FloodQuantity::Drawdown, "", "day"), "Drawdown");
  EXPECT_EQ(FloodTitle(FloodQuantity::Velocity, "ft", SingularTimeUnitName(4)), "Speed (ft/day)");
  EXPECT_EQ(FloodTitle(FloodQuantity::Velocity, "m", SingularTimeUnitName(0)), "Speed");
}

}  // namespace
}  // namespace kestra
