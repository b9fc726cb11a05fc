// Finding the pathline under a point of the plan among the stored runs.
#include "graphics/stored_pathlines.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TrackSegment Move(int particle, int direction, PlanPoint from, PlanPoint to, double time) {
  TrackSegment s;
  s.particle = particle, s.direction = direction, s.from = from, s.to = to, s.time = time;
  return s;
}

TEST(StoredPathlines, ThePathlineUnderAPointGivesItsParticleAndTheTimeThere) {
  StoredPathlines paths;
  PathPoint release;
  release.time = 100;  // particle 1 starts late
  paths.ReleasePoint(1, 1, release);
  paths.Segment(Move(1, 1, {0, 0, 0}, {10, 0, 0}, 120));
  paths.Segment(Move(1, 1, {10, 0, 0}, {10, 10, 0}, 160));
  paths.Segment(Move(2, -1, {0, 20, 0}, {20, 20, 0}, 50));  // no release time: the move's own
  const struct {
    double x, y;
    int particle, direction;
    double time;
  } hits[] = {
      {5, 1, 1, 1, 110},    // halfway along the first move
      {11, 7.5, 1, 1, 150},  // three quarters along the second
      {10, 19, 2, -1, 50},
  };
  for (const auto& h : hits) {
    SCOPED_TRACE(h.x);
    const std::optional<PathlineHit> hit = paths.PathlineAt(h.x, h.y, 2);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->particle, h.particle);
    EXPECT_EQ(hit->direction, h.direction);
    EXPECT_DOUBLE_EQ(hit->time, h.time);
  }
  EXPECT_FALSE(paths.PathlineAt(5, 5, 2).has_value());  // farther than the reach from all
  paths.KeepParticles(1);
  EXPECT_FALSE(paths.PathlineAt(10, 19, 2).has_value());
  paths.Clear();
  EXPECT_FALSE(paths.PathlineAt(5, 1, 2).has_value());
}

}  // namespace
}  // namespace kestra
