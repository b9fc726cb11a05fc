// The boundary terms of each cell in one time step of a real budget file.
#include <gtest/gtest.h>

#include "results/boundary_flows.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

ModelState Mixed3dBudget() {
  ModelState state;
  DimensionModel(state, 30, 25, 3);
  state.BudgetPath = (test::TestDataDir() / "mixed3d/modflow/mixed3d.cbc").string();
  return state;
}

TEST(BoundaryTermsByCell, GivesTheWellsOfTheStepAndNothingForOtherCellsOrAMissingFile) {
  ModelState state = Mixed3dBudget();
  const CellTermTable table = BoundaryTermsByCell(state);
  const GridShape grid = state.Shape();
  // The well file pumps 1500 out of layer 2, row 8, column 15 and injects 800
  // into layer 3, row 18, column 22.
  const auto pumped = table.find(grid.Index(15, 8, 2));
  ASSERT_NE(pumped, table.end());
  ASSERT_EQ(pumped->second.size(), 1u);
  EXPECT_EQ(pumped->second[0].label, "WELLS");
  EXPECT_FLOAT_EQ(pumped->second[0].flow, -1500.0f);
  const auto injected = table.find(grid.Index(22, 18, 3));
  ASSERT_NE(injected, table.end());
  EXPECT_FLOAT_EQ(injected->second.at(0).flow, 800.0f);
  EXPECT_EQ(table.count(grid.Index(1, 1, 1)), 0u);
  for (const auto& [cell, terms] : table)
    for (const CellTerm& term : terms) EXPECT_NE(term.flow, 0) << term.label << " at cell " << cell;

  state.CurrentStep = 2;  // the model has one step
  EXPECT_TRUE(BoundaryTermsByCell(state).empty());
  state.BudgetPath += ".missing";
  EXPECT_TRUE(BoundaryTermsByCell(state).empty());
}

}  // namespace
}  // namespace kestra
