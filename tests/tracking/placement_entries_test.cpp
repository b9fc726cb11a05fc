#include "tracking/placement_entries.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(PlacementEntries, RadiusAndCirclePlanesCountOnlyWithParticlesOnCircles) {
  EXPECT_EQ(CheckPlacementEntries(0, 0, 0, 0).field, PlacementField::Retardation);
  EXPECT_EQ(CheckPlacementEntries(-1, 0, 0, 0).field, PlacementField::Retardation);
  EXPECT_EQ(CheckPlacementEntries(1, 0, -5, 101).field, PlacementField::None);
  EXPECT_EQ(CheckPlacementEntries(1, 3, -5, 1).message, "Please enter a correct value for the radius.");
  EXPECT_EQ(CheckPlacementEntries(1, 3, 5, 101).field, PlacementField::CirclePlanes);
  EXPECT_EQ(CheckPlacementEntries(1, 3, 0, 100).field, PlacementField::None);
}

}  // namespace
}  // namespace kestra
