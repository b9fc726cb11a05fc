#include "graphics/clipping.h"

#include <algorithm>
#include <cmath>

namespace kestra {
namespace {

// Nearness as fractions of the window size: a segment this close to upright
// counts as vertical (or horizontal), and a crossing this far off the segment
// still lies on it. For a window 10000 units wide these are 0.01 and 0.1.
constexpr float kParallelFraction = 1e-6f;
constexpr float kOnSegmentFraction = 1e-5f;

bool Inside(float x, float y, const ClipWindow& w) { return x >= w.xmin && x <= w.xmax && y >= w.ymin && y <= w.ymax; }

float WindowSize(const ClipWindow& w) {
  const float size = std::max(w.xmax - w.xmin, w.ymax - w.ymin);
  return size > 0 ? size : 1;
}

bool BeyondSameEdge(float x1, float y1, float x2, float y2, const ClipWindow& w) {
  return (x1 < w.xmin && x2 < w.xmin) || (x1 > w.xmax && x2 > w.xmax) || (y1 < w.ymin && y2 < w.ymin) ||
         (y1 > w.ymax && y2 > w.ymax);
}

// An axis-parallel segment: the ends outside [low, high] along it are pulled
// onto the window's edge; across it, the segment must lie within [crossLow, crossHigh].
ClipResult ClipAlongAxis(float& a1, float& a2, float across, float low, float high, float crossLow, float crossHigh) {
  ClipResult result;
  if (across < crossLow || across > crossHigh) {
    result.visible = false;
    return result;
  }
  result.startMoved = a1 < low || a1 > high;
  result.endMoved = a2 < low || a2 > high;
  a1 = std::clamp(a1, low, high);
  a2 = std::clamp(a2, low, high);
  return result;
}

bool OnSegment(float k, float a1, float a2, float tolerance) {
  return std::fabs(std::fabs(a1 - a2) - (std::fabs(k - a1) + std::fabs(k - a2))) <= tolerance;
}

// Narrows the parameter range [t0, t1] of a + t (b - a) to low <= value <= high
// along one axis. False when nothing of the range is left.
bool ClipParameter(float a, float b, float low, float high, double& t0, double& t1) {
  const double d = static_cast<double>(b) - a;
  if (d == 0) return a >= low && a <= high;
  double enter = (low - static_cast<double>(a)) / d, leave = (high - static_cast<double>(a)) / d;
  if (enter > leave) std::swap(enter, leave);
  t0 = std::max(t0, enter);
  t1 = std::min(t1, leave);
  return t0 <= t1;
}

// The point at parameter t, pulled onto the box where rounding put it a hair outside.
float PointAt(float a, float b, double t, float low, float high) {
  return std::clamp(static_cast<float>(a + t * (static_cast<double>(b) - a)), low, high);
}

}  // namespace

bool ClipSegment3D(SpacePoint& a, SpacePoint& b, const ViewWindow& w) {
  double t0 = 0, t1 = 1;
  if (!ClipParameter(a.x, b.x, w.Xmin, w.Xmax, t0, t1) || !ClipParameter(a.y, b.y, w.Ymin, w.Ymax, t0, t1) ||
      !ClipParameter(a.z, b.z, w.Zmin, w.Zmax, t0, t1))
    return false;
  const SpacePoint from = a, to = b;
  if (t0 > 0) a = {PointAt(from.x, to.x, t0, w.Xmin, w.Xmax), PointAt(from.y, to.y, t0, w.Ymin, w.Ymax),
                   PointAt(from.z, to.z, t0, w.Zmin, w.Zmax)};
  if (t1 < 1) b = {PointAt(from.x, to.x, t1, w.Xmin, w.Xmax), PointAt(from.y, to.y, t1, w.Ymin, w.Ymax),
                   PointAt(from.z, to.z, t1, w.Zmin, w.Zmax)};
  return true;
}

ClipResult ClipSegment(float& x1, float& y1, float& x2, float& y2, const ClipWindow& w) {
  ClipResult result;
  if (BeyondSameEdge(x1, y1, x2, y2, w)) {
    result.visible = false;
    return result;
  }
  const bool startInside = Inside(x1, y1, w);
  const bool endInside = Inside(x2, y2, w);
  if (startInside && endInside) return result;

  const float size = WindowSize(w);
  if (std::fabs(x1 - x2) < kParallelFraction * size) return ClipAlongAxis(y1, y2, x1, w.ymin, w.ymax, w.xmin, w.xmax);
  if (std::fabs(y1 - y2) < kParallelFraction * size) return ClipAlongAxis(x1, x2, y1, w.xmin, w.xmax, w.ymin, w.ymax);

  // Crossings with x = xmin, x = xmax, y = ymin and y = ymax, in that order.
  const float slope = (y2 - y1) / (x2 - x1);
  float candidates[4][2] = {{w.xmin, y1 + (w.xmin - x1) * slope},
                            {w.xmax, y1 + (w.xmax - x1) * slope},
                            {x1 + (w.ymin - y1) / slope, w.ymin},
                            {x1 + (w.ymax - y1) / slope, w.ymax}};
  const float tolerance = kOnSegmentFraction * size;
  int counted = 0;
  float first[2] = {0, 0};
  // Rounding can put a crossing at a corner a hair outside the window: it
  // counts when within the tolerance and is pulled onto the edge.
  const ClipWindow widened{w.xmin - tolerance, w.ymin - tolerance, w.xmax + tolerance, w.ymax + tolerance};
  for (auto& c : candidates) {
    if (!Inside(c[0], c[1], widened) || !OnSegment(c[0], x1, x2, tolerance) || !OnSegment(c[1], y1, y2, tolerance))
      continue;
    c[0] = std::clamp(c[0], w.xmin, w.xmax);
    c[1] = std::clamp(c[1], w.ymin, w.ymax);
    // A crossing through a corner meets two edges at one point: count it once.
    if (counted == 1 && std::fabs(c[0] - first[0]) <= tolerance && std::fabs(c[1] - first[1]) <= tolerance) continue;
    if (counted == 1) {
      x1 = first[0];
      y1 = first[1];
      x2 = c[0];
      y2 = c[1];
      result.startMoved = result.endMoved = true;
      return result;
    }
    first[0] = c[0];
    first[1] = c[1];
    counted = 1;
  }
  if (counted == 1 && startInside) {
    x2 = first[0];
    y2 = first[1];
    result.endMoved = true;
  } else if (counted == 1 && endInside) {
    x1 = first[0];
    y1 = first[1];
    result.startMoved = true;
  } else {
    result.visible = false;
  }
  return result;
}

bool ClipBox(float& x1, float& y1, float& x2, float& y2, const ClipWindow& w) {
  const float left = std::min(x1, x2);
  const float right = std::max(x1, x2);
  const float top = std::min(y1, y2);
  const float bottom = std::max(y1, y2);
  if (right < w.xmin || left > w.xmax || bottom < w.ymin || top > w.ymax) return false;
  x1 = std::max(left, w.xmin);
  x2 = std::min(right, w.xmax);
  y1 = std::max(top, w.ymin);
  y2 = std::min(bottom, w.ymax);
  return true;
}

}  // namespace kestra
