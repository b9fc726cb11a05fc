// Capture zones and time-of-travel zones of wells: the plan area whose water
// reaches a well within a travel time, drawn from the pathlines of particles
// tracked backward from the faces of the well's cells. Each path is marked
// on a fine raster up to the time, gaps between neighbouring paths are
// closed, and the marked area is turned into polygons by GDAL (holes and
// separate parts kept) and simplified by its geometry library.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "export/feature_layer.h"
#include "export/zone_mask.h"
#include "tracking/capture_tracking.h"

namespace kestra {

struct ZoneSettings {
  std::vector<double> times;  // travel times, increasing, in the model's time unit
  double pixel = 1;           // side of a raster pixel, model length units
  double gap = 1;             // paths this far apart or closer are joined
  bool perLayer = false;      // also the zones of each layer the paths cross
};

// The narrowest column or row: by default paths this far apart are joined,
// on a raster of pixels a quarter as wide.
double NarrowestCellWidth(const ModelState& state);
inline constexpr double kPixelsPerNarrowestCell = 4;

// The most pixels one zone raster may have (a gigabyte of distances).
inline constexpr double kMostZonePixels = 1.2e8;

using ZoneRing = std::vector<PlanXY>;       // closed: the first point repeated at the end
using ZonePolygon = std::vector<ZoneRing>;  // the outer ring, then its holes

struct CaptureZone {
  std::string well;
  std::optional<double> time;  // none: the whole capture zone
  std::optional<int> layer;    // none: the union over all layers
  std::vector<ZonePolygon> polygons;
  double area = 0;
  int particles = 0;  // released at the well
  // Particles whose tracking ended before the time without reaching where
  // their water comes from (a step limit, a run stopped): the zone may
  // reach farther than drawn.
  int stoppedShort = 0;
  bool fromSource = false;  // the area a source's water reaches, not the area that feeds a well
  bool Complete() const { return stoppedShort == 0; }
};

// "well 2,8,15", or "source" for a zone a source reaches.
std::string ZoneOwnerText(const CaptureZone& zone);

// "365.25 days", "whole capture zone" ("whole zone" from a source), with
// ", layer 2" for a layer's own zone.
std::string ZoneTimeText(const CaptureZone& zone, int timeUnit);

// The zones of `well`: one per travel time, then the whole capture zone,
// over all layers; with `perLayer` then the same for each layer in turn.
// False, with the reason in `error`, when the raster would be too large or
// GDAL cannot polygonise it.
bool BuildCaptureZones(const ModelState& state, const WellPaths& well, const ZoneSettings& settings,
                       std::vector<CaptureZone>& zones, std::string& error);

// Tracks from `wells` with `divisions` x `divisions` particles on each face
// and builds their zones, well by well; the tracks are kept in `tracks`.
// False, with the reason in `error`, when a zone cannot be built.
bool CaptureZonesOfWells(CaptureRun& run, const std::vector<WellScreen>& wells, WellRelease release,
                         const ZoneSettings& settings, CaptureTracks& tracks, std::vector<CaptureZone>& zones,
                         std::string& error);

// The zones as a layer "capture_zones" of multipolygons in world
// coordinates, with the well, the travel time (null for the whole zone),
// the area, the particle count, whether the zone is complete and its layer
// (null for the union over layers).
FeatureLayer CaptureZoneLayer(const ModelState& state, const std::vector<CaptureZone>& zones);

}  // namespace kestra
