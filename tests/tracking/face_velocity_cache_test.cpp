#include "tracking/face_velocity_cache.h"

#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "session/open_model.h"
#include "session/session.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "tracking/particle_set.h"

namespace kestra {
namespace {

bool SameBits(const FaceVelocities& a, const FaceVelocities& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The example: unconfined and convertible layers, inactive cells, wells,
// a river, recharge and evapotranspiration.
struct Example {
  Example() {
    test::RecordingInterface ui;
    NoViews views;
    opened = ImportNameFile((test::ExamplesDir() / "mixed3d" / "mixed3d.nam").string(), session, ui, views);
  }
  Session session;
  bool opened = false;
};

// Every cell of the grid, from the last to the first.
std::vector<CellIndex> CellsBackward(const ModelState& state) {
  std::vector<CellIndex> cells;
  for (int k = state.NLAY; k >= 1; --k)
    for (int i = state.NROW; i >= 1; --i)
      for (int j = state.NCOL; j >= 1; --j)
        cells.push_back({static_cast<std::int16_t>(j), static_cast<std::int16_t>(i), static_cast<std::int16_t>(k)});
  return cells;
}

TEST(FaceVelocityCache, GivesTheComputedVelocitiesBitForBitOnFirstAndLaterVisits) {
  Example example;
  ASSERT_TRUE(example.opened);
  Session& s = example.session;
  for (const int recharge : {0, 1, 2, 3}) {
    s.tracking.RechargeAssignment = recharge;
    s.tracking.EvapotranspirationAssignment = recharge % 2;
    FaceVelocityCache cache(s.model, s.settings, s.tracking);
    int nonZero = 0;
    for (int visit = 0; visit < 2; ++visit)
      for (const CellIndex c : CellsBackward(s.model)) {
        const FaceVelocities expected = GetFaceVelocities(s.model, s.settings, s.tracking, c.column, c.row, c.layer);
        ASSERT_TRUE(SameBits(cache.At(c.column, c.row, c.layer), expected))
            << "cell " << c.column << "," << c.row << "," << c.layer << " visit " << visit;
        nonZero += expected.VX1 != 0 || expected.VZ2 != 0;
      }
    EXPECT_GT(nonZero, 0);
  }
}

TEST(FaceVelocityCache, ThreadsFillingOneCacheAllSeeTheComputedVelocities) {
  Example example;
  ASSERT_TRUE(example.opened);
  const Session& s = example.session;
  FaceVelocityCache cache(s.model, s.settings, s.tracking);
  const std::vector<CellIndex> cells = CellsBackward(s.model);
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < mismatches.size(); ++t)
    threads.emplace_back([&, t] {
      // Each thread starts elsewhere, so that first visits race.
      for (std::size_t n = 0; n < cells.size(); ++n) {
        const CellIndex c = cells[(n + t * cells.size() / 8) % cells.size()];
        const FaceVelocities expected = GetFaceVelocities(s.model, s.settings, s.tracking, c.column, c.row, c.layer);
        mismatches[t] += !SameBits(cache.At(c.column, c.row, c.layer), expected);
      }
    });
  for (std::thread& thread : threads) thread.join();
  for (const int count : mismatches) EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace kestra
