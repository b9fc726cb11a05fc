#include "export/capture_zone_dxf.h"

#include <array>
#include <variant>

#include "core/atomic_file.h"
#include "core/round_numbers.h"
#include "graphics/dxf_entities.h"
#include "graphics/plot_device.h"

namespace kestra {
namespace {

// Colour indexes of the travel times in turn (red, orange, green, magenta,
// cyan, yellow) and of the whole zone (blue).
constexpr std::array<int, 6> kTimeColours = {1, 30, 3, 6, 4, 2};
constexpr int kWholeZoneColour = 5;

// The zone's travel time: the second attribute, null for the whole zone.
const double* TimeOf(const Feature& zone) {
  return zone.values.size() > 1 ? std::get_if<double>(&zone.values[1]) : nullptr;
}

void WriteRing(PlotDevice& device, const Ring& ring) {
  if (ring.empty()) return;
  const auto point = [](const WorldVertex& v) { return WorldPoint{static_cast<float>(v.x), static_cast<float>(v.y)}; };
  WriteDxfPolylineHead(device, point(ring.front()));
  for (std::size_t n = 1; n < ring.size(); ++n) WriteDxfVertex(device, point(ring[n]));
}

}  // namespace

bool WriteCaptureZoneDxf(const std::string& path, const FeatureLayer& zones, std::string& error) {
  ReplacingFile target(path, ReplacingFile::Writer::Caller);
  if (!target.IsOpen()) {
    error = target.Problem();
    return false;
  }
  PlotDevice device;
  device.file.open(target.TemporaryPath(), std::ios::binary);
  WriteDxfHeader(device);
  std::size_t timeIndex = 0;
  for (const Feature& zone : zones.features) {
    const double* time = TimeOf(zone);
    device.DxfLayer = time ? "ZONE_" + PlainText(*time) : "CAPTURE_ZONE";
    device.DxfColorIndex = time ? kTimeColours[timeIndex++ % kTimeColours.size()] : kWholeZoneColour;
    if (!time) timeIndex = 0;  // the next well's times take the same colours
    for (const PolygonRings& polygon : zone.polygons)
      for (const Ring& ring : polygon) WriteRing(device, ring);
  }
  WriteDxfTrailer(device);
  device.file.close();
  if (!device.file || !target.Commit()) {
    error = target.Problem().empty() ? path : target.Problem();
    return false;
  }
  return true;
}

}  // namespace kestra
