// Writes feature layers and rasters in the formats GIS programs open, through
// GDAL: GeoPackage, ESRI shapefile (with its .prj), GeoJSON (in WGS 84
// longitude and latitude, as the format requires) and CSV with the geometry
// as WKT; GeoTIFF for rasters. Files appear whole or not at all: they are
// written in a folder of their own beside the target and moved over it.
#pragma once

#include <string>
#include <vector>

#include "core/world_position.h"
#include "export/feature_layer.h"

namespace kestra {

enum class GisFormat { GeoPackage, Shapefile, GeoJson, Csv };

// Why `crs` ("EPSG:32633", a WKT or a PROJ string) cannot be used; empty
// when it can, or when it is empty (coordinates of no stated system).
std::string CrsProblem(const std::string& crs);

// The system of a model placed on no stated one: a local (engineering)
// system in the model's length unit, as WKT, so that no reader takes the
// coordinates for degrees. GeoJSON and CSV files carry no local system.
std::string LocalCrs(LengthUnit unit);

// Writes `layers` to `path`. A GeoPackage holds them all; the other formats
// hold one layer a file, so the second and later layers go beside it as
// "<stem>_<layer name><extension>". False, with the reason in `error` and no
// file changed, when GDAL lacks the format, the system is not known, or a
// file cannot be written.
bool WriteFeatureLayers(const std::string& path, GisFormat format, const std::string& crs,
                        const std::vector<FeatureLayer>& layers, std::string& error);

// A raster of one band of 32-bit values, row by row from the north-west
// corner; `geoTransform` as GDAL defines it (x of the corner, column step x,
// row step x, y of the corner, column step y, row step y).
struct RasterGrid {
  int columns = 0;
  int rows = 0;
  std::vector<float> values;  // columns x rows
  double geoTransform[6] = {0, 1, 0, 0, 0, -1};
  double noData = 0;
};

// Writes `grid` as a GeoTIFF; false, with the reason in `error` and no file
// changed, when it cannot be.
bool WriteGeoTiff(const std::string& path, const std::string& crs, const RasterGrid& grid, std::string& error);

}  // namespace kestra
