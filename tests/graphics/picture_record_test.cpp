// The record of what a picture shows, drawn again for figures, and the
// progress meter that refreshes a picture as it moves.
#include "graphics/picture_record.h"

#include <gtest/gtest.h>

#include "graphics/progress.h"
#include "recording_picture.h"
#include "support/recording_interface.h"

namespace kestra {
namespace {

PictureElement Box(Colour colour, bool inverted = false) {
  return {ElementKind::Boxes, colour, inverted, {0, 0, 1, 1}};
}

TEST(PictureRecord, InvertedTwinsCancelAndRefreshDropsTheSurface) {
  PictureRecord record;
  record.SetCorners({0, 10, 10, 0});
  record.Add(Box(1), true);
  record.Add(Box(0, true), true);  // a section mark drawn
  record.Add(Box(2), true);
  record.Add(Box(0, true), true);  // and taken away again
  record.Add(Box(3), false);
  EXPECT_EQ(record.Persistent(), (std::vector<PictureElement>{Box(1), Box(2)}));
  ASSERT_EQ(record.Surface().size(), 1u);
  // Plain elements of one colour never cancel.
  record.Add(Box(1), true);
  EXPECT_EQ(record.Persistent().size(), 3u);
  record.Refresh();
  EXPECT_TRUE(record.Surface().empty());
  EXPECT_EQ(record.Persistent().size(), 3u);
  record.Add(Box(4, true), true);
  EXPECT_EQ(FilledColours(record), (std::vector<Colour>{1, 2}));
  record.SetCorners({0, 0, 1, 1});
  EXPECT_TRUE(record.Persistent().empty());
}

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
