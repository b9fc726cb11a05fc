#include <gtest/gtest.h>

#include "core/data_types.h"
#include "core/sink_codes.h"
#include "mf6/model.h"
#include "mf6/readers.h"
#include "results/connection_flows.h"
#include "settings/settings.h"
#include "tracking/face_velocities.h"

namespace kestra {
namespace {

// One column of three layers 10 thick; layer 2 a pass-through cell (IDOMAIN -1).
Mf6Model PassThroughColumn() {
  Mf6Model model;
  model.simulationPath = "mfsim.nam";
  Mf6Grid& grid = model.grid;
  grid.NCOL = grid.NROW = 1;
  grid.NLAY = 3;
  grid.DELR = grid.DELC = {100};
  grid.TOP = {30};
  grid.BOTM = {20, 10, 0};
  grid.IDOMAIN = {1, -1, 1};
  BuildConnections(grid, model.connections);
  model.LAYCON = {0, 0, 0, 0};
  model.POROSITY.Dimension(model.Shape());
  std::fill(model.POROSITY.values.begin(), model.POROSITY.values.end(), 0.2f);
  return model;
}

TEST(Mf6Family, ParticlesPassThroughCellsOfIdomainMinusOne) {
  OpenedModel opened;
  CopyMf6Model(PassThroughColumn(), opened);
  ModelState& state = opened.model;
  EXPECT_EQ(state.IBOUND(1, 1, 2), 1);
  // MODFLOW 6 writes no head for the pass-through cell; the head reader makes it inactive.
  state.HEAD(1, 1, 1) = 25;
  state.HEAD(1, 1, 2) = 1.0E+30f;
  state.HEAD(1, 1, 3) = 24;
  state.IBOUND(1, 1, 2) = 0;
  FamilyOf(state).AdjustLoadedHeads(state);
  EXPECT_EQ(state.IBOUND(1, 1, 2), 1);
  EXPECT_EQ(state.HEAD(1, 1, 2), 20.0f);
  // 7 units per day go down from layer 1 straight to layer 3.
  const std::vector<float> flows = {0, -7, 0, 7};
  ASSERT_NE(FamilyOf(state).FaceFlowConnections(), nullptr);
  ASSERT_TRUE(PlaceConnectionFlows(*FamilyOf(state).FaceFlowConnections(), flows, state));
  Settings settings;
  const FaceVelocities v = GetFaceVelocities(state, settings, TrackingSettings{}, 1, 1, 2);
  const float downward = -7.0f / (100 * 100) / 0.2f;
  EXPECT_FLOAT_EQ(v.VZ2, downward);
  EXPECT_FLOAT_EQ(v.VZ1, downward);
}

TEST(Mf6Family, FixedHeadsOnlyInThePeriodsThatListThemAndWellsBySign) {
  Mf6Model model = PassThroughColumn();
  model.grid.IDOMAIN = {1, 1, 1};
  model.stressPeriods.NPER = 2;
  Mf6BoundaryPackage chd{"CHD", "CHD-1", {{}, {{1, 1, 1, 25, 0}}, {}}};
  Mf6BoundaryPackage wells{"WEL", "WEL-1", {{}, {{3, 1, 1, -5, 0}}, {{3, 1, 1, 5, 0}}}};
  model.boundaryPackages = {chd, wells};
  OpenedModel opened;
  CopyMf6Model(model, opened);
  ModelState& state = opened.model;
  const ModelFamily& family = FamilyOf(state);
  EXPECT_EQ(family.ListedBoundaryPackages(state), PackageKeys{"WEL"});
  for (const int period : {1, 2}) {
    state.CurrentPeriod = period;
    state.SINKCODE.Dimension(state.Shape());
    SilentInterface ui;
    EXPECT_TRUE(family.MarkBoundarySinks(state, {}, ui, false));
    EXPECT_EQ(state.IBOUND(1, 1, 1), period == 1 ? -1 : 1) << period;
    EXPECT_EQ(state.SINKCODE(1, 1, 3), period == 1 ? kBoundarySink : 0) << period;
  }
  LayerValues values;
  ASSERT_TRUE(family.ReadPackageLayer(data_type::kWells, 3, 2, values));
  EXPECT_EQ(values(1, 1), 5.0f);
  EXPECT_FALSE(family.ReadPackageLayer(data_type::kDrains, 1, 1, values));
}

}  // namespace
}  // namespace kestra
