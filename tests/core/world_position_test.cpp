// Where a model lies: its lower-left corner and rotation, and the world
// coordinates of plan points.
#include "core/world_position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/model_state.h"
#include "support/result_builders.h"

namespace kestra {
namespace {

// 3 columns of 100 by 2 rows of 50: 300 wide, 100 long.
ModelState Grid() { return test::GridOfWidths({100, 100, 100}, {50, 50}, 1); }

TEST(WorldPosition, CornersOfATurnedGridLieWhereThePositionPutsThem) {
  ModelState state = Grid();
  SetWorldPosition(state, {500000, 4100000, 30, "EPSG:32633"});
  const WorldPosition position = PositionOf(state);
  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  struct Corner {
    double x, yDown;  // plan
    double east, north;
  };
  // By hand: the lower-left corner is the origin, the grid's x axis runs 30
  // degrees north of east.
  const Corner corners[] = {
      {0, 100, 500000, 4100000},
      {300, 100, 500000 + 300 * c, 4100000 + 300 * s},
      {0, 0, 500000 - 100 * s, 4100000 + 100 * c},
      {300, 0, 500000 + 300 * c - 100 * s, 4100000 + 300 * s + 100 * c},
  };
  for (const Corner& corner : corners) {
    const WorldXY world = PlanToWorldXY(position, GridLengthOf(state), corner.x, corner.yDown);
    EXPECT_NEAR(world.x, corner.east, 1e-6) << corner.x << "," << corner.yDown;
    EXPECT_NEAR(world.y, corner.north, 1e-6) << corner.x << "," << corner.yDown;
  }
  EXPECT_EQ(position.crs, "EPSG:32633");
}

TEST(WorldPosition, ThePlotOriginFollowsThePositionAndGivesItBack) {
  ModelState state = Grid();
  SetWorldPosition(state, {1000, 2000, 90, ""});
  // Turned a quarter to the left, the upper-left corner lies 100 west of the lower-left one.
  EXPECT_NEAR(state.origin.X0, 900, 1e-3);
  EXPECT_NEAR(state.origin.Y0, 2000, 1e-3);
  EXPECT_NEAR(state.origin.sinAngle, 1, 1e-6);
  state.position.reset();
  const WorldPosition back = PositionOf(state);
  EXPECT_NEAR(back.xOrigin, 1000, 1e-3);
  EXPECT_NEAR(back.yOrigin, 2000, 1e-3);
  EXPECT_NEAR(back.rotation, 90, 1e-4);
}

TEST(WorldPosition, AModelNeverPlacedLiesAtTheOriginUnturned) {
  const ModelState state = Grid();
  const WorldPosition position = PositionOf(state);
  EXPECT_EQ(position.xOrigin, 0);
  EXPECT_EQ(position.yOrigin, 0);
  EXPECT_EQ(position.rotation, 0);
  EXPECT_TRUE(position.crs.empty());
}

TEST(LengthUnit, CodesAndNamesOfBothModflowForms) {
  const std::pair<int, LengthUnit> codes[] = {{0, LengthUnit::Undefined}, {1, LengthUnit::Feet},
                                              {2, LengthUnit::Meters},    {3, LengthUnit::Centimeters},
                                              {4, LengthUnit::Undefined}, {-1, LengthUnit::Undefined}};
  for (const auto& [code, unit] : codes) EXPECT_EQ(LengthUnitFromCode(code), unit) << code;
  const std::pair<const char*, LengthUnit> names[] = {
      {"FEET", LengthUnit::Feet},         {"meters", LengthUnit::Meters},
      {"m", LengthUnit::Meters},          {"CENTIMETERS", LengthUnit::Centimeters},
      {"UNKNOWN", LengthUnit::Undefined}, {"", LengthUnit::Undefined}};
  for (const auto& [name, unit] : names) EXPECT_EQ(LengthUnitNamed(name), unit) << name;
  EXPECT_EQ(LengthUnitSymbol(LengthUnit::Feet), "ft");
  EXPECT_EQ(LengthUnitSymbol(LengthUnit::Undefined), "");
}

}  // namespace
}  // namespace kestra
