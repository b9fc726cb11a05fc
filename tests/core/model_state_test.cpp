#include "core/model_state.h"

#include <gtest/gtest.h>

#include "core/run_state.h"

namespace kestra {
namespace {

TEST(ModelState, DimensionKeepsIndexZeroAndTheBoundaryBorder) {
  ModelState state;
  DimensionModel(state, 1, 1, 1);
  EXPECT_EQ(state.DELR.size(), 2u);
  EXPECT_EQ(state.IBOUND.values.size(), 3u * 3u * 2u);
  state.IBOUND(1, 1, 1) = 1;
  EXPECT_EQ(state.IBOUND(0, 1, 1), 0);
  EXPECT_EQ(state.IBOUND(2, 1, 1), 0);
  EXPECT_EQ(state.IBOUND(1, 2, 1), 0);
}

TEST(ModelState, FirstIndexVariesFastest) {
  ModelState state;
  DimensionModel(state, 4, 3, 2);
  const GridShape shape = state.Shape();
  EXPECT_EQ(shape.Index(2, 1, 1) - shape.Index(1, 1, 1), 1u);
  EXPECT_EQ(shape.Index(1, 2, 1) - shape.Index(1, 1, 1), 6u);
  EXPECT_EQ(shape.Index(1, 1, 2) - shape.Index(1, 1, 1), 30u);
}

TEST(ModelState, GeometryFromWidths) {
  ModelState state;
  DimensionModel(state, 3, 2, 1);
  state.DELR = {0, 10, 20, 30};
  state.DELC = {0, 5, 15};
  ComputeGridGeometry(state);
  EXPECT_FLOAT_EQ(state.XEDGE[3], 60);
  EXPECT_FLOAT_EQ(state.XCENTER[2], 20);
  EXPECT_FLOAT_EQ(state.YEDGE[2], 20);
  EXPECT_FLOAT_EQ(state.YCENTER[2], 12.5f);
}

TEST(ModelState, DefaultOriginPutsTheLowerLeftCornerAtZero) {
  ModelState state;
  DimensionModel(state, 2, 2, 1);
  state.DELR = {0, 10, 10};
  state.DELC = {0, 7, 8};
  ComputeGridGeometry(state);
  SetDefaultOrigin(state);
  EXPECT_TRUE(state.origin.isSet);
  EXPECT_FLOAT_EQ(state.origin.X0, 0);
  EXPECT_FLOAT_EQ(state.origin.Y0, 15);
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

}  // namespace
}  // namespace kestra
