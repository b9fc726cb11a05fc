#include "export/export_formats.h"

#include <filesystem>

#include "core/text_reader.h"

namespace kestra {
namespace {

struct FormatName {
  ExportFormat format;
  const char* word;
  const char* extension;  // upper case
  const char* otherExtension;
};

constexpr FormatName kFormatNames[] = {
    {ExportFormat::TextArray, "text", ".TXT", ".DAT"},
    {ExportFormat::GeoTiff, "tif", ".TIF", ".TIFF"},
    {ExportFormat::GeoPackage, "gpkg", ".GPKG", ""},
    {ExportFormat::Shapefile, "shp", ".SHP", ""},
    {ExportFormat::GeoJson, "geojson", ".GEOJSON", ".JSON"},
    {ExportFormat::Csv, "csv", ".CSV", ""},
    {ExportFormat::VtkGrid, "vtu", ".VTU", ""},
    {ExportFormat::VtkPolyData, "vtp", ".VTP", ""},
};

}  // namespace

std::optional<ExportFormat> ExportFormatNamed(const std::string& word) {
  for (const FormatName& name : kFormatNames)
    if (word == name.word) return name.format;
  return std::nullopt;
}

std::optional<ExportFormat> ExportFormatOfPath(const std::string& path) {
  const std::string extension = UpperCase(std::filesystem::path(path).extension().string());
  if (extension.empty()) return ExportFormat::GeoPackage;
  for (const FormatName& name : kFormatNames)
    if (extension == name.extension || extension == name.otherExtension) return name.format;
  return std::nullopt;
}

std::optional<GisFormat> VectorFormatOf(ExportFormat format) {
  switch (format) {
    case ExportFormat::GeoPackage:
      return GisFormat::GeoPackage;
    case ExportFormat::Shapefile:
      return GisFormat::Shapefile;
    case ExportFormat::GeoJson:
      return GisFormat::GeoJson;
    case ExportFormat::Csv:
      return GisFormat::Csv;
    default:
      return std::nullopt;
  }
}

std::string ExportFormatWord(ExportFormat format) {
  for (const FormatName& name : kFormatNames)
    if (name.format == format) return name.word;
  return "";
}

bool IsDxfPath(const std::string& path) {
  return UpperCase(std::filesystem::path(path).extension().string()) == ".DXF";
}

}  // namespace kestra
