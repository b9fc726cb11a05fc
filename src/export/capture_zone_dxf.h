// Capture zones as a DXF drawing: each zone's rings closed polylines in
// world coordinates, on a layer per travel time ("ZONE_365.25") and
// "CAPTURE_ZONE" for the whole zone, "_L2" after it for a layer's own zone,
// each in a colour of its own. CAD programs open it, and the window and
// kestra-cli plot lay it over the plan as a base map.
#pragma once

#include <string>

#include "export/feature_layer.h"

namespace kestra {

// Writes the layer CaptureZoneLayer made to `path`; false, with the reason
// in `error` and no file changed, when it cannot be written.
bool WriteCaptureZoneDxf(const std::string& path, const FeatureLayer& zones, std::string& error);

}  // namespace kestra
