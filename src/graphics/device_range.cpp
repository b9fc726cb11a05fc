#include "graphics/device_range.h"

#include <algorithm>
#include <cmath>

namespace kestra {
namespace {

// Narrows the parameter range [enter, leave] of p + t * d to where
// -limit <= p + t * d <= limit; false when it becomes empty.
bool NarrowToSlab(double p, double d, double limit, double& enter, double& leave) {
  if (d == 0) return std::fabs(p) <= limit;
  double t1 = (-limit - p) / d;
  double t2 = (limit - p) / d;
  if (t1 > t2) std::swap(t1, t2);
  enter = std::max(enter, t1);
  leave = std::min(leave, t2);
  return enter <= leave;
}

}  // namespace

std::optional<double> ClampedDeviceCoordinate(double value, double limit) {
  if (std::isnan(value)) return std::nullopt;
  return std::clamp(value, -limit, limit);
}

bool OnDevice(double x, double y, double limit) { return std::fabs(x) <= limit && std::fabs(y) <= limit; }

bool ClipToDevice(double& x1, double& y1, double& x2, double& y2, double limit) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  double enter = 0;
  double leave = 1;
  if (!NarrowToSlab(x1, dx, limit, enter, leave) || !NarrowToSlab(y1, dy, limit, enter, leave)) return false;
  const double startX = x1 + enter * dx, startY = y1 + enter * dy;
  const double endX = x1 + leave * dx, endY = y1 + leave * dy;
  // The ends on the square's sides, exactly: rounding must not leave them a hair outside.
  x1 = std::clamp(startX, -limit, limit);
  y1 = std::clamp(startY, -limit, limit);
  x2 = std::clamp(endX, -limit, limit);
  y2 = std::clamp(endY, -limit, limit);
  return true;
}

}  // namespace kestra
