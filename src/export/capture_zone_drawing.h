// Capture zones on the views: each zone's rings on the plan, and where the
// zone crosses the projection row and column, its extent on the sections;
// each travel time in a colour of its own, the same as in the zones' DXF
// file.
#pragma once

#include <vector>

#include "export/capture_zones.h"
#include "export/plot_annotation.h"
#include "graphics/plot_primitives.h"
#include "settings/settings.h"

namespace kestra {

// The DXF colour index of the zone of the travel time `timeIndex` (0 for
// the first time), -1 for the whole capture zone.
int ZoneColourIndex(int timeIndex);

// Draws the zones over all layers; a layer's own zones are not drawn.
void DrawCaptureZones(PlotContext& context, const Settings& settings, const std::vector<CaptureZone>& zones);

// One legend line per zone drawn: "Well 2,8,15: 365.25 days", "Source: whole zone".
std::vector<LegendEntry> CaptureZoneLegend(const std::vector<CaptureZone>& zones, int timeUnit);

}  // namespace kestra
