#include "graphics/progress.h"

#include <gtest/gtest.h>

#include "recording_picture.h"
#include "support/recording_interface.h"

namespace kestra {
namespace {

TEST(UpdateProgress, MeterMovesOnlyInStepsOfFive) {
  test::RecordingInterface ui;
  test::RecordingPicture plan;
  int last = 0;
  EXPECT_FALSE(UpdateProgress(last, 3, ui, plan));
  EXPECT_FALSE(UpdateProgress(last, 4, ui, plan));
  EXPECT_FALSE(UpdateProgress(last, 9, ui, plan));
  EXPECT_EQ(ui.meterValues, std::vector<int>{9});
  EXPECT_EQ(last, 9);
  EXPECT_EQ(plan.refreshes, 1);
}

TEST(UpdateProgress, MeterStopsAtHundred) {
  test::RecordingInterface ui;
  test::RecordingPicture plan;
  int last = 0;
  UpdateProgress(last, 130, ui, plan);
  EXPECT_EQ(ui.meterValues, std::vector<int>{100});
}

TEST(UpdateProgress, EscapeBreaksOnlyWhenTheMeterMoves) {
  test::RecordingInterface ui;
  test::RecordingPicture plan;
  ui.escapeAnswer = true;
  int last = 10;
  EXPECT_FALSE(UpdateProgress(last, 12, ui, plan));
  EXPECT_TRUE(UpdateProgress(last, 15, ui, plan));
}

}  // namespace
}  // namespace kestra
