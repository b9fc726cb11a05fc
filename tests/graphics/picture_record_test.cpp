// The record of what a picture shows, drawn again for figures.
#include "graphics/picture_record.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kestra
