// The model state's grid: its dimensions, geometry and size limit.
#include "core/grid_size.h"
#include "core/model_state.h"
#include "core/run_state.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/recording_interface.h"

namespace kestra {
namespace {

TEST(ModelState, DimensionKeepsIndexZeroAndABorderAndTheFirstIndexVariesFastest) {
  ModelState state;
  DimensionModel(state, 1, 1, 1);
  EXPECT_EQ(state.DELR.size(), 2u);
  EXPECT_EQ(state.IBOUND.values.size(), 3u * 3u * 2u);
  state.IBOUND(1, 1, 1) = 1;
  EXPECT_EQ(state.IBOUND(0, 1, 1), 0);
  EXPECT_EQ(state.IBOUND(2, 1, 1), 0);
  EXPECT_EQ(state.IBOUND(1, 2, 1), 0);
  DimensionModel(state, 4, 3, 2);
  const GridShape shape = state.Shape();
  EXPECT_EQ(shape.Index(2, 1, 1) - shape.Index(1, 1, 1), 1u);
  EXPECT_EQ(shape.Index(1, 2, 1) - shape.Index(1, 1, 1), 6u);
  EXPECT_EQ(shape.Index(1, 1, 2) - shape.Index(1, 1, 1), 30u);
}

TEST(ModelState, GeometryFromWidthsAndTheDefaultOriginAtTheLowerLeftCorner) {
  ModelState state;
  DimensionModel(state, 3, 2, 1);
  state.DELR = {0, 10, 20, 30};
  state.DELC = {0, 5, 15};
  ComputeGridGeometry(state);
  EXPECT_FLOAT_EQ(state.XEDGE[3], 60);
  EXPECT_FLOAT_EQ(state.XCENTER[2], 20);
  EXPECT_FLOAT_EQ(state.YEDGE[2], 20);
  EXPECT_FLOAT_EQ(state.YCENTER[2], 12.5f);
  SetDefaultOrigin(state);
  EXPECT_TRUE(state.origin.isSet);
  EXPECT_FLOAT_EQ(state.origin.X0, 0);
  EXPECT_FLOAT_EQ(state.origin.Y0, 20);
  EXPECT_FLOAT_EQ(state.origin.cosAngle, 1);
}

TEST(RunState, BusyWithoutAModelOrWithAnyFlag) {
  ModelState state;
  BusyFlags busy;
  EXPECT_TRUE(IsBusy(state, busy));
  state.ModelPath = "/models/site.mdl";
  EXPECT_FALSE(IsBusy(state, busy));
  busy.redraw = true;
  EXPECT_TRUE(IsBusy(state, busy));
  state.CurrentStep = 4;
  state.flowTermsLoaded = true;
  ResetModelDefaults(state, busy);
  EXPECT_FALSE(IsBusy(state, busy));
  EXPECT_EQ(state.CurrentStep, 1);
  EXPECT_FALSE(state.flowTermsLoaded);
}

TEST(GridSize, TheLimitCountsTheModelsOwnCellsAndTheMessageNamesIt) {
  // 20 000 000 cells exactly; with the arrays' border cells it would be 21 084 084.
  EXPECT_TRUE(GridSizeFits(1000, 1000, 20));
  EXPECT_FALSE(GridSizeFits(1000, 1000, 21));
  EXPECT_TRUE(GridSizeFits(1, 1, 1));
  EXPECT_FALSE(GridSizeFits(0, 5, 5));
  EXPECT_FALSE(GridSizeFits(5, 5, -1));
  EXPECT_FALSE(GridSizeFits(std::numeric_limits<double>::quiet_NaN(), 1, 1));
  // The message names the file and the limit.
  test::RecordingInterface ui;
  EXPECT_TRUE(AcceptGridSize("a.mdl", 1000, 1000, 20, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(AcceptGridSize("a.mdl", 1000, 1000, 21, ui));
  EXPECT_EQ(ui.LastMessage(),
            "The file a.mdl does not give a grid of at least one column, row and layer with at most 20000000 cells.");
}

}  // namespace
}  // namespace kestra
