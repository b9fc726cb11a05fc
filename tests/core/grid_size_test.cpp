#include "core/grid_size.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/recording_interface.h"

namespace kestra {
namespace {

TEST(GridSize, TheLimitCountsTheModelsOwnCells) {
  // 20 000 000 cells exactly; with the arrays' border cells it would be 21 084 084.
  EXPECT_TRUE(GridSizeFits(1000, 1000, 20));
  EXPECT_FALSE(GridSizeFits(1000, 1000, 21));
  EXPECT_TRUE(GridSizeFits(1, 1, 1));
  EXPECT_FALSE(GridSizeFits(0, 5, 5));
  EXPECT_FALSE(GridSizeFits(5, 5, -1));
  EXPECT_FALSE(GridSizeFits(std::numeric_limits<double>::quiet_NaN(), 1, 1));
}

TEST(GridSize, TheMessageNamesTheFileAndTheLimit) {
  test::RecordingInterface ui;
  EXPECT_TRUE(AcceptGridSize("a.mdl", 1000, 1000, 20, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(AcceptGridSize("a.mdl", 1000, 1000, 21, ui));
  EXPECT_EQ(ui.LastMessage(),
            "The file a.mdl does not give a grid of at least one column, row and layer with at most 20000000 cells.");
}

}  // namespace
}  // namespace kestra
