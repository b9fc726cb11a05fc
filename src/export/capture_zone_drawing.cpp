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

// The zone's extent on a section: a box over the model's elevation range
// for each stretch of the projection row (`alongX`) or column inside the
// zone, at plan `at` (the row's y or the column's x).
void DrawTrace(PlotContext& context, const ZonePolygon& polygon, bool alongX, double at, Colour colour) {
  const std::vector<double> ends = Crossings(polygon, alongX, at);
  const float low = context.layout.modelZmin, high = context.layout.modelZmax;
  // A side of the box from (a, za) to (b, zb), plan position first.
  const auto side = [&](float a, float za, float b, float zb) {
    if (alongX) DrawSegmentRowSection(context, a, za, b, zb, colour, true);
    else DrawSegmentColumnSection(context, za, a, zb, b, colour, true);
  };
  for (std::size_t n = 1; n < ends.size(); n += 2) {
    const float a = static_cast<float>(ends[n - 1]), b = static_cast<float>(ends[n]);
    side(a, low, a, high);
    side(a, high, b, high);
    side(b, high, b, low);
    side(b, low, a, low);
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
      if (rowShown) DrawTrace(context, polygon, true, m.YCENTER[settings.sectionRow], colour);
      if (columnShown) DrawTrace(context, polygon, false, m.XCENTER[settings.sectionColumn], colour);
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
