// The file formats of the result exports, as the batch tool's --format
// names them or a file's extension implies.
#pragma once

#include <optional>
#include <string>

#include "export/gis_writer.h"

namespace kestra {

enum class ExportFormat { TextArray, GeoTiff, GeoPackage, Shapefile, GeoJson, Csv, VtkGrid, VtkPolyData };

// "text", "tif", "gpkg", "shp", "geojson", "csv", "vtu" or "vtp"; nothing for another word.
std::optional<ExportFormat> ExportFormatNamed(const std::string& word);

// The format the extension of `path` names (.tif or .tiff, .gpkg, .shp,
// .geojson or .json, .csv, .vtu, .vtp; any letter case); a name without an
// extension is a GeoPackage. Nothing for another extension.
std::optional<ExportFormat> ExportFormatOfPath(const std::string& path);

// True when `path` ends in .dxf (any letter case).
bool IsDxfPath(const std::string& path);

// The GIS vector format of `format`; nothing for a raster, text or VTK format.
std::optional<GisFormat> VectorFormatOf(ExportFormat format);

// The --format word of `format`.
std::string ExportFormatWord(ExportFormat format);

}  // namespace kestra
