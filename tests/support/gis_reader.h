// Reads GIS files back through GDAL's own readers, for the tests that must
// show our exports open in GIS programs.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kestra::test {

struct ReadVertex {
  double x = 0, y = 0, z = 0;
};

struct ReadFeature {
  std::vector<ReadVertex> vertices;         // a point's one vertex, a line's, the outer rings of polygons
  std::map<std::string, std::string> text;  // every field as GDAL gives it as text; "" for null
  bool IsNull(const std::string& field) const { return text.at(field).empty(); }
  double Number(const std::string& field) const { return std::stod(text.at(field)); }
};

struct ReadLayer {
  std::string name;
  std::string geometryType;  // GDAL's name: "3D Line String", "Polygon", ...
  std::string crsName;       // the name of the layer's system; empty without one
  std::string crsAuthority;  // "EPSG:32633"; empty when it has no authority code
  std::vector<ReadFeature> features;
};

// Every layer of the file; empty when GDAL cannot open it.
std::vector<ReadLayer> ReadGisLayers(const std::string& path);

struct ReadRaster {
  bool opened = false;
  int columns = 0, rows = 0;
  double geoTransform[6] = {};
  double noData = 0;
  std::string crsAuthority;
  std::vector<float> values;
};

ReadRaster ReadGisRaster(const std::string& path);

}  // namespace kestra::test
