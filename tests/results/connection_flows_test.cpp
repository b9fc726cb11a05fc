#include <gtest/gtest.h>

#include "results/connection_flows.h"

namespace kestra {
namespace {

// Two columns, one row, three layers; column 1 passes through layer 2
// (cell 2): cell 0 connects to cell 4 below it directly.
CellConnections PassThroughConnections() {
  return {{0, 3, 5, 5, 5, 8, 10}, {0, 1, 4, 1, 0, 4, 0, 5, 5, 4}};
}

TEST(ConnectionFlows, FlowsIntoTheCellBecomeFaceFlowsWithMf2005Signs) {
  ModelState state;
  DimensionModel(state, 2, 1, 3);
  // Positive into the cell: cell 0 takes 5 from cell 1 and gives 7 to cell 4.
  const std::vector<float> flows = {0, 5, -7, 0, -5, 7, 0, 2, 0, -2};
  ASSERT_TRUE(PlaceConnectionFlows(PassThroughConnections(), flows, state));
  EXPECT_EQ(state.QRIGHT(1, 1, 1), -5.0f);  // from column 1 to column 2
  EXPECT_EQ(state.QLOWER(1, 1, 1), 7.0f);   // downward, through the pass-through cell
  EXPECT_EQ(state.QLOWER(1, 1, 2), 7.0f);
  EXPECT_EQ(state.QRIGHT(1, 1, 3), -2.0f);
  EXPECT_EQ(state.QLOWER(2, 1, 1), 0.0f);
}

TEST(ConnectionFlows, AConnectionBetweenCellsThatAreNoNeighboursIsRefused) {
  ModelState state;
  DimensionModel(state, 2, 1, 3);
  const CellConnections diagonal{{0, 2, 3, 3, 3, 3, 3}, {0, 3, 1}};
  const std::vector<float> flows = {0, 1, 0};
  EXPECT_FALSE(PlaceConnectionFlows(diagonal, flows, state));
}

}  // namespace
}  // namespace kestra
