#include "export/capture_zones.h"

#include <gdal_alg.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "core/world_position.h"
#include "export/gdal_support.h"
#include "tracking/travel_times.h"

namespace kestra {
namespace {

PlanXY XY(const PathPoint& p) { return {p.point.X, p.point.Y}; }

double TravelTime(const RecordedPath& path, const PathPoint& p) { return p.time - path.points.front().time; }

struct Box {
  PlanXY low{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
  PlanXY high{-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  void Add(PlanXY p) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
};

std::pair<PlanXY, PlanXY> CellRectangle(const ModelState& s, CellIndex cell) {
  return {{s.XEDGE[cell.column - 1], s.YEDGE[cell.row - 1]}, {s.XEDGE[cell.column], s.YEDGE[cell.row]}};
}

Box BoxOf(const ModelState& state, const WellPaths& well) {
  Box box;
  for (const RecordedPath& path : well.paths)
    for (const PathPoint& p : path.points) box.Add(XY(p));
  for (const CellIndex cell : well.screen) {
    const auto [low, high] = CellRectangle(state, cell);
    box.Add(low);
    box.Add(high);
  }
  return box;
}

// Marks `path` up to travel time `time` (all of it without one), only its
// segments in `layer` when one is given; the point at the time is the
// tracked one where the run reported it.
void MarkPath(ZoneMask& mask, const RecordedPath& path, std::optional<double> time, const PathPoint* atTime,
              std::optional<int> layer) {
  for (std::size_t n = 1; n < path.points.size(); ++n) {
    const PathPoint& from = path.points[n - 1];
    const PathPoint& to = path.points[n];
    // A segment runs through the cell of its first point.
    if (layer && from.cell.layer != *layer) {
      if (time && TravelTime(path, to) >= *time) return;
      continue;
    }
    if (!time || TravelTime(path, to) < *time) {
      MarkSegment(mask, XY(from), XY(to));
      continue;
    }
    if (atTime) {
      MarkSegment(mask, XY(from), XY(*atTime));
    } else {
      const double span = TravelTime(path, to) - TravelTime(path, from);
      const double f = span > 0 ? (*time - TravelTime(path, from)) / span : 0;
      MarkSegment(mask, XY(from),
                  {from.point.X + f * (to.point.X - from.point.X), from.point.Y + f * (to.point.Y - from.point.Y)});
    }
    return;
  }
}

bool StoppedShort(const Endpoint* end, std::optional<double> time) {
  if (end == nullptr || StopsParticle(end->end)) return false;
  return !time || end->time < *time;
}

ZoneRing RingOf(const OGRLinearRing& ring) {
  ZoneRing points;
  points.reserve(static_cast<std::size_t>(ring.getNumPoints()));
  for (int n = 0; n < ring.getNumPoints(); ++n) points.push_back({ring.getX(n), ring.getY(n)});
  return points;
}

void AddPolygon(const OGRPolygon& polygon, CaptureZone& zone) {
  if (polygon.getExteriorRing() == nullptr) return;
  ZonePolygon rings{RingOf(*polygon.getExteriorRing())};
  for (int n = 0; n < polygon.getNumInteriorRings(); ++n) rings.push_back(RingOf(*polygon.getInteriorRing(n)));
  zone.polygons.push_back(std::move(rings));
  zone.area += polygon.get_Area();
}

void AddGeometry(const OGRGeometry& geometry, CaptureZone& zone) {
  const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
  if (type == wkbPolygon) AddPolygon(*geometry.toPolygon(), zone);
  if (type == wkbMultiPolygon)
    for (const OGRPolygon* part : *geometry.toMultiPolygon()) AddPolygon(*part, zone);
}

// The marked pixels of `mask` as polygons, simplified within a pixel.
bool Polygonise(const ZoneMask& mask, CaptureZone& zone, std::string& error) {
  RegisterGdalDrivers();
  QuietGdalErrors quiet;
  GDALDriver* rasterDriver = GetGDALDriverManager()->GetDriverByName("MEM");
  GDALDriver* vectorDriver = GetGDALDriverManager()->GetDriverByName("Memory");
  if (rasterDriver == nullptr || vectorDriver == nullptr) {
    error = "GDAL lacks its in-memory drivers";
    return false;
  }
  GdalDataset raster(rasterDriver->Create("", mask.columns, mask.rows, 1, GDT_Byte, nullptr));
  GdalDataset vector(vectorDriver->Create("", 0, 0, 0, GDT_Unknown, nullptr));
  if (!raster || !vector) {
    error = GdalReason("the zone raster cannot be made");
    return false;
  }
  double transform[6] = {mask.left, mask.pixel, 0, mask.top, 0, mask.pixel};
  raster->SetGeoTransform(transform);
  GDALRasterBand* band = raster->GetRasterBand(1);
  std::vector<std::uint8_t> marks = mask.marks;
  OGRLayer* layer = vector->CreateLayer("zone", nullptr, wkbPolygon, nullptr);
  OGRFieldDefn field("value", OFTInteger);
  if (band->RasterIO(GF_Write, 0, 0, mask.columns, mask.rows, marks.data(), mask.columns, mask.rows, GDT_Byte, 0, 0,
                     nullptr) != CE_None ||
      layer == nullptr || layer->CreateField(&field) != OGRERR_NONE ||
      GDALPolygonize(band, band, layer, 0, nullptr, nullptr, nullptr) != CE_None) {
    error = GdalReason("the zone cannot be polygonised");
    return false;
  }
  layer->ResetReading();
  for (auto& feature : *layer) {
    const OGRGeometry* geometry = feature->GetGeometryRef();
    if (geometry == nullptr) continue;
    // Without the geometry library the polygons keep every pixel's corner.
    std::unique_ptr<OGRGeometry> simplified(geometry->SimplifyPreserveTopology(mask.pixel));
    AddGeometry(simplified ? *simplified : *geometry, zone);
  }
  return true;
}

// What the zones of one well are built from, looked up by particle.
struct WellLookup {
  const ModelState& state;
  const WellPaths& well;
  const ZoneSettings& settings;
  Box box;
  std::map<std::pair<int, int>, const PathPoint*> atTimes;  // (particle, time index from 1)
  std::map<int, const Endpoint*> ends;                      // a well's particles go one way only
};

// The zones of one travel time after another and the whole zone, of the
// segments in `layer` (all without one).
bool BuildZoneSet(const WellLookup& w, std::optional<int> layer, std::vector<CaptureZone>& zones, std::string& error) {
  const double margin = w.settings.gap + 2 * w.settings.pixel;
  std::vector<std::optional<double>> times(w.settings.times.begin(), w.settings.times.end());
  times.push_back(std::nullopt);
  for (std::size_t k = 0; k < times.size(); ++k) {
    CaptureZone zone{w.well.well, times[k], layer, {}, 0, static_cast<int>(w.well.paths.size()), 0,
                     w.well.fromSource};
    ZoneMask mask = EmptyMask(w.box.low, w.box.high, margin, w.settings.pixel);
    for (const CellIndex cell : w.well.screen) {
      if (layer && cell.layer != *layer) continue;
      const auto [low, high] = CellRectangle(w.state, cell);
      MarkRectangle(mask, low, high);
    }
    for (const RecordedPath& path : w.well.paths) {
      const auto at = w.atTimes.find({path.particle, static_cast<int>(k) + 1});
      MarkPath(mask, path, times[k], times[k] && at != w.atTimes.end() ? at->second : nullptr, layer);
      const auto end = w.ends.find(path.particle);
      zone.stoppedShort += StoppedShort(end == w.ends.end() ? nullptr : end->second, times[k]);
    }
    CloseGaps(mask, w.settings.gap);
    if (!Polygonise(mask, zone, error)) return false;
    zones.push_back(std::move(zone));
  }
  return true;
}

std::set<int> LayersCrossed(const WellPaths& well) {
  std::set<int> layers;
  for (const CellIndex cell : well.screen) layers.insert(cell.layer);
  for (const RecordedPath& path : well.paths)
    for (const PathPoint& p : path.points) layers.insert(p.cell.layer);
  return layers;
}

}  // namespace

bool BuildCaptureZones(const ModelState& state, const WellPaths& well, const ZoneSettings& settings,
                       std::vector<CaptureZone>& zones, std::string& error) {
  WellLookup lookup{state, well, settings, BoxOf(state, well), {}, {}};
  const double margin = settings.gap + 2 * settings.pixel;
  const double pixels = MaskPixels(lookup.box.low, lookup.box.high, margin, settings.pixel);
  if (!(pixels <= kMostZonePixels)) {
    error = "the zone raster of well " + well.well + " would have " + std::to_string(std::llround(pixels)) +
            " pixels; give a larger pixel size";
    return false;
  }
  for (const Mp7TimePoint& p : well.timePoints) lookup.atTimes[{p.particle, p.index}] = &p.point;
  for (const Endpoint& e : well.endpoints) lookup.ends[e.particle] = &e;
  if (!BuildZoneSet(lookup, std::nullopt, zones, error)) return false;
  if (!settings.perLayer) return true;
  for (const int layer : LayersCrossed(well))
    if (!BuildZoneSet(lookup, layer, zones, error)) return false;
  return true;
}

bool CaptureZonesOfWells(CaptureRun& run, const std::vector<WellScreen>& wells, WellRelease release,
                         const ZoneSettings& settings, CaptureTracks& tracks, std::vector<CaptureZone>& zones,
                         std::string& error) {
  // Where neighbouring paths part farther than the gap, the zone would
  // fall apart between them: more particles are released there.
  release.splitDistance = settings.gap;
  tracks = TrackFromWells(run, wells, release, settings.times);
  for (const WellPaths& well : tracks.wells)
    if (!BuildCaptureZones(run.state, well, settings, zones, error)) return false;
  return true;
}

double NarrowestCellWidth(const ModelState& state) {
  return std::min(SmallestWidth(state.DELR, state.NCOL), SmallestWidth(state.DELC, state.NROW));
}

std::string ZoneOwnerText(const CaptureZone& zone) { return zone.fromSource ? zone.well : "well " + zone.well; }

std::string ZoneTimeText(const CaptureZone& zone, int timeUnit) {
  const std::string whole = zone.fromSource ? "whole zone" : "whole capture zone";
  const std::string time = zone.time ? TravelTimeText(*zone.time, timeUnit) : whole;
  return zone.layer ? time + ", layer " + std::to_string(*zone.layer) : time;
}

FeatureLayer CaptureZoneLayer(const ModelState& state, const std::vector<CaptureZone>& zones) {
  FeatureLayer layer{"capture_zones",
                     GeometryKind::MultiPolygon,
                     {{"well", FieldKind::Text},
                      {"time", FieldKind::Real},
                      {"area", FieldKind::Real},
                      {"particles", FieldKind::Integer},
                      {"complete", FieldKind::Integer},
                      {"layer", FieldKind::Integer}},
                     {}};
  const WorldPosition position = PositionOf(state);
  const double length = GridLengthOf(state);
  for (const CaptureZone& zone : zones) {
    Feature feature;
    for (const ZonePolygon& polygon : zone.polygons) {
      PolygonRings rings;
      for (const ZoneRing& ring : polygon) {
        Ring world;
        for (const PlanXY& p : ring) {
          const WorldXY xy = PlanToWorldXY(position, length, p.x, p.y);
          world.push_back({xy.x, xy.y, 0});
        }
        rings.push_back(std::move(world));
      }
      feature.polygons.push_back(std::move(rings));
    }
    feature.values = {zone.well, zone.time ? FieldValue{*zone.time} : FieldValue{}, zone.area,
                      std::int64_t{zone.particles}, std::int64_t{zone.Complete() ? 1 : 0},
                      zone.layer ? FieldValue{std::int64_t{*zone.layer}} : FieldValue{}};
    layer.features.push_back(std::move(feature));
  }
  return layer;
}

}  // namespace kestra
