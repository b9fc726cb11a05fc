// Device coordinates (image pixels, plotter units) far beyond any page: a
// base map point at 5e10 or a map factor of 1e9 lands there, and converting
// such a value to an integer is undefined. Every picture passes its device
// coordinates through these before it converts or writes them.
#pragma once

#include <optional>

namespace kestra {

// How far from the origin a device coordinate may lie, either way: a
// thousand pages and more, and still far inside the int range.
inline constexpr double kRasterDeviceLimit = 1 << 22;  // image pixels
inline constexpr double kPlotterDeviceLimit = 1 << 24;  // HPGL plotter units
inline constexpr double kDxfDeviceLimit = 1e15;  // DXF model units: beyond any site's coordinates

// The coordinate kept within +-limit (infinities onto the bound); none
// when it is not a number.
std::optional<double> ClampedDeviceCoordinate(double value, double limit);

// Whether the point is a number within +-limit on both axes: a point, a
// circle's centre or a polygon corner beyond is culled, not moved.
bool OnDevice(double x, double y, double limit);

// Cuts the segment to the square of +-limit, keeping its direction, so that
// the part on the page is drawn where it belongs. False (ends unchanged)
// when no part lies inside or an end is not a finite number.
bool ClipToDevice(double& x1, double& y1, double& x2, double& y2, double limit);

}  // namespace kestra
