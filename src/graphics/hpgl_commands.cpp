#include "graphics/hpgl_commands.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/number_format.h"
#include "graphics/device_range.h"

namespace kestra {
namespace {

// The plotter area a plot without zoom is fitted into.
constexpr float kPlotterWidth = 10000;
constexpr float kPlotterHeight = 7200;

struct PlotterPoint {
  double x = 0;
  double y = 0;
};

// Plotter units of a plan point, worked out in single precision as they always were.
PlotterPoint Plotter(const PlotDevice& device, float gridHeight, float x, float y) {
  return {x / device.HpglScale, (gridHeight - y) / device.HpglScale};
}

void Instruction(PlotDevice& device, const char* name, PlotterPoint p) {
  device.file << name << TrimmedFloatText(static_cast<float>(p.x)) << ","
              << TrimmedFloatText(static_cast<float>(p.y)) << ";";
}

std::optional<PlotterPoint> ClampedPlotterPoint(PlotterPoint p) {
  const auto x = ClampedDeviceCoordinate(p.x, kPlotterDeviceLimit);
  const auto y = ClampedDeviceCoordinate(p.y, kPlotterDeviceLimit);
  if (!x || !y) return std::nullopt;
  return PlotterPoint{*x, *y};
}

}  // namespace

void WriteHpglHeader(PlotDevice& device, float width, float height) {
  const float scale = std::max(width / kPlotterWidth, height / kPlotterHeight);
  device.HpglScale = scale == 0 ? 1 : scale;
  device.file << "IN;"
              << "VS10.0;SP1;"
              << "\r\n";
  device.file << "RO 90;"
              << "FT 1;"
              << "IP 0,0," << NumberText(width / device.HpglScale) << "," << NumberText(height / device.HpglScale)
              << ";"
              << "\r\n";
}

void WriteHpglTrailer(PlotDevice& device) { device.file << "PU;SP0;"; }

void WriteHpglBox(PlotDevice& device, float gridHeight, float x1, float y1, float x2, float y2) {
  const auto corner = ClampedPlotterPoint(Plotter(device, gridHeight, x1, y1));
  const auto opposite = ClampedPlotterPoint(Plotter(device, gridHeight, x2, y2));
  if (!corner || !opposite) return;
  Instruction(device, "PU", *corner);
  Instruction(device, "RA", *opposite);
}

void WriteHpglMove(PlotDevice& device, float gridHeight, float x, float y) {
  const PlotterPoint to = Plotter(device, gridHeight, x, y);
  device.hpglPenX = to.x;
  device.hpglPenY = to.y;
  if (OnDevice(to.x, to.y, kPlotterDeviceLimit)) Instruction(device, "PU", to);
}

// Only the part of the line within the plotter's range is drawn; the pen
// still moves on to the far end, so the next line starts where it should.
void WriteHpglDraw(PlotDevice& device, float gridHeight, float x, float y) {
  const PlotterPoint from{device.hpglPenX, device.hpglPenY};
  const PlotterPoint to = Plotter(device, gridHeight, x, y);
  device.hpglPenX = to.x;
  device.hpglPenY = to.y;
  PlotterPoint start = from, end = to;
  if (!ClipToDevice(start.x, start.y, end.x, end.y, kPlotterDeviceLimit)) return;
  // The line comes in from beyond the range: the pen goes up to where it enters.
  if (start.x != from.x || start.y != from.y) Instruction(device, "PU", start);
  Instruction(device, "PD", end);
}

void WriteHpglPen(PlotDevice& device, int pen) { device.file << "SP" << IntegerMaskText(pen) << ";"; }

}  // namespace kestra
