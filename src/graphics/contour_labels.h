// Where the labels of a contour line go and what they say.
#pragma once

#include <string>
#include <vector>

#include "graphics/picture.h"
#include "settings/settings.h"

namespace kestra {

// Direction from (x1, y1) to (x2, y2) in degrees, counter-clockwise from the
// x axis of the frame the points are given in: 90 or 270 when dx is 0
// (270 for dy <= 0), else arctangent(dy / dx) plus 180 when dx < 0.
float LabelAngle(float x1, float y1, float x2, float y2);

// Whether two directions in degrees differ by less than `limit`, whole
// turns apart counting as the same direction.
bool AnglesWithin(float a, float b, float limit);

// LabelPrefix, the level in the label style with its decimals, LabelSuffix.
std::string ContourLabelText(float level, const Settings& settings);

// One accepted label: it starts at P on segment pSegment (from point
// pSegment to pSegment + 1) and ends at Q on segment qSegment; the line is
// left out between the arc lengths pLength and qLength.
struct LabelPlace {
  PicturePoint p, q;
  std::size_t pSegment = 0, qSegment = 0;
  double pLength = 0, qLength = 0;
};

// Label places along a line for labels `width` long, the first half a
// spacing from the start and each next one a spacing further on, never
// before the end of the previous one. A place is kept only where the label
// runs within 10 degrees of the line. None when spacing or width is not
// above 0. A line carries at most about a thousand labels.
std::vector<LabelPlace> PlaceLabels(const std::vector<PicturePoint>& points, float width, float spacing);

}  // namespace kestra
