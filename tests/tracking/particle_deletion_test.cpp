#include "tracking/particle_deletion.h"

#include <gtest/gtest.h>

#include "support/recording_interface.h"
#include "tracking/tracking_models.h"

namespace kestra {
namespace {

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
