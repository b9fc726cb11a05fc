#include "tracking/cell_inspection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/result_builders.h"

namespace kestra {
namespace {

std::string ValueOf(const std::vector<InspectedValue>& lines, const std::string& name) {
  for (const InspectedValue& line : lines)
    if (line.name == name) return line.value;
  return "(no line " + name + ")";
}

struct InspectedModel {
  InspectedModel() : state(test::GridOfWidths({10, 10, 10}, {10, 10}, 1)) {
    state.lengthUnit = LengthUnit::Meters;
    const auto fill = [](auto& array, auto value) { std::fill(array.values.begin(), array.values.end(), value); };
    fill(state.IBOUND, std::int16_t{1});
    fill(state.TOP, 10.0f);
    fill(state.POROSITY, 0.25f);
    fill(state.HEAD, 7.25f);
    fill(state.DRAWDOWN, 0.00001234f);
    state.QRIGHT(1, 1, 1) = 5.0f;  // out through the right face of column 1
  }
  std::vector<InspectedValue> Inspect(CellIndex cell, InspectedResults loaded, std::vector<std::string> packages = {},
                                      std::vector<CellTerm> terms = {}) {
    return InspectCell(state, settings, tracking, 4, cell, loaded, packages, terms);
  }
  ModelState state;
  Settings settings;
  TrackingSettings tracking;
};

TEST(InspectCell, GivesEachValueWithTheModelsUnitsInPlainDecimals) {
  InspectedModel m;
  const auto lines =
      m.Inspect({1, 1, 1}, {true, true, true}, {"pumping well", "drain"}, {{"WELLS", -250}, {"DRAINS", -0.5f}});
  EXPECT_EQ(ValueOf(lines, "Cell"), "layer 1, row 1, column 1");
  EXPECT_EQ(ValueOf(lines, "Head"), "7.25 m");
  EXPECT_EQ(ValueOf(lines, "Drawdown"), "1.234E-05 m");
  EXPECT_EQ(ValueOf(lines, "Boundary packages"), "pumping well, drain");
  EXPECT_EQ(ValueOf(lines, "Budget terms"), "WELLS -250 m\u00b3/day; DRAINS -0.5 m\u00b3/day");
  EXPECT_EQ(ValueOf(lines, "Saturated thickness"), "10 m");
  // 5 m3/day through a face of 10 m x 10 m at porosity 0.25, half of it at the centre.
  EXPECT_EQ(ValueOf(lines, "Velocity to higher columns"), "0.1 m/day");
  EXPECT_EQ(ValueOf(lines, "Velocity upward"), "0 m/day");
}

TEST(InspectCell, SaysWhatWasNotLoadedInsteadOfShowingZero) {
  InspectedModel m;
  const auto nothing = m.Inspect({2, 1, 1}, {false, false, false});
  EXPECT_EQ(ValueOf(nothing, "Head"), "not loaded");
  EXPECT_EQ(ValueOf(nothing, "Drawdown"), "not loaded");
  EXPECT_EQ(ValueOf(nothing, "Velocity"), "not loaded");
  EXPECT_EQ(ValueOf(nothing, "Saturated thickness"), "---");
  EXPECT_EQ(ValueOf(nothing, "Boundary packages"), "none");
  EXPECT_EQ(ValueOf(nothing, "Budget terms"), "not loaded");

  m.state.IBOUND(2, 1, 1) = 0;
  const auto inactive = m.Inspect({2, 1, 1}, {true, true, true});
  EXPECT_EQ(ValueOf(inactive, "State"), "inactive");
  EXPECT_EQ(ValueOf(inactive, "Head"), "---");
  EXPECT_EQ(ValueOf(inactive, "Velocity"), "---");
  EXPECT_EQ(ValueOf(inactive, "Budget terms"), "none");
}

}  // namespace
}  // namespace kestra
