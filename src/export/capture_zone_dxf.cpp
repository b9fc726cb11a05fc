#include "export/capture_zone_dxf.h"

#include <variant>

#include "core/atomic_file.h"
#include "core/round_numbers.h"
#include "export/capture_zone_drawing.h"
#include "graphics/dxf_entities.h"
#include "graphics/plot_device.h"

namespace kestra {
namespace {

// The zone's travel time: the second attribute, null for the whole zone.
const double* TimeOf(const Feature& zone) {
  return zone.values.size() > 1 ? std::get_if<double>(&zone.values[1]) : nullptr;
}

// "_L2" for a layer's own zone (the sixth attribute), "" for the union over layers.
std::string LayerSuffix(const Feature& zone) {
  const std::int64_t* layer = zone.values.size() > 5 ? std::get_if<std::int64_t>(&zone.values[5]) : nullptr;
  return layer ? "_L" + std::to_string(*layer) : "";
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
  int timeIndex = 0;
  for (const Feature& zone : zones.features) {
    const double* time = TimeOf(zone);
    device.DxfLayer = (time ? "ZONE_" + PlainText(*time) : "CAPTURE_ZONE") + LayerSuffix(zone);
    device.DxfColorIndex = ZoneColourIndex(time ? timeIndex++ : -1);
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
