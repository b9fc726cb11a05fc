#include "graphics/plot_device.h"

#include <cmath>

#include "core/fixed_tables.h"
#include "graphics/dxf_entities.h"
#include "graphics/hpgl_commands.h"

namespace kestra {
namespace {

// HPGL pens light a channel from 127 up, not 128: grey 127 is white (pen 8).
constexpr int kPenChannelThreshold = 127;

int Red(Colour colour) { return colour & 0xFF; }
int Green(Colour colour) { return (colour >> 8) & 0xFF; }
int Blue(Colour colour) { return (colour >> 16) & 0xFF; }

}  // namespace

bool OpenPlotFile(PlotDevice& device, const ZoomWindow& zoom) {
  // Each plot starts without a pen, so no colour of an earlier plot leaks in.
  device.DxfColorIndex = 0;
  device.polylineOpen = false;
  device.hasLastVertex = false;
  if (device.PlotFormat == kPlotFormatBitmap) return true;
  device.file.close();
  device.file.clear();
  device.file.open(device.PlotFileName, std::ios::binary | std::ios::trunc);
  if (!device.file.is_open()) return false;
  if (device.WritesHpgl()) WriteHpglHeader(device, zoom.width, zoom.height);
  if (device.WritesDxf()) WriteDxfHeader(device);
  return device.file.good();
}

bool ClosePlotFile(PlotDevice& device) {
  if (!device.file.is_open()) return true;
  if (device.WritesHpgl()) WriteHpglTrailer(device);
  if (device.WritesDxf()) WriteDxfTrailer(device);
  const bool written = device.file.good();
  device.file.close();
  return written && !device.file.fail();
}

int HpglPen(Colour colour) {
  return 1 + 4 * (Red(colour) >= kPenChannelThreshold) + 2 * (Green(colour) >= kPenChannelThreshold) +
         (Blue(colour) >= kPenChannelThreshold);
}

int NearestColorIndex(Colour colour) {
  const float r = Red(colour) / 255.0f;
  const float g = Green(colour) / 255.0f;
  const float b = Blue(colour) / 255.0f;
  const ColorIndexTableType& table = ColorIndexTable();
  int nearest = 0;
  float best = 1E+30f;
  for (int i = 1; i <= kColorIndexCount; ++i) {
    const float d =
        std::abs(table[i].red / 255 - r) + std::abs(table[i].green / 255 - g) + std::abs(table[i].blue / 255 - b);
    if (d < best) {
      best = d;
      nearest = i;
    }
  }
  return nearest;
}

void SelectPlotPen(PlotDevice& device, Colour colour) {
  if (device.WritesHpgl()) WriteHpglPen(device, HpglPen(colour));
  if (device.WritesDxf()) device.DxfColorIndex = NearestColorIndex(colour);
}

}  // namespace kestra
