#include "support/gis_reader.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <memory>

namespace kestra::test {
namespace {

struct Closer {
  void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};

std::unique_ptr<GDALDataset, Closer> Open(const std::string& path, unsigned int kind) {
  GDALAllRegister();
  return std::unique_ptr<GDALDataset, Closer>(
      GDALDataset::FromHandle(GDALOpenEx(path.c_str(), kind | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
}

std::string AuthorityOf(const OGRSpatialReference* reference) {
  if (reference == nullptr || reference->GetAuthorityName(nullptr) == nullptr) return {};
  return std::string(reference->GetAuthorityName(nullptr)) + ":" + reference->GetAuthorityCode(nullptr);
}

void AddVertices(const OGRGeometry* geometry, std::vector<ReadVertex>& vertices) {
  if (geometry == nullptr) return;
  const OGRwkbGeometryType flat = wkbFlatten(geometry->getGeometryType());
  if (flat == wkbPoint) {
    const auto* point = geometry->toPoint();
    vertices.push_back({point->getX(), point->getY(), point->getZ()});
  } else if (flat == wkbLineString) {
    for (const OGRPoint& point : *geometry->toLineString())
      vertices.push_back({point.getX(), point.getY(), point.getZ()});
  } else if (flat == wkbPolygon) {
    for (const OGRPoint& point : *geometry->toPolygon()->getExteriorRing())
      vertices.push_back({point.getX(), point.getY(), point.getZ()});
  } else if (flat == wkbMultiPolygon) {
    for (const OGRPolygon* part : *geometry->toMultiPolygon()) AddVertices(part, vertices);
  }
}

}  // namespace

std::vector<ReadLayer> ReadGisLayers(const std::string& path) {
  std::vector<ReadLayer> layers;
  const auto dataset = Open(path, GDAL_OF_VECTOR);
  if (!dataset) return layers;
  for (OGRLayer* layer : dataset->GetLayers()) {
    ReadLayer read;
    read.name = layer->GetName();
    read.geometryType = OGRGeometryTypeToName(layer->GetGeomType());
    if (const OGRSpatialReference* reference = layer->GetSpatialRef()) {
      read.crsName = reference->GetName() ? reference->GetName() : "";
      read.crsAuthority = AuthorityOf(reference);
    }
    for (const auto& feature : *layer) {
      ReadFeature readFeature;
      AddVertices(feature->GetGeometryRef(), readFeature.vertices);
      for (int n = 0; n < feature->GetFieldCount(); ++n)
        readFeature.text[feature->GetFieldDefnRef(n)->GetNameRef()] =
            feature->IsFieldSetAndNotNull(n) ? feature->GetFieldAsString(n) : "";
      read.features.push_back(std::move(readFeature));
    }
    layers.push_back(std::move(read));
  }
  return layers;
}

ReadRaster ReadGisRaster(const std::string& path) {
  ReadRaster raster;
  const auto dataset = Open(path, GDAL_OF_RASTER);
  if (!dataset) return raster;
  raster.opened = true;
  raster.columns = dataset->GetRasterXSize();
  raster.rows = dataset->GetRasterYSize();
  dataset->GetGeoTransform(raster.geoTransform);
  raster.crsAuthority = AuthorityOf(dataset->GetSpatialRef());
  GDALRasterBand* band = dataset->GetRasterBand(1);
  raster.noData = band->GetNoDataValue();
  raster.values.resize(static_cast<std::size_t>(raster.columns) * raster.rows);
  if (band->RasterIO(GF_Read, 0, 0, raster.columns, raster.rows, raster.values.data(), raster.columns, raster.rows,
                     GDT_Float32, 0, 0, nullptr) != CE_None)
    raster.values.clear();
  return raster;
}

}  // namespace kestra::test
