#include "export/capture_zone_drawing.h"

#include <algorithm>
#include <array>

#include "core/text_reader.h"
#include "export/dxf_maps.h"

namespace kestra {
namespace {

// Red, orange, green, magenta, cyan and yellow for the times in turn, blue
// for the whole zone.
constexpr std::array<int, 6> kTimeColourIndexes = {1, 30, 3, 6, 4, 2};
constexpr int kWholeZoneColourIndex = 5;

// Each drawn zone with the index of its travel time (-1 for the whole zone).
struct DrawnZone {
  const CaptureZone* zone;
  int timeIndex;
};

std::vector<DrawnZone> ZonesDrawn(const std::vector<CaptureZone>& zones) {
  std::vector<DrawnZone> drawn;
  int timeIndex = 0;
  for (const CaptureZone& zone : zones) {
    if (zone.layer) continue;
    drawn.push_back({&zone, zone.time ? timeIndex++ : -1});
    if (!zone.time) timeIndex = 0;  // the next well's times take the same colours
  }
  return drawn;
}

Colour ColourOf(const DrawnZone& drawn) { return MapEntityColour(ZoneColourIndex(drawn.timeIndex), kBlack); }

void DrawRing(PlotContext& context, const ZoneRing& ring, Colour colour) {
  if (ring.empty()) return;
  const auto x = [](const PlanXY& p) { return static_cast<float>(p.x); };
  const auto y = [](const PlanXY& p) { return static_cast<float>(p.y); };
  BeginPolyline(context, x(ring.front()), y(ring.front()), colour, true, true);
  for (std::size_t n = 1; n < ring.size(); ++n) ContinuePolyline(context, x(ring[n]), y(ring[n]), colour, true, true);
}

// Where the polygon's rings cross the line `along` = `at` (along x: y = at),
// in pairs from one crossing into the polygon to the next out of it.
std::vector<double> Crossings(const ZonePolygon& polygon, bool alongX, double at) {
  std::vector<double> crossings;
  for (const ZoneRing& ring : polygon)
    for (std::size_t n = 1; n < ring.size(); ++n) {
      const PlanXY &p = ring[n - 1], &q = ring[n];
      const double pa = alongX ? p.y : p.x, qa = alongX ? q.y : q.x;
      if ((pa <= at) == (qa <= at)) continue;
      const double f = (at - pa) / (qa - pa);
      crossings.push_back(alongX ? p.x + f * (q.x - p.x) : p.y + f * (q.y - p.y));
    }
  std::sort(crossings.begin(), crossings.end());
  return crossings;
}

// The zone's extent on the row section: a box over the model's elevation
// range for each stretch of the projection row inside the zone.
void DrawRowTrace(PlotContext& context, const ZonePolygon& polygon, double y, Colour colour) {
  const std::vector<double> at = Crossings(polygon, true, y);
  const float low = context.layout.modelZmin, high = context.layout.modelZmax;
  for (std::size_t n = 1; n < at.size(); n += 2) {
    const float a = static_cast<float>(at[n - 1]), b = static_cast<float>(at[n]);
    DrawSegmentRowSection(context, a, low, a, high, colour, true);
    DrawSegmentRowSection(context, a, high, b, high, colour, true);
    DrawSegmentRowSection(context, b, high, b, low, colour, true);
    DrawSegmentRowSection(context, b, low, a, low, colour, true);
  }
}

void DrawColumnTrace(PlotContext& context, const ZonePolygon& polygon, double x, Colour colour) {
  const std::vector<double> at = Crossings(polygon, false, x);
  const float low = context.layout.modelZmin, high = context.layout.modelZmax;
  for (std::size_t n = 1; n < at.size(); n += 2) {
    const float a = static_cast<float>(at[n - 1]), b = static_cast<float>(at[n]);
    DrawSegmentColumnSection(context, low, a, high, a, colour, true);
    DrawSegmentColumnSection(context, high, a, high, b, colour, true);
    DrawSegmentColumnSection(context, high, b, low, b, colour, true);
    DrawSegmentColumnSection(context, low, b, low, a, colour, true);
  }
}

}  // namespace

int ZoneColourIndex(int timeIndex) {
  if (timeIndex < 0) return kWholeZoneColourIndex;
  return kTimeColourIndexes[static_cast<std::size_t>(timeIndex) % kTimeColourIndexes.size()];
}

void DrawCaptureZones(PlotContext& context, const Settings& settings, const std::vector<CaptureZone>& zones) {
  const ModelState& m = context.model;
  const bool rowShown = context.layout.sectionsShown && settings.sectionRow >= 1 && settings.sectionRow <= m.NROW;
  const bool columnShown =
      context.layout.sectionsShown && settings.sectionColumn >= 1 && settings.sectionColumn <= m.NCOL;
  for (const DrawnZone& drawn : ZonesDrawn(zones)) {
    const Colour colour = ColourOf(drawn);
    for (const ZonePolygon& polygon : drawn.zone->polygons) {
      for (const ZoneRing& ring : polygon) DrawRing(context, ring, colour);
      if (rowShown) DrawRowTrace(context, polygon, m.YCENTER[settings.sectionRow], colour);
      if (columnShown) DrawColumnTrace(context, polygon, m.XCENTER[settings.sectionColumn], colour);
    }
  }
}

std::vector<LegendEntry> CaptureZoneLegend(const std::vector<CaptureZone>& zones, int timeUnit) {
  std::vector<LegendEntry> entries;
  for (const DrawnZone& drawn : ZonesDrawn(zones))
    entries.push_back({Capitalised(ZoneOwnerText(*drawn.zone)) + ": " + ZoneTimeText(*drawn.zone, timeUnit),
                       ColourOf(drawn), true});
  return entries;
}

}  // namespace kestra
