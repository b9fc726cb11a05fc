// The particle set, and the particle file it is saved in and loaded from.
#include "tracking/particle_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "tracking/particle_set.h"
#include "tracking_models.h"

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

struct ParticleFiles {
  ParticleFiles() : state(test::BoxModel(20, 10, 2, 10, 10, 5, 0.25f)) {}
  bool Read(const std::string& contents) {
    test::WriteWholeFile(dir.File("p.txt"), contents);
    return ReadParticleFile(dir.File("p.txt"), state, set, ui);
  }
  test::TempDir dir;
  ModelState state;
  ParticleSet set;
  test::RecordingInterface ui;
};

TEST(ParticleFile, WritesTheMagicLineTheCountAndOneLinePerParticle) {
  ParticleFiles f;
  f.set.DefaultRetardation = 1;
  ASSERT_TRUE(AddParticle(f.set, {12, 7, 1}, {0.5f, 0.25f, 0.5f}, 3.75f, f.ui));
  f.set.DefaultParticleColor = 65535;
  f.set.DefaultRetardation = 1e-5;
  ASSERT_TRUE(AddParticle(f.set, {1, 2, 2}, {0.1f, 1, 0}, -2, f.ui));
  ASSERT_TRUE(WriteParticleFile(f.dir.File("out.txt"), f.set, f.ui));
  EXPECT_EQ(test::ReadWholeFile(f.dir.File("out.txt")),
            "KESTRA_V100_PARTICLES\r\n 2 \r\n"
            "0.5 0.25 0.5 12 7 1 3.75 255 1\r\n"
            "0.1 1 0 1 2 2 -2 65535 1E-05\r\n");
}

TEST(ParticleFile, EmptySetWritesTheHeaderOnlyAndReadsBackAsNothing) {
  ParticleFiles f;
  ASSERT_TRUE(WriteParticleFile(f.dir.File("empty.txt"), f.set, f.ui));
  EXPECT_EQ(test::ReadWholeFile(f.dir.File("empty.txt")), "KESTRA_V100_PARTICLES\r\n 0 \r\n");
  EXPECT_TRUE(ReadParticleFile(f.dir.File("empty.txt"), f.state, f.set, f.ui));
  EXPECT_EQ(f.set.ParticleCount(), 0);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(ParticleFile, SaveAndLoadGiveTheSameReleasePointsColoursAndRetardations) {
  ParticleFiles f;
  f.set.DefaultRetardation = 3.25;
  f.set.DefaultParticleColor = 123456;
  ASSERT_TRUE(AddParticle(f.set, {20, 10, 2}, {0.123457f, 0.9999f, 0.0001f}, 1.5e-7f, f.ui));
  ASSERT_TRUE(WriteParticleFile(f.dir.File("p.txt"), f.set, f.ui));
  ParticleSet loaded;
  loaded.DefaultParticleColor = 1;
  ASSERT_TRUE(ReadParticleFile(f.dir.File("p.txt"), f.state, loaded, f.ui));
  ASSERT_EQ(loaded.ParticleCount(), 1);
  const ParticleRecord& p = loaded.Particles[0];
  EXPECT_EQ(p.startCell, (CellIndex{20, 10, 2}));
  EXPECT_EQ(p.startLocal, f.set.Particles[0].startLocal);
  EXPECT_EQ(p.StartElevation, 1.5e-7f);
  EXPECT_EQ(p.ParticleColor, 123456);
  EXPECT_EQ(p.Retardation, 3.25f);
  EXPECT_EQ(p.forward.cell, p.startCell);
}

TEST(ParticleFile, LoadedParticlesAreAppendedInAnyFreeFormat) {
  ParticleFiles f;
  ASSERT_TRUE(AddParticle(f.set, {1, 1, 1}, {}, 0, f.ui));
  ASSERT_TRUE(f.Read("KESTRA_V100_PARTICLES\n2\n0.5,0.5,0.5,3,4,1,2,255,1 0.2\n0.2 0.2 5 6 2 1 0 2\n"));
  ASSERT_EQ(f.set.ParticleCount(), 3);
  EXPECT_EQ(f.set.Particles[2].startCell, (CellIndex{5, 6, 2}));
  EXPECT_EQ(f.set.Particles[2].Retardation, 2);
}

TEST(ParticleFile, AnythingButTheExactMagicLineIsRejected) {
  ParticleFiles f;
  EXPECT_FALSE(f.Read("KESTRA_V100_PARTICLES  \r\n 1 \r\n0.5 0.5 0.5 1 1 1 0 255 1\r\n"));
  EXPECT_EQ(f.set.ParticleCount(), 0);
  EXPECT_EQ(f.ui.LastMessage(), "The selected file does not contain particle information");
  EXPECT_FALSE(f.Read(""));
}

TEST(ParticleFile, LoadingPastTheLimitKeepsWhatFitsAndSaysSoOnce) {
  ParticleFiles f;
  f.set.Particles.resize(kMaxParticles - 2);
  std::string contents = "KESTRA_V100_PARTICLES\r\n 3 \r\n";
  for (int n = 0; n < 3; ++n) contents += "0.5 0.5 0.5 1 1 1 0 255 1\r\n";
  EXPECT_TRUE(f.Read(contents));
  EXPECT_EQ(f.set.ParticleCount(), kMaxParticles);
  EXPECT_EQ(f.ui.messages.size(), 1u);
}

TEST(ParticleFile, ParticlesThatDoNotFitTheModelAreSkippedAndCounted) {
  ParticleFiles f;
  EXPECT_TRUE(f.Read("KESTRA_V100_PARTICLES\r\n 6 \r\n"
                     "0.5 0.5 0.5 21 1 1 0 255 1\r\n"     // column outside
                     "0.5 0.5 0.5 1 1 3 0 255 1\r\n"      // layer outside
                     "1.5 0.5 0.5 1 1 1 0 255 1\r\n"      // point outside the cell
                     "0.5 0.5 0.5 1 1 1 0 255 0\r\n"      // no retardation
                     "0.5 0.5 0.5 1 1 1 0 255 nan\r\n"    // not a number: 0
                     "0.5 0.5 0.5 2 1 1 0 255 1\r\n"));
  ASSERT_EQ(f.set.ParticleCount(), 1);
  EXPECT_EQ(f.set.Particles[0].startCell.column, 2);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_NE(f.ui.messages[0].text.find(" 5"), std::string::npos);
}

TEST(ParticleFile, ATruncatedLastLineAddsNothing) {
  ParticleFiles f;
  const std::string full = "KESTRA_V100_PARTICLES\r\n 2 \r\n0.5 0.5 0.5 1 1 1 0 255 1\r\n0.5 0.5 0.5 2 1 1 0 255 1\r\n";
  const std::size_t firstParticleEnd = full.find("\r\n0.5 0.5 0.5 2");
  for (std::size_t length = 0; length < full.size() - 2; ++length) {
    ParticleSet set;
    test::WriteWholeFile(f.dir.File("cut.txt"), full.substr(0, length));
    ReadParticleFile(f.dir.File("cut.txt"), f.state, set, f.ui);
    EXPECT_EQ(set.ParticleCount(), length >= firstParticleEnd ? 1 : 0) << length;
  }
}

TEST(ParticleFile, AMissingFileOrAFolderIsRefusedWithTheSystemsReason) {
  ParticleFiles f;
  EXPECT_FALSE(ReadParticleFile(f.dir.File("none.txt"), f.state, f.set, f.ui));
  EXPECT_EQ(f.ui.LastMessage(), "No such file or directory");
  std::filesystem::create_directory(f.dir.path() / "particles");
  EXPECT_FALSE(ReadParticleFile(f.dir.File("particles"), f.state, f.set, f.ui));
  EXPECT_EQ(f.ui.LastMessage(), "Is a directory");
  EXPECT_EQ(f.set.ParticleCount(), 0);
}

}  // namespace
}  // namespace kestra
