#include "graphics/contour_labels.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(LabelAngle, FollowsTheDirectionInEveryQuadrant) {
  EXPECT_EQ(LabelAngle(0, 0, 0, -1), 270);
  EXPECT_EQ(LabelAngle(0, 0, 0, 0), 270);
  EXPECT_EQ(LabelAngle(0, 0, 0, 2), 90);
  EXPECT_FLOAT_EQ(LabelAngle(0, 0, 1, 1), 45);
  EXPECT_FLOAT_EQ(LabelAngle(0, 0, -1, 1), 135);
  EXPECT_FLOAT_EQ(LabelAngle(0, 0, -1, -1), 225);
  EXPECT_FLOAT_EQ(LabelAngle(1, 1, 2, 0), -45);
}

TEST(LabelAngle, DirectionsAreComparedWholeTurnsApart) {
  EXPECT_TRUE(AnglesWithin(355, 3, 10));
  EXPECT_TRUE(AnglesWithin(-90, 270, 10));
  EXPECT_TRUE(AnglesWithin(-45, 314, 10));
  EXPECT_FALSE(AnglesWithin(355, 5, 10));
  EXPECT_FALSE(AnglesWithin(0, 180, 10));
}

TEST(ContourLabelText, FixedAndExponentialFormsWithPrefixAndSuffix) {
  Settings settings;
  settings.labelStyle = 0;
  settings.labelDecimals = 2;
  EXPECT_EQ(ContourLabelText(12.5f, settings), "12.50");
  settings.labelPrefix = "h=";
  settings.labelSuffix = " m";
  EXPECT_EQ(ContourLabelText(12.5f, settings), "h=12.50 m");
  settings.labelPrefix = settings.labelSuffix = "";
  settings.labelStyle = 1;
  EXPECT_EQ(ContourLabelText(12.5f, settings), "1.25E+01");
  settings.labelStyle = 0;
  settings.labelDecimals = 0;
  EXPECT_EQ(ContourLabelText(-3.0f, settings), "-3.");
}

std::vector<PicturePoint> Straight(float length, float step) {
  std::vector<PicturePoint> points;
  for (float x = 0; x <= length; x += step) points.push_back({x, 0});
  return points;
}

TEST(PlaceLabels, StartHalfASpacingInAndRepeatEverySpacing) {
  const auto places = PlaceLabels(Straight(100, 10), 5, 40);
  // At 100 the line ends before a label 5 long would: no third label.
  ASSERT_EQ(places.size(), 2u);
  EXPECT_FLOAT_EQ(places[0].p.x, 20);
  EXPECT_FLOAT_EQ(places[0].q.x, 25);
  EXPECT_EQ(places[0].pSegment, 1u);  // at the end of the segment from 10 to 20
  EXPECT_EQ(places[0].qSegment, 2u);
  EXPECT_DOUBLE_EQ(places[0].pLength, 20);
  EXPECT_DOUBLE_EQ(places[0].qLength, 25);
  EXPECT_FLOAT_EQ(places[1].p.x, 60);
  EXPECT_FLOAT_EQ(places[1].q.x, 65);
}

TEST(PlaceLabels, LabelEndIsFoundOnTheSegmentBeyondItsStart) {
  // Points 10 apart, a label 12 long from 15: it ends on the segment after the next.
  const auto places = PlaceLabels(Straight(50, 10), 12, 30);
  ASSERT_EQ(places.size(), 1u);
  EXPECT_FLOAT_EQ(places[0].p.x, 15);
  EXPECT_NEAR(places[0].q.x, 27, 0.2f);  // within one of the 50 search steps
  EXPECT_GE(places[0].q.x, 27);
  EXPECT_EQ(places[0].qSegment, 2u);
}

TEST(PlaceLabels, ShortLinesAndEmptySpacingGetNone) {
  EXPECT_TRUE(PlaceLabels(Straight(19, 1), 2, 40).empty());  // shorter than half the spacing
  EXPECT_TRUE(PlaceLabels(Straight(100, 10), 5, 0).empty());
  EXPECT_TRUE(PlaceLabels(Straight(100, 10), 5, -3).empty());
  EXPECT_TRUE(PlaceLabels(Straight(100, 10), 0, 40).empty());
  EXPECT_TRUE(PlaceLabels(Straight(30, 10), 15, 40).empty());  // ends less than a width after P
}

TEST(PlaceLabels, LabelsNeverOverlapWhenTheSpacingIsShorterThanThem) {
  const auto places = PlaceLabels(Straight(100, 1), 10, 4);
  ASSERT_GE(places.size(), 5u);
  for (std::size_t n = 1; n < places.size(); ++n) EXPECT_GE(places[n].pLength, places[n - 1].qLength);
}

TEST(PlaceLabels, TinySpacingOnALongLineEnds) {
  // Labels a thousandth long every thousandth along 100 000 units: a
  // thousand at most, not a hundred million.
  const auto places = PlaceLabels(Straight(100000, 1), 1.0E-3f, 1.0E-3f);
  EXPECT_GE(places.size(), 999u);
  EXPECT_LE(places.size(), 1001u);
}

TEST(PlaceLabels, PlaceWhereTheLineBendsUnderTheLabelIsAbandoned) {
  // East 10, then a long way south (plan y grows): the label at 8 would turn the corner.
  const std::vector<PicturePoint> line = {{0, 0}, {10, 0}, {10, 50}};
  const auto places = PlaceLabels(line, 5, 16);
  ASSERT_EQ(places.size(), 2u);
  EXPECT_FLOAT_EQ(places[0].p.x, 10);
  EXPECT_FLOAT_EQ(places[0].p.y, 14);
  EXPECT_FLOAT_EQ(places[1].p.y, 30);
}

}  // namespace
}  // namespace kestra
