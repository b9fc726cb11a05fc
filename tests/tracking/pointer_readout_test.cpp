#include "tracking/pointer_readout.h"

#include <gtest/gtest.h>

#include "tracking/tracking_models.h"

namespace kestra {
namespace {

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
