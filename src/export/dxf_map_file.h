// Reading DXF base maps: the entities a site map needs (points, lines,
// circles, arcs, polylines, texts, solids), in the file's own coordinates.
// Every group code and every value is one whole line. A map is read once and
// kept while its file's size and modification time stay the same.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

struct MapPoint {
  float x = 0;
  float y = 0;
};

enum class MapEntityKind { Point, Line, Circle, Arc, Polyline, Text, Solid };

// One entity ready to draw. Points: 1 for POINT, CIRCLE, ARC and TEXT (the
// centre or insertion point), 2 for LINE, the vertices of a polyline, the
// four corners of a SOLID in outline order.
struct MapEntity {
  MapEntityKind kind = MapEntityKind::Point;
  int colorIndex = 0;  // group 62 as read, 0 when absent
  std::vector<MapPoint> points;
  std::vector<int> vertexColorIndex;  // polylines: group 62 of each vertex, else of the polyline
  bool closed = false;                // polylines: the last vertex joins the first
  float radius = 0;                   // circles and arcs; the height of texts
  float startAngle = 0;               // arcs, degrees; the rotation of texts
  float endAngle = 0;                 // arcs, degrees; the obliquing angle of texts
  float widthFactor = 1;              // texts
  std::string text;
};

struct DxfMapContent {
  std::vector<MapEntity> entities;
};

// Called with the percentage of the file read; returns true to break off.
using ReadProgress = std::function<bool(int percent)>;

struct DxfMapReadResult {
  bool broken = false;  // the progress callback asked to stop
  // The line of a group code that is not an integer, 0 when none: reading
  // stopped there and kept what came before.
  std::size_t badCodeLine = 0;
};

// Reads the text of a DXF file into `content`. Entities whose listed values
// are not numbers are skipped; a group code line that is not an integer ends
// the reading. It never reads a line twice.
DxfMapReadResult ReadDxfMap(std::string_view text, DxfMapContent& content, const ReadProgress& progress = {});

// "The DXF map FILE has a group code that is not a number in line N; the rest of it is skipped."
std::string BadGroupCodeMessage(const std::string& path, std::size_t line);

// Maps read before, by path, with the size and modification time of the file then.
struct DxfMapCache {
  struct Entry {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time;
    std::shared_ptr<const DxfMapContent> content;
  };
  std::map<std::string, Entry> maps;
};

struct LoadedDxfMap {
  std::shared_ptr<const DxfMapContent> content;  // empty when the file could not be read or reading broke off
  std::string problem;                           // a problem found now, not when read before
};

// The map of the file: from the cache while the file is unchanged, else read
// afresh (and then kept unless the reading broke off).
LoadedDxfMap LoadDxfMap(DxfMapCache& cache, const std::string& path, const ReadProgress& progress = {});

}  // namespace kestra
