// What the window shows of a cell: the cell inspector's lines and the status panes'
// read-out under the pointer.
#include "tracking/cell_inspection.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "support/result_builders.h"
#include "tracking/pointer_readout.h"
#include "tracking_models.h"

namespace kestra {
namespace {

std::string ValueOf(const std::vector<InspectedValue>& lines, const std::string& name) {
  for (const InspectedValue& line : lines)
    if (line.name == name) return line.value;
  return "(no line " + name + ")";
}

// Each named line of `lines` reads as given.
void ExpectValues(const std::vector<InspectedValue>& lines,
                  std::initializer_list<std::pair<const char*, const char*>> expected) {
  for (const auto& [name, value] : expected) EXPECT_EQ(ValueOf(lines, name), value) << name;
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
  // 5 m3/day through a face of 10 m x 10 m at porosity 0.25, half of it at the centre.
  ExpectValues(lines, {{"Cell", "layer 1, row 1, column 1"},
                       {"Head", "7.25 m"},
                       {"Drawdown", "1.234E-05 m"},
                       {"Boundary packages", "pumping well, drain"},
                       {"Budget terms", "WELLS -250 m\u00b3/day; DRAINS -0.5 m\u00b3/day"},
                       {"Saturated thickness", "10 m"},
                       {"Velocity to higher columns", "0.1 m/day"},
                       {"Velocity upward", "0 m/day"}});
}

TEST(InspectCell, SaysWhatWasNotLoadedInsteadOfShowingZero) {
  InspectedModel m;
  const auto nothing = m.Inspect({2, 1, 1}, {false, false, false});
  ExpectValues(nothing, {{"Head", "not loaded"},
                         {"Drawdown", "not loaded"},
                         {"Velocity", "not loaded"},
                         {"Saturated thickness", "---"},
                         {"Boundary packages", "none"},
                         {"Budget terms", "not loaded"}});

  m.state.IBOUND(2, 1, 1) = 0;
  const auto inactive = m.Inspect({2, 1, 1}, {true, true, true});
  ExpectValues(inactive, {{"State", "inactive"}, {"Head", "---"}, {"Velocity", "---"}, {"Budget terms", "none"}});
}

// Three cells of 10 x 10 along a row, 10 thick from 0 to 10, porosity 0.25,
// pore velocity 2 along the row.
struct ReadoutScene {
  ModelState model = test::BoxModel(3, 1, 1, 10, 10, 10, 0.25f);
  Settings settings;
  TrackingSettings tracking;

  ReadoutScene() {
    SetDefaultOrigin(model);
    for (int j = 1; j <= 3; ++j) model.HEAD(j, 1, 1) = 7.5f;
    test::SetUniformFlow(model, 1, 2);
  }
  std::array<std::string, 5> At(float x, float y) {
    return PointerReadout(model, settings, tracking, x, y, 1, 0.5f);
  }
};

TEST(PointerReadout, ActiveCellShowsPositionCellHeadAndSpeeds) {
  ReadoutScene s;
  const auto panes = s.At(15, 5);
  EXPECT_EQ(panes[1], "2, 1, 1");
  // Plain decimals, as the cell inspector shows them.
  EXPECT_EQ(panes[2], "7.5");
  EXPECT_EQ(panes[3], "2");
  EXPECT_EQ(panes[4], "0");
  // World Y counts up from the grid's lower edge, 10 below the upper one.
  EXPECT_EQ(panes[0], "15, 5, 5");
}

TEST(PointerReadout, FixedHeadCellShowsItsHeadButNoSpeedsAndInactiveCellNothing) {
  ReadoutScene s;
  s.model.IBOUND(1, 1, 1) = -1;
  s.model.IBOUND(3, 1, 1) = 0;
  const auto fixed = s.At(5, 5);
  EXPECT_EQ(fixed[2], "7.5");
  EXPECT_EQ(fixed[3], kNoValueText);
  EXPECT_EQ(fixed[4], kNoValueText);
  const auto inactive = s.At(25, 5);
  EXPECT_EQ(inactive[2], kNoValueText);
  EXPECT_EQ(inactive[3], kNoValueText);
}

TEST(PointerReadout, OutsideTheGridHasNoCell) {
  ReadoutScene s;
  EXPECT_EQ(PointerCell(s.model, 31, 5, 1).column, 0);
  EXPECT_EQ(s.At(31, 5)[1], kNoValueText);
  EXPECT_EQ(PointerCell(s.model, 10, 5, 1).column, 1);  // a shared edge belongs to the lower cell
}

}  // namespace
}  // namespace kestra
