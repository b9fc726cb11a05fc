#include "export/gis_writer.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/quoted_text.h"
#include "export/gdal_support.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

const char* DriverOf(GisFormat format) {
  switch (format) {
    case GisFormat::GeoPackage:
      return "GPKG";
    case GisFormat::Shapefile:
      return "ESRI Shapefile";
    case GisFormat::GeoJson:
      return "GeoJSON";
    case GisFormat::Csv:
      return "CSV";
  }
  return "";
}

// A folder beside the target for the new files, removed with whatever it
// still holds; Publish moves its files over the targets.
class StagingFolder {
 public:
  explicit StagingFolder(const std::string& target) {
    const fs::path path(target);
    folder_ = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string pattern = (folder_ / ("." + path.filename().string() + ".kestra-XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) staging_ = pattern;
  }
  ~StagingFolder() {
    std::error_code ignored;
    if (!staging_.empty()) fs::remove_all(staging_, ignored);
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  bool IsReady() const { return !staging_.empty(); }
  std::string PathOf(const std::string& fileName) const { return (fs::path(staging_) / fileName).string(); }

  bool Publish(std::string& error) const {
    std::error_code failure;
    for (const fs::directory_entry& entry : fs::directory_iterator(staging_, failure)) {
      fs::rename(entry.path(), folder_ / entry.path().filename(), failure);
      if (failure) {
        error = (folder_ / entry.path().filename()).string() + ": " + failure.message();
        return false;
      }
    }
    if (failure) error = staging_ + ": " + failure.message();
    return !failure;
  }

 private:
  fs::path folder_;
  std::string staging_;
};

std::optional<OGRSpatialReference> ReferenceOf(const std::string& crs) {
  OGRSpatialReference reference;
  if (reference.SetFromUserInput(crs.c_str()) != OGRERR_NONE) return std::nullopt;
  // x east, y north, whatever axis order the authority gives the system.
  reference.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return reference;
}

OGRwkbGeometryType GeometryTypeOf(GeometryKind kind) {
  switch (kind) {
    case GeometryKind::PointZ:
      return wkbPoint25D;
    case GeometryKind::LineStringZ:
      return wkbLineString25D;
    case GeometryKind::Polygon:
      return wkbPolygon;
    case GeometryKind::MultiPolygon:
      return wkbMultiPolygon;
  }
  return wkbUnknown;
}

OGRFieldType FieldTypeOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::Integer:
      return OFTInteger64;
    case FieldKind::Real:
      return OFTReal;
    case FieldKind::Text:
      return OFTString;
  }
  return OFTString;
}

OGRLinearRing* NewRing(const Ring& vertices) {
  auto* ring = new OGRLinearRing;
  for (const WorldVertex& v : vertices) ring->addPoint(v.x, v.y);
  return ring;
}

std::unique_ptr<OGRGeometry> MultiPolygonOf(const std::vector<PolygonRings>& parts) {
  auto multi = std::make_unique<OGRMultiPolygon>();
  for (const PolygonRings& rings : parts) {
    auto polygon = std::make_unique<OGRPolygon>();
    for (const Ring& ring : rings) polygon->addRingDirectly(NewRing(ring));
    multi->addGeometryDirectly(polygon.release());
  }
  return multi;
}

std::unique_ptr<OGRGeometry> GeometryOf(GeometryKind kind, const Feature& feature) {
  const std::vector<WorldVertex>& vertices = feature.vertices;
  if (kind == GeometryKind::MultiPolygon) return MultiPolygonOf(feature.polygons);
  if (kind == GeometryKind::PointZ) {
    const WorldVertex v = vertices.empty() ? WorldVertex{} : vertices.front();
    return std::make_unique<OGRPoint>(v.x, v.y, v.z);
  }
  if (kind == GeometryKind::LineStringZ) {
    auto line = std::make_unique<OGRLineString>();
    for (const WorldVertex& v : vertices) line->addPoint(v.x, v.y, v.z);
    return line;
  }
  auto polygon = std::make_unique<OGRPolygon>();
  polygon->addRingDirectly(NewRing(vertices));
  return polygon;
}

void SetValue(OGRFeature& feature, int field, const FieldValue& value) {
  if (std::holds_alternative<std::monostate>(value))
    feature.SetFieldNull(field);
  else if (const auto* integer = std::get_if<std::int64_t>(&value))
    feature.SetField(field, static_cast<GIntBig>(*integer));
  else if (const auto* real = std::get_if<double>(&value))
    feature.SetField(field, *real);
  else
    feature.SetField(field, std::get<std::string>(value).c_str());
}

char** LayerOptions(GisFormat format, bool hasReference) {
  char** options = nullptr;
  // Longitude and latitude in WGS 84, reprojected by GDAL, as RFC 7946 asks.
  if (format == GisFormat::GeoJson && hasReference) options = CSLSetNameValue(options, "RFC7946", "YES");
  if (format == GisFormat::Csv) {
    options = CSLSetNameValue(options, "GEOMETRY", "AS_WKT");
    options = CSLSetNameValue(options, "CREATE_CSVT", "YES");
  }
  return options;
}

bool WriteLayer(GDALDataset& dataset, GisFormat format, OGRSpatialReference* reference, const FeatureLayer& source,
                std::string& error) {
  if (reference != nullptr && reference->IsLocal() && (format == GisFormat::GeoJson || format == GisFormat::Csv))
    reference = nullptr;
  char** options = LayerOptions(format, reference != nullptr);
  OGRLayer* layer = dataset.CreateLayer(source.name.c_str(), reference, GeometryTypeOf(source.geometry), options);
  CSLDestroy(options);
  if (layer == nullptr) {
    error = GdalReason("the layer " + source.name + " cannot be made");
    return false;
  }
  for (const FieldDefinition& field : source.fields) {
    OGRFieldDefn definition(field.name.c_str(), FieldTypeOf(field.kind));
    if (layer->CreateField(&definition) != OGRERR_NONE) {
      error = GdalReason("the field " + field.name + " cannot be made");
      return false;
    }
  }
  const bool transaction = layer->StartTransaction() == OGRERR_NONE;
  for (const Feature& sourceFeature : source.features) {
    OGRFeature feature(layer->GetLayerDefn());
    for (std::size_t n = 0; n < source.fields.size() && n < sourceFeature.values.size(); ++n)
      SetValue(feature, static_cast<int>(n), sourceFeature.values[n]);
    feature.SetGeometryDirectly(GeometryOf(source.geometry, sourceFeature).release());
    if (layer->CreateFeature(&feature) != OGRERR_NONE) {
      error = GdalReason("a feature of " + source.name + " cannot be written");
      return false;
    }
  }
  if (transaction && layer->CommitTransaction() != OGRERR_NONE) {
    error = GdalReason("the layer " + source.name + " cannot be written");
    return false;
  }
  return true;
}

GDALDriver* DriverNamed(const char* name, std::string& error) {
  RegisterGdalDrivers();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(name);
  if (driver == nullptr) error = std::string("this GDAL has no ") + name + " driver";
  return driver;
}

// The file of layer `n`: the target itself, or beside it for formats of one
// layer a file.
std::string FileNameOf(const fs::path& target, GisFormat format, const FeatureLayer& layer, std::size_t n) {
  if (n == 0 || format == GisFormat::GeoPackage) return target.filename().string();
  return target.stem().string() + "_" + layer.name + target.extension().string();
}

}  // namespace

std::string CrsProblem(const std::string& crs) {
  if (crs.empty()) return {};
  QuietGdalErrors quiet;
  if (ReferenceOf(crs)) return {};
  return "the coordinate reference system " + SingleQuotedText(crs) + " is not known";
}

std::string LocalCrs(LengthUnit unit) {
  OGRSpatialReference local;
  const std::string name = LengthUnitSymbol(unit).empty() ? "Model coordinates, length unit not given"
                                                          : "Model coordinates";
  local.SetLocalCS(name.c_str());
  // The unit's metres: a foot is 0.3048 m.
  if (unit == LengthUnit::Feet) local.SetLinearUnits(SRS_UL_FOOT, 0.3048);
  else if (unit == LengthUnit::Centimeters) local.SetLinearUnits("centimetre", 0.01);
  else local.SetLinearUnits(SRS_UL_METER, 1.0);
  char* wkt = nullptr;
  local.exportToWkt(&wkt);
  const std::string text = wkt != nullptr ? wkt : "";
  CPLFree(wkt);
  return text;
}

bool WriteFeatureLayers(const std::string& path, GisFormat format, const std::string& crs,
                        const std::vector<FeatureLayer>& layers, std::string& error) {
  QuietGdalErrors quiet;
  if (const std::string problem = CrsProblem(crs); !problem.empty()) {
    error = problem;
    return false;
  }
  GDALDriver* driver = DriverNamed(DriverOf(format), error);
  if (driver == nullptr) return false;
  std::optional<OGRSpatialReference> reference = crs.empty() ? std::nullopt : ReferenceOf(crs);
  StagingFolder staging(path);
  if (!staging.IsReady()) {
    error = path + ": the folder cannot be written";
    return false;
  }
  GdalDataset dataset;
  for (std::size_t n = 0; n < layers.size(); ++n) {
    if (n == 0 || format != GisFormat::GeoPackage) {
      const std::string file = staging.PathOf(FileNameOf(path, format, layers[n], n));
      dataset.reset(driver->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
      if (!dataset) {
        error = GdalReason(path + " cannot be made");
        return false;
      }
    }
    if (!WriteLayer(*dataset, format, reference ? &*reference : nullptr, layers[n], error)) {
      error = path + ": " + error;
      return false;
    }
    if (format != GisFormat::GeoPackage) dataset.reset();
  }
  dataset.reset();
  if (CPLGetLastErrorType() >= CE_Failure) {
    error = GdalReason(path + " cannot be written");
    return false;
  }
  return staging.Publish(error);
}

bool WriteGeoTiff(const std::string& path, const std::string& crs, const RasterGrid& grid, std::string& error) {
  QuietGdalErrors quiet;
  if (const std::string problem = CrsProblem(crs); !problem.empty()) {
    error = problem;
    return false;
  }
  GDALDriver* driver = DriverNamed("GTiff", error);
  if (driver == nullptr) return false;
  StagingFolder staging(path);
  if (!staging.IsReady()) {
    error = path + ": the folder cannot be written";
    return false;
  }
  char** options = CSLSetNameValue(nullptr, "COMPRESS", "DEFLATE");
  GdalDataset dataset(driver->Create(staging.PathOf(fs::path(path).filename().string()).c_str(), grid.columns, grid.rows, 1,
                                 GDT_Float32, options));
  CSLDestroy(options);
  if (!dataset) {
    error = GdalReason(path + " cannot be made");
    return false;
  }
  double transform[6];
  std::copy(std::begin(grid.geoTransform), std::end(grid.geoTransform), transform);
  dataset->SetGeoTransform(transform);
  if (const auto reference = crs.empty() ? std::nullopt : ReferenceOf(crs)) dataset->SetSpatialRef(&*reference);
  GDALRasterBand* band = dataset->GetRasterBand(1);
  band->SetNoDataValue(grid.noData);
  std::vector<float> values = grid.values;
  if (band->RasterIO(GF_Write, 0, 0, grid.columns, grid.rows, values.data(), grid.columns, grid.rows, GDT_Float32, 0, 0,
                     nullptr) != CE_None) {
    error = GdalReason(path + " cannot be written");
    return false;
  }
  dataset.reset();
  if (CPLGetLastErrorType() >= CE_Failure) {
    error = GdalReason(path + " cannot be written");
    return false;
  }
  return staging.Publish(error);
}

}  // namespace kestra
