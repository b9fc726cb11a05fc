// A layer of geographic features as the GIS exports build it: geometry in
// world coordinates and a row of attributes per feature. Plain data; the
// GIS writer alone knows the library that writes the formats.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kestra {

enum class GeometryKind { PointZ, LineStringZ, Polygon, MultiPolygon };

struct WorldVertex {
  double x = 0;  // east
  double y = 0;  // north
  double z = 0;  // elevation (unused by a polygon)
};

enum class FieldKind { Integer, Real, Text };

// Names of at most 10 characters: a shapefile keeps no more.
struct FieldDefinition {
  std::string name;
  FieldKind kind = FieldKind::Real;
};

// std::monostate: no value (null).
using FieldValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// A closed ring: its first vertex repeated at the end.
using Ring = std::vector<WorldVertex>;

// A polygon of a multipolygon: its outer ring, then its holes.
using PolygonRings = std::vector<Ring>;

struct Feature {
  // A point: one vertex; a line: its vertices; a polygon: its outer ring.
  std::vector<WorldVertex> vertices;
  std::vector<FieldValue> values;      // one per field of the layer, in its order
  std::vector<PolygonRings> polygons = {};  // the parts of a multipolygon
};

struct FeatureLayer {
  std::string name;
  GeometryKind geometry = GeometryKind::PointZ;
  std::vector<FieldDefinition> fields;
  std::vector<Feature> features;
};

}  // namespace kestra
