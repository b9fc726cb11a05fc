#include "tracking/particle_set.h"

#include <gtest/gtest.h>

#include "support/recording_interface.h"

namespace kestra {
namespace {

constexpr const char* kLimitMessage = "Too many particles, the maximum number of particles is  5000";

TEST(AddParticle, NewParticlesStartAtTheirReleasePointWithTheDefaults) {
  ParticleSet set;
  set.DefaultParticleColor = 65280;
  set.DefaultRetardation = 2.5;
  test::RecordingInterface ui;
  ASSERT_TRUE(AddParticle(set, {3, 2, 1}, {0.5f, 0.25f, 0.75f}, 7.5f, ui));
  const ParticleRecord& p = set.Particles[0];
  EXPECT_EQ(p.forward.cell, (CellIndex{3, 2, 1}));
  EXPECT_EQ(p.backward.local, (LocalPoint{0.5f, 0.25f, 0.75f}));
  EXPECT_EQ(p.ParticleColor, 65280);
  EXPECT_EQ(p.Retardation, 2.5f);
  EXPECT_EQ(p.PenWidth, 1);
  EXPECT_EQ(p.forward.lastElevation, 7.5f);
  EXPECT_FALSE(p.backward.stopped);
}

TEST(AddParticle, TheSetHoldsAtMostFiveThousand) {
  ParticleSet set;
  test::RecordingInterface ui;
  set.Particles.resize(kMaxParticles);
  EXPECT_FALSE(AddParticle(set, {1, 1, 1}, {}, 0, ui));
  EXPECT_EQ(set.ParticleCount(), kMaxParticles);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kLimitMessage);
  EXPECT_EQ(ui.messages[0].title, kErrorTitle);
  EXPECT_EQ(ui.beeps, 1);
}

TEST(AddParticleGroup, AddsAllOrNone) {
  ParticleSet set;
  test::RecordingInterface ui;
  set.Particles.resize(kMaxParticles - 2);
  const std::vector<ParticleRecord> three(3, NewParticle(set, {1, 1, 1}, {}, 0));
  EXPECT_FALSE(AddParticleGroup(set, three, ui));
  EXPECT_EQ(set.ParticleCount(), kMaxParticles - 2);
  EXPECT_TRUE(AddParticleGroup(set, {three.begin(), three.begin() + 2}, ui));
  EXPECT_EQ(set.ParticleCount(), kMaxParticles);
}

struct TrackedSet {
  TrackedSet() {
    set.Particles.push_back(NewParticle(set, {2, 2, 1}, {0.5f, 0.5f, 0.5f}, 3));
    ParticleRecord& p = set.Particles[0];
    p.forward = {{5, 2, 1}, {0.1f, 0.2f, 0.3f}, true, 40, 40, 1};
    p.backward = {{1, 2, 1}, {0.9f, 0.2f, 0.3f}, false, 12, 12, 2};
  }
  ParticleSet set;
};

// A reset of positions keeps the times, a reset of times the positions; a
// replay starts from the release points but runs to the old time limits.
TEST(ParticleSet, ResetsAndTheReplayEachKeepWhatTheyShould) {
  TrackedSet positions, times, replay;
  ResetParticlePositions(positions.set);
  ResetParticleTimes(times.set);
  PrepareReplay(replay.set);
  const ParticleRecord& p = positions.set.Particles[0];
  EXPECT_EQ(p.forward.cell, p.startCell);
  EXPECT_EQ(p.backward.local, p.startLocal);
  EXPECT_FALSE(p.forward.stopped);
  EXPECT_EQ(p.backward.lastElevation, 3);
  EXPECT_EQ(p.forward.time, 40);
  const ParticleRecord& t = times.set.Particles[0];
  EXPECT_EQ(t.forward.time + t.forward.timeLimit + t.backward.time + t.backward.timeLimit, 0);
  const ParticleRecord& r = replay.set.Particles[0];
  EXPECT_EQ(r.forward.cell, r.startCell);
  EXPECT_EQ(r.forward.time, 0);
  EXPECT_EQ(r.forward.timeLimit, 40);
  EXPECT_EQ(r.backward.timeLimit, 12);
}

}  // namespace
}  // namespace kestra
