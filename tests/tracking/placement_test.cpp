// Where particles are placed and removed on the plan, and the checks of the
// placement entries.
#include "tracking/placement.h"

#include <gtest/gtest.h>

#include "tracking/particle_deletion.h"
#include "tracking/placement_entries.h"

#include "support/recording_interface.h"
#include "tracking_models.h"

namespace kestra {
namespace {

// Columns 40 m wide and rows 20 m high: the centre of cell (3, 3) is (100, 50).
struct Placement {
  Placement() : state(test::BoxModel(5, 5, 2, 40, 20, 10, 0.25f)) {}
  std::vector<ParticleRecord> Place(const PlacementCounts& counts, std::vector<CellIndex> cells = {{3, 3, 1}}) {
    return PlacementParticles(state, settings, set, cells, counts, 1);
  }
  ModelState state;
  Settings settings;
  ParticleSet set;
  test::RecordingInterface ui;
};

TEST(SelectedCells, TakesActiveCellsWhoseCentresLieInTheRectangle) {
  Placement p;
  p.state.IBOUND(2, 2, 1) = 0;
  // Corners in any order; centres at x = 20, 60, 100 ... and y = 10, 30, 50 ...
  const auto cells = SelectedCells(p.state, {100, 30, 20, 10}, 1);
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_EQ(cells[0], (CellIndex{1, 1, 1}));
  EXPECT_EQ(cells[3], (CellIndex{1, 2, 1}));  // rows outer; (2, 2) is inactive
  EXPECT_EQ(cells[4], (CellIndex{3, 2, 1}));
  EXPECT_TRUE(SelectedCells(p.state, {0, 0, 5, 5}, 1).empty());
}

TEST(PlacementParticles, FaceParticlesSitOnASubdivisionJustInsideTheFace) {
  Placement p;
  PlacementCounts counts;
  counts.faces[0] = {2, 1};  // face 1, NI x NK
  const auto particles = p.Place(counts);
  ASSERT_EQ(particles.size(), 2u);
  EXPECT_EQ(particles[0].startLocal, (LocalPoint{0.0001f, 0.25f, 0.5f}));
  EXPECT_EQ(particles[1].startLocal, (LocalPoint{0.0001f, 0.75f, 0.5f}));
  counts.faces[0] = {};
  counts.faces[4] = {1, 2};  // face 5 (top), NI x NJ
  const auto top = p.Place(counts);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[1].startLocal, (LocalPoint{0.75f, 0.5f, 0.9999f}));
  EXPECT_FLOAT_EQ(top[1].StartElevation, 10 + 0.9999f * 10);
}

TEST(PlacementParticles, OneParticlePerCellSitsAtItsCentre) {
  Placement p;
  PlacementCounts counts;
  counts.latticeColumns = counts.latticeRows = counts.latticePlanes = 1;
  const auto particles = p.Place(counts, {{1, 1, 1}, {2, 1, 1}});
  ASSERT_EQ(particles.size(), 2u);
  EXPECT_EQ(particles[1].startCell, (CellIndex{2, 1, 1}));
  EXPECT_EQ(particles[1].startLocal, (LocalPoint{0.5f, 0.5f, 0.5f}));
}

TEST(PlacementParticles, CirclePointsGoRoundClockwiseOnThePlan) {
  Placement p;
  PlacementCounts counts;
  counts.circleCount = 4;
  counts.circleRadius = 10;
  counts.circlePlanes = 1;
  const auto particles = p.Place(counts);
  ASSERT_EQ(particles.size(), 4u);
  auto planX = [&](const ParticleRecord& r) { return p.state.XEDGE[r.startCell.column - 1] + r.startLocal.x * 40; };
  auto planY = [&](const ParticleRecord& r) { return p.state.YEDGE[r.startCell.row - 1] + r.startLocal.y * 20; };
  const float expected[4][2] = {{100, 60}, {90, 50}, {100, 40}, {110, 50}};
  for (int n = 0; n < 4; ++n) {
    EXPECT_NEAR(planX(particles[n]), expected[n][0], 1e-4) << n;
    EXPECT_NEAR(planY(particles[n]), expected[n][1], 1e-4) << n;
  }
  EXPECT_EQ(particles[0].startCell.row, 4);  // y = 60 is the upper edge of row 4
}

TEST(PlacementParticles, CirclePointsOutsideTheGridAreLeftOutAndOthersGoToTheirCell) {
  Placement p;
  p.state.IBOUND(2, 1, 1) = 0;
  PlacementCounts counts;
  counts.circleCount = 4;
  counts.circleRadius = 25;
  counts.circlePlanes = 2;
  const auto particles = p.Place(counts, {{1, 1, 1}});  // centre (20, 10)
  // The points at 180 and 270 degrees lie outside the grid; the one at 360
  // degrees, (45, 10), lies in the inactive cell (2, 1).
  ASSERT_EQ(particles.size(), 4u);
  EXPECT_EQ(particles[0].startCell, (CellIndex{1, 2, 1}));
  EXPECT_EQ(particles[1].startCell, (CellIndex{2, 1, 1}));
  EXPECT_FLOAT_EQ(particles[3].startLocal.z, 0.75f);
}

TEST(PlaceParticleGroups, AddsTheWholePlacementOrNothing) {
  Placement p;
  PlacementCounts counts;
  counts.latticeColumns = 2;
  counts.latticeRows = counts.latticePlanes = 1;
  p.set.Particles.resize(kMaxParticles - 3);
  EXPECT_EQ(PlaceParticleGroups(p.state, p.settings, p.set, {{1, 1, 1}, {2, 1, 1}}, counts, 1, p.ui), 0);
  EXPECT_EQ(p.set.ParticleCount(), kMaxParticles - 3);
  EXPECT_EQ(p.ui.messages.size(), 1u);
  EXPECT_EQ(PlaceParticleGroups(p.state, p.settings, p.set, {{1, 1, 1}}, counts, 1, p.ui), 2);
}

TEST(ElevationOfLocalHeight, UsesTheWaterTableOfUnconfinedCells) {
  Placement p;
  p.state.HEAD(1, 1, 1) = 14;  // layer 1: bottom 10, top 20
  EXPECT_FLOAT_EQ(ElevationOfLocalHeight(p.state, p.settings, {1, 1, 1}, 0.5f), 15);
  p.state.LAYCON[1] = 1;
  EXPECT_FLOAT_EQ(ElevationOfLocalHeight(p.state, p.settings, {1, 1, 1}, 0.5f), 12);
  p.state.LAYCON[1] = 3;
  p.state.HEAD(1, 1, 1) = 25;
  EXPECT_FLOAT_EQ(ElevationOfLocalHeight(p.state, p.settings, {1, 1, 1}, 0.5f), 15);
  p.state.HEAD(1, 1, 1) = p.settings.HNOFLO;
  EXPECT_FLOAT_EQ(ElevationOfLocalHeight(p.state, p.settings, {1, 1, 1}, 0.5f), 15);
}

TEST(SuggestedPlacement, OffersFourParticlesInsideEachCellAtMidHeight) {
  Placement p;
  const auto placed = p.Place(SuggestedPlacementCounts(), {{3, 3, 1}, {4, 3, 1}});
  ASSERT_EQ(placed.size(), 8u);
  EXPECT_EQ(placed[0].startCell, (CellIndex{3, 3, 1}));
  EXPECT_FLOAT_EQ(placed[0].startLocal.x, 0.25f);
  EXPECT_FLOAT_EQ(placed[3].startLocal.y, 0.75f);
  for (const ParticleRecord& particle : placed) EXPECT_FLOAT_EQ(particle.startLocal.z, 0.5f);
}

TEST(PlacementEntries, RadiusAndCirclePlanesCountOnlyWithParticlesOnCircles) {
  EXPECT_EQ(CheckPlacementEntries(0, 0, 0, 0).field, PlacementField::Retardation);
  EXPECT_EQ(CheckPlacementEntries(-1, 0, 0, 0).field, PlacementField::Retardation);
  EXPECT_EQ(CheckPlacementEntries(1, 0, -5, 101).field, PlacementField::None);
  EXPECT_EQ(CheckPlacementEntries(1, 3, -5, 1).message, "Please enter a correct value for the radius.");
  EXPECT_EQ(CheckPlacementEntries(1, 3, 5, 101).field, PlacementField::CirclePlanes);
  EXPECT_EQ(CheckPlacementEntries(1, 3, 0, 100).field, PlacementField::None);
}

TEST(ParticleDeletion, RemovesReleasePointsInsideTheRectangleOfTheLayerOnly) {
  const ModelState model = test::BoxModel(4, 4, 2, 10, 10, 10, 0.25f);
  ParticleSet set;
  test::RecordingInterface ui;
  AddParticle(set, {1, 1, 1}, {0.5f, 0.5f, 0.5f}, 5, ui);  // (5, 5): inside
  AddParticle(set, {3, 3, 1}, {0.5f, 0.5f, 0.5f}, 5, ui);  // (25, 25): outside
  AddParticle(set, {2, 1, 2}, {0.5f, 0.5f, 0.5f}, 5, ui);  // inside, but layer 2
  AddParticle(set, {2, 2, 1}, {0.1f, 0.1f, 0.5f}, 5, ui);  // (11, 11): inside
  EXPECT_EQ(DeleteParticlesInside(set, model, {20, 20, 0, 0}, 1), 2);
  ASSERT_EQ(set.ParticleCount(), 2);
  EXPECT_EQ(set.Particles[0].startCell, (CellIndex{3, 3, 1}));
  EXPECT_EQ(set.Particles[1].startCell, (CellIndex{2, 1, 2}));
}

}  // namespace
}  // namespace kestra
