#include "graphics/progress.h"

#include <gtest/gtest.h>

#include "recording_picture.h"
#include "support/recording_interface.h"

namespace kestra {
namespace {

class ProgressMeter : public testing::Test {
 protected:
  bool Update(int percent) { return UpdateProgress(last, percent, ui, plan); }
  test::RecordingInterface ui;
  test::RecordingPicture plan;
  int last = 0;
};

TEST_F(ProgressMeter, MeterMovesOnlyInStepsOfFiveAndStopsAtHundred) {
  EXPECT_FALSE(Update(3));
  EXPECT_FALSE(Update(4));
  EXPECT_FALSE(Update(9));
  EXPECT_EQ(ui.meterValues, std::vector<int>{9});
  EXPECT_EQ(last, 9);
  EXPECT_EQ(plan.refreshes, 1);
  Update(130);
  EXPECT_EQ(ui.meterValues, (std::vector<int>{9, 100}));
}

TEST_F(ProgressMeter, EscapeBreaksOnlyWhenTheMeterMoves) {
  ui.escapeAnswer = true;
  last = 10;
  EXPECT_FALSE(Update(12));
  EXPECT_TRUE(Update(15));
}

}  // namespace
}  // namespace kestra
