#include "tracking/run_progress.h"

#include <gtest/gtest.h>

#include "support/recording_interface.h"
#include "tracking_models.h"

namespace kestra {
namespace {

using test::RecordingInterface;
using test::RecordingObserver;

TEST(ObserverFanOut, EveryObserverHearsEveryEventInOrder) {
  RecordingObserver first, second;
  ObserverFanOut both({&first, &second});
  PathPoint point;
  point.point = {1, 2, 3};
  both.ReleasePoint(4, -1, point);
  both.Segment(TrackSegment{.particle = 4, .direction = -1});
  both.PointReached(4, -1, point);
  both.TimeMark(4, -1, {}, {5, 6, 7});
  both.DirectionMark(4, {}, {});
  both.ParticleEnd(4, -1, TrackState{}, TrackEnd::LeftGrid);
  for (const RecordingObserver* o : {&first, &second}) {
    ASSERT_EQ(o->releases.size(), 1u);
    EXPECT_EQ(o->releases[0].direction, -1);
    EXPECT_EQ(o->segments.size(), 1u);
    EXPECT_EQ(o->points.size(), 1u);
    ASSERT_EQ(o->markPoints.size(), 1u);
    EXPECT_EQ(o->markPoints[0].Y, 6);
    EXPECT_EQ(o->directionMarks, std::vector<int>{4});
    ASSERT_EQ(o->ends.size(), 1u);
    EXPECT_EQ(o->ends[0].end, TrackEnd::LeftGrid);
  }
}

TEST(RunProgress, HintNamesTheDirectionAndTheMeterFollowsTheParticles) {
  RecordingInterface ui;
  {
    RunProgress progress(ui, 4, 1);
    EXPECT_EQ(ui.hint, "Tracking forward: 4 particles (Esc stops)");
    for (int particle = 1; particle <= 4; ++particle) progress.ParticleEnd(particle, 1, {}, TrackEnd::ReachedStopTime);
    EXPECT_EQ(ui.meterValues, (std::vector<int>{1, 25, 50, 75, 100}));
  }
  // Ended: the meter and the hint are cleared.
  EXPECT_EQ(ui.meterValues.back(), 0);
  EXPECT_EQ(ui.hint, "");
  RunProgress backward(ui, 4, -1);
  EXPECT_EQ(ui.hint, "Tracking backward: 4 particles (Esc stops)");
}

TEST(RunProgress, ManyParticlesMoveTheMeterOnlyWhenThePercentChanges) {
  RecordingInterface ui;
  RunProgress progress(ui, 1000, 1);
  for (int particle = 1; particle <= 1000; ++particle) progress.ParticleEnd(particle, 1, {}, TrackEnd::LeftGrid);
  // 1 % from the start, then every whole percent once.
  ASSERT_EQ(ui.meterValues.size(), 100u);
  EXPECT_EQ(ui.meterValues.front(), 1);
  EXPECT_EQ(ui.meterValues.back(), 100);
  EXPECT_EQ(RunHint(1, 1), "Tracking forward: 1 particle (Esc stops)");
}

}  // namespace
}  // namespace kestra
