#include "graphics/hpgl_commands.h"

#include <algorithm>
#include <string>

#include "core/number_format.h"

namespace kestra {
namespace {

// The plotter area a plot without zoom is fitted into.
constexpr float kPlotterWidth = 10000;
constexpr float kPlotterHeight = 7200;

void Instruction(PlotDevice& device, const char* name, float gridHeight, float x, float y) {
  device.file << name << TrimmedFloatText(x / device.HpglScale) << ","
              << TrimmedFloatText((gridHeight - y) / device.HpglScale) << ";";
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
  Instruction(device, "PU", gridHeight, x1, y1);
  Instruction(device, "RA", gridHeight, x2, y2);
}

void WriteHpglMove(PlotDevice& device, float gridHeight, float x, float y) {
  Instruction(device, "PU", gridHeight, x, y);
}

void WriteHpglDraw(PlotDevice& device, float gridHeight, float x, float y) {
  Instruction(device, "PD", gridHeight, x, y);
}

void WriteHpglPen(PlotDevice& device, int pen) { device.file << "SP" << IntegerMaskText(pen) << ";"; }

}  // namespace kestra
