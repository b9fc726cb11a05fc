#include "graphics/contour_labels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/number_format.h"
#include "core/round_numbers.h"

namespace kestra {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
// A label is set only where the line runs nearly straight under it.
constexpr float kLabelAngleLimit = 10;
// Steps in which the end of a label is looked for on the segment where it falls.
constexpr int kEndSearchSteps = 50;
// More labels than this on one line would not be read; tiny spacings on
// long lines stay fast.
constexpr double kMostLabelsPerLine = 1000;

double Distance(const PicturePoint& a, const PicturePoint& b) { return std::hypot(b.x - a.x, b.y - a.y); }

PicturePoint Between(const PicturePoint& a, const PicturePoint& b, double t) {
  return {static_cast<float>(a.x + (b.x - a.x) * t), static_cast<float>(a.y + (b.y - a.y) * t)};
}

}  // namespace

float LabelAngle(float x1, float y1, float x2, float y2) {
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  if (dx == 0) return dy <= 0 ? 270.0f : 90.0f;
  double a = std::atan(dy / dx) * kDegreesPerRadian;
  if (dx < 0) a += 180;
  return static_cast<float>(a);
}

bool AnglesWithin(float a, float b, float limit) {
  double difference = std::fmod(std::abs(static_cast<double>(a) - b), 360.0);
  if (difference > 180) difference = 360 - difference;
  return difference < limit;
}

std::string ContourLabelText(float level, const Settings& settings) {
  // The readable default labels write whole numbers without the stored format's trailing point.
  std::string number = settings.labelFormatStored
                           ? ContourLabelNumber(level, settings.labelStyle, settings.labelDecimals)
                           : FixedText(level, settings.labelDecimals);
  for (char& c : number)
    if (c == ',') c = '.';
  return settings.labelPrefix + number + settings.labelSuffix;
}

std::vector<LabelPlace> PlaceLabels(const std::vector<PicturePoint>& points, float width, float spacing) {
  std::vector<LabelPlace> places;
  if (!(spacing > 0) || !(width > 0) || points.size() < 2) return places;
  std::vector<double> arc(points.size(), 0.0);
  for (std::size_t k = 1; k < points.size(); ++k) arc[k] = arc[k - 1] + Distance(points[k - 1], points[k]);
  const std::size_t last = points.size() - 1;
  const double step = std::max<double>(spacing, arc[last] / kMostLabelsPerLine);
  double target = spacing / 2.0;
  std::size_t k = 0;  // P lies on segment k
  while (target <= arc[last]) {
    while (k + 1 < last && arc[k + 1] < target) ++k;
    const double segment = arc[k + 1] - arc[k];
    const PicturePoint p = Between(points[k], points[k + 1], segment > 0 ? (target - arc[k]) / segment : 0);
    std::size_t m = k + 1;
    while (m <= last && Distance(points[m], p) < width) ++m;
    if (m > last) break;  // the line ends before the label would
    // The end is looked for between P (or the segment's start, if later) and vertex m.
    const PicturePoint from = m == k + 1 ? p : points[m - 1];
    const double fromLength = m == k + 1 ? target : arc[m - 1];
    PicturePoint q = points[m];
    double qLength = arc[m];
    for (int step = 1; step <= kEndSearchSteps; ++step) {
      const double t = static_cast<double>(step) / kEndSearchSteps;
      const PicturePoint candidate = Between(from, points[m], t);
      if (Distance(candidate, p) >= width) {
        q = candidate;
        qLength = fromLength + (arc[m] - fromLength) * t;
        break;
      }
    }
    const bool straight = AnglesWithin(LabelAngle(p.x, p.y, q.x, q.y),
                                       LabelAngle(points[k].x, points[k].y, points[k + 1].x, points[k + 1].y),
                                       kLabelAngleLimit);
    double next = target + step;
    if (straight) {
      places.push_back({p, q, k, m - 1, target, qLength});
      next = std::max(next, qLength);
    }
    if (!(next > target)) break;  // the spacing no longer moves the walk forward
    target = next;
  }
  return places;
}

}  // namespace kestra
