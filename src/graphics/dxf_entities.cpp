#include "graphics/dxf_entities.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/number_format.h"
#include "graphics/device_range.h"

namespace kestra {
namespace {

void Line(PlotDevice& device, const std::string& text) { device.file << text << "\r\n"; }

void Group(PlotDevice& device, const char* code, const std::string& value) {
  Line(device, code);
  Line(device, value);
}

void Coordinate(PlotDevice& device, const char* code, float value) { Group(device, code, NumberText(value)); }

void EndPolyline(PlotDevice& device) {
  if (!device.polylineOpen) return;
  device.polylineOpen = false;
  Group(device, "  0", "SEQEND");
  Group(device, "  8", device.DxfLayer);
}

// Entity name, layer and the colour group when a pen is selected.
void EntityHead(PlotDevice& device, const char* name) {
  Group(device, "  0", name);
  Group(device, "  8", device.DxfLayer);
  if (device.DxfColorIndex != 0) Group(device, " 62", NumberText(device.DxfColorIndex) + " ");
}

void WriteVertex(PlotDevice& device, WorldPoint point) {
  EntityHead(device, "VERTEX");
  Coordinate(device, " 10", point.x);
  Coordinate(device, " 20", point.y);
  device.lastVertex = point;
  device.hasLastVertex = true;
}

bool OnPlot(WorldPoint point) { return OnDevice(point.x, point.y, kDxfDeviceLimit); }

// A vertex beyond the plot's range ends the polyline; the next one starts afresh.
void BreakPolyline(PlotDevice& device) {
  EndPolyline(device);
  device.hasLastVertex = false;
}

void StartEntity(PlotDevice& device, const char* name) {
  EndPolyline(device);
  EntityHead(device, name);
}

void PolylineHead(PlotDevice& device) {
  StartEntity(device, "POLYLINE");
  Group(device, " 66", "1");
  device.polylineOpen = true;
}

}  // namespace

void WriteDxfHeader(PlotDevice& device) {
  Group(device, "  0", "SECTION");
  Group(device, "  2", "ENTITIES");
}

void WriteDxfTrailer(PlotDevice& device) {
  EndPolyline(device);
  Group(device, "  0", "ENDSEC");
  Group(device, "  0", "EOF");
}

void WriteDxfSolid(PlotDevice& device, const WorldPoint corners[4]) {
  static constexpr const char* kCodes[4][3] = {
      {" 10", " 20", " 30"}, {" 11", " 21", " 31"}, {" 12", " 22", " 32"}, {" 13", " 23", " 33"}};
  std::optional<double> clamped[4][2];
  for (int i = 0; i < 4; ++i) {
    clamped[i][0] = ClampedDeviceCoordinate(corners[i].x, kDxfDeviceLimit);
    clamped[i][1] = ClampedDeviceCoordinate(corners[i].y, kDxfDeviceLimit);
    if (!clamped[i][0] || !clamped[i][1]) return;
  }
  StartEntity(device, "SOLID");
  for (int i = 0; i < 4; ++i) {
    Coordinate(device, kCodes[i][0], static_cast<float>(*clamped[i][0]));
    Coordinate(device, kCodes[i][1], static_cast<float>(*clamped[i][1]));
    Group(device, kCodes[i][2], "0");
  }
}

void WriteDxfLine(PlotDevice& device, WorldPoint start, WorldPoint end) {
  double x1 = start.x, y1 = start.y, x2 = end.x, y2 = end.y;
  if (!ClipToDevice(x1, y1, x2, y2, kDxfDeviceLimit)) return;
  StartEntity(device, "LINE");
  Coordinate(device, " 10", static_cast<float>(x1));
  Coordinate(device, " 20", static_cast<float>(y1));
  Coordinate(device, " 11", static_cast<float>(x2));
  Coordinate(device, " 21", static_cast<float>(y2));
}

void WriteDxfPolylineHead(PlotDevice& device, WorldPoint start) {
  if (!OnPlot(start)) return BreakPolyline(device);
  PolylineHead(device);
  WriteVertex(device, start);
}

void WriteDxfVertex(PlotDevice& device, WorldPoint point) {
  if (!OnPlot(point)) return BreakPolyline(device);
  // Another entity (a section segment of the same pathline step) ended the
  // polyline: a new one carries on from the last vertex, so the chain stays
  // connected and no VERTEX stands outside a POLYLINE.
  if (!device.polylineOpen) {
    PolylineHead(device);
    if (device.hasLastVertex) WriteVertex(device, device.lastVertex);
  }
  WriteVertex(device, point);
}

void WriteDxfCircle(PlotDevice& device, WorldPoint centre, float radius) {
  if (!OnPlot(centre) || !(std::fabs(radius) <= kDxfDeviceLimit)) return;
  StartEntity(device, "CIRCLE");
  Coordinate(device, " 10", centre.x);
  Coordinate(device, " 20", centre.y);
  Coordinate(device, " 40", radius);
}

}  // namespace kestra
