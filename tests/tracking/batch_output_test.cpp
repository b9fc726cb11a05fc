#include "tracking/batch_output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "core/number_format.h"
#include "support/temp_dir.h"
#include "tracking/particle_file.h"
#include "tracking_models.h"

namespace kestra {
namespace {

// Tracks the fixture's particles forward and backward into a batch output,
// on `threads` threads, and returns the pathline text.
std::string TrackIntoBatchOutput(test::TrackingFixture& f, int threads, PathlineLayout layout,
                                 std::vector<Endpoint>* endpoints = nullptr) {
  std::ostringstream text;
  BatchOutput output(f.state, f.particles.ParticleCount(), &text, layout);
  TrackingRun run = f.RunFor(output, threads);
  for (const TrackMode mode : {TrackMode::ForwardRun, TrackMode::BackwardRun}) {
    TrackParticles(run, mode, TrackKind::Interactive);
    output.Endpoints().AddMissing(f.particles, mode == TrackMode::ForwardRun ? 1 : -1);
  }
  if (endpoints) *endpoints = output.Endpoints().Endpoints();
  return text.str();
}

// A box with a swirling flow that takes particles through many cells and
// into the fixed heads of its last column.
std::unique_ptr<test::TrackingFixture> SwirlFixture() {
  ModelState state = test::BoxModel(12, 9, 3, 10, 10, 10, 0.25f);
  // Uneven widths: points on faces land a rounding step off them.
  for (int j = 1; j <= 12; ++j) state.DELR[j] = 3.7f + 0.93f * static_cast<float>(j);
  for (int i = 1; i <= 9; ++i) state.DELC[i] = 13.1f - 0.77f * static_cast<float>(i);
  ComputeGridGeometry(state);
  for (int k = 1; k <= 3; ++k)
    for (int i = 1; i <= 9; ++i)
      for (int j = 1; j <= 12; ++j) {
        state.QRIGHT(j, i, k) = 10 + 3 * std::sin(0.7f * static_cast<float>(i + k));
        state.QFRONT(j, i, k) = 4 * std::cos(0.5f * static_cast<float>(j + 2 * k));
        state.QLOWER(j, i, k) = k < 3 ? 0.3f : 0;
      }
  for (int i = 1; i <= 9; ++i)
    for (int k = 1; k <= 3; ++k) state.IBOUND(12, i, k) = state.IBOUND(1, i, k) = -1;
  auto f = std::make_unique<test::TrackingFixture>(std::move(state));
  f->Steps(40, 5);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> local(0.05f, 0.95f);
  for (int n = 0; n < 70; ++n)
    f->Add(2 + n % 10, 1 + n % 9, 1 + n % 3, local(random), local(random), local(random));
  return f;
}

TEST(BatchOutput, WritesWhileTrackingWhatTheReplayWritesOnAnyNumberOfThreads) {
  for (const int threads : {1, 2, 3}) {
    const auto f = SwirlFixture();
    const std::string written = TrackIntoBatchOutput(*f, threads, PathlineLayout::Kestra);
    EXPECT_GT(written.size(), 20000u);
    EXPECT_EQ(written, test::Replayed(*f)) << threads << " threads";
  }
}

TEST(BatchOutput, EndPointsAndTheMp7LayoutDoNotDependOnTheThreads) {
  const auto one = SwirlFixture(), three = SwirlFixture();
  std::vector<Endpoint> oneEnds, threeEnds;
  const std::string oneText = TrackIntoBatchOutput(*one, 1, PathlineLayout::Mp7, &oneEnds);
  EXPECT_EQ(TrackIntoBatchOutput(*three, 3, PathlineLayout::Mp7, &threeEnds), oneText);
  ASSERT_EQ(oneEnds.size(), 140u);
  for (std::size_t n = 0; n < oneEnds.size(); ++n)
    EXPECT_EQ(EndpointCsvLine(oneEnds[n]), EndpointCsvLine(threeEnds[n]));
}

// Particle 1 sinks into a layer-2 cell without thickness; particles 2 and 3
// come after it.
std::unique_ptr<test::TrackingFixture> FaultFixture() {
  ModelState state = test::BoxModel(4, 1, 2, 10, 10, 10, 0.25f);
  for (int j = 1; j <= 4; ++j) state.QLOWER(j, 1, 1) = 25;
  state.TOP(1, 1, 2) = state.BOT(1, 1, 2);
  auto f = std::make_unique<test::TrackingFixture>(std::move(state));
  f->Add(1, 1, 1, 0.5f, 0.5f, 0.5f);
  f->Add(2, 1, 1, 0.5f, 0.5f, 0.5f);
  f->Add(3, 1, 1, 0.5f, 0.5f, 0.5f);
  return f;
}

TEST(BatchOutput, ParticlesARunEndedBeforeAreListedAsNotTracked) {
  for (const int threads : {1, 2}) {
    const auto f = FaultFixture();
    std::vector<Endpoint> ends;
    TrackIntoBatchOutput(*f, threads, PathlineLayout::Kestra, &ends);
    ASSERT_EQ(f->ui.messages.size(), 1u);
    EXPECT_NE(f->ui.messages[0].text.find("(1,1,2)"), std::string::npos) << f->ui.messages[0].text;
    ASSERT_EQ(ends.size(), 6u);  // three particles, two directions
    EXPECT_EQ(ends[0].end, TrackEnd::ThicknessFault);
    EXPECT_EQ(ends[0].finalCell, (CellIndex{1, 1, 2}));
    for (const int n : {2, 4}) {
      EXPECT_FALSE(ends[n].tracked) << n;
      EXPECT_EQ(ends[n].finalCell, ends[n].releaseCell);
      EXPECT_EQ(ends[n].time, 0);
      EXPECT_NE(EndpointCsvLine(ends[n]).find("not tracked"), std::string::npos);
    }
    // The backward run is a run of its own: nothing stops it.
    for (const int n : {1, 3, 5}) EXPECT_TRUE(ends[n].tracked) << n;
  }
}

TEST(BatchOutput, FinalPointsReadBackAsAParticleFile) {
  // Particles end on the faces of the fixed-head cells they enter: their
  // local coordinates must stay within 0..1 so that a particle file made of
  // the end points reads back whole.
  const auto f = SwirlFixture();
  std::vector<Endpoint> ends;
  TrackIntoBatchOutput(*f, 1, PathlineLayout::Kestra, &ends);
  std::string file = "KESTRA_V100_PARTICLES\r\n" + NumberText(static_cast<int>(ends.size())) + " \r\n";
  for (const Endpoint& e : ends) {
    for (const float c : {e.finalLocal.x, e.finalLocal.y, e.finalLocal.z}) {
      EXPECT_GE(c, 0.0f);
      EXPECT_LE(c, 1.0f);
    }
    // The final cell and point, as the CSV writes them.
    const std::string line = EndpointCsvLine(e);
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    file += fields[11] + " " + fields[12] + " " + fields[13] + " " + fields[8] + " " + fields[9] + " " + fields[10] +
            " 0 255 1\r\n";
  }
  test::TempDir dir;
  test::WriteWholeFile(dir.File("ends.par"), file);
  ParticleSet set;
  std::vector<ParticleFault> faults;
  ASSERT_TRUE(ReadParticleFile(dir.File("ends.par"), f->state, set, f->ui, ParticleLimit::None, &faults));
  EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front().reason;
  EXPECT_EQ(set.ParticleCount(), static_cast<int>(ends.size()));
}

}  // namespace
}  // namespace kestra
