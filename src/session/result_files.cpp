#include "session/result_files.h"

#include <algorithm>

#include "core/world_position.h"
#include "export/gis_features.h"
#include "export/gis_writer.h"
#include "export/result_exports.h"
#include "export/vtk_files.h"
#include "graphics/contours.h"
#include "session/time_step_results.h"

namespace kestra {
namespace {

const CellArray<float>* ContouredValues(const Session& session) {
  return ContourSource(session.model, session.settings, session.loaded.headsLoaded, session.loaded.drawdownsLoaded);
}

// The levels of the contour file, or the default levels over the range of `layer`.
ContourTable LayerContourLevels(Session& session, int layer, UserInterface& ui) {
  const int current = session.model.CurrentLayer;
  session.model.CurrentLayer = layer;
  ContourTable table = ReadContourLevels(ModelSiblingPath(session.model, ".ctr"), session.model, session.settings,
                                         session.loaded.drawdownsLoaded, ui);
  session.model.CurrentLayer = current;
  return table;
}

// The model's system, or a local one in its length unit.
std::string ExportCrs(const ModelState& model) {
  const std::string crs = PositionOf(model).crs;
  return crs.empty() ? LocalCrs(model.lengthUnit) : crs;
}

ResultExport TextArrayOf(ExportKind kind) {
  if (kind == ExportKind::Heads) return ResultExport::Heads;
  return kind == ExportKind::Drawdowns ? ResultExport::Drawdowns : ResultExport::Velocity;
}

}  // namespace

std::vector<ExportFormat> FormatsOf(ExportKind kind) {
  using F = ExportFormat;
  switch (kind) {
    case ExportKind::Heads:
    case ExportKind::Drawdowns:
      return {F::TextArray, F::GeoTiff};
    case ExportKind::Velocity:
      return {F::TextArray};
    case ExportKind::Contours:
    case ExportKind::Endpoints:
    case ExportKind::CaptureZones:
      return {F::GeoPackage, F::Shapefile, F::GeoJson, F::Csv};
    case ExportKind::Grid:
      return {F::GeoPackage, F::Shapefile, F::GeoJson, F::Csv, F::VtkGrid};
    case ExportKind::Pathlines:
      return {F::GeoPackage, F::Shapefile, F::GeoJson, F::Csv, F::VtkPolyData};
  }
  return {};
}

bool FormatFits(ExportKind kind, ExportFormat format) {
  const std::vector<ExportFormat> formats = FormatsOf(kind);
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

std::optional<ExportFormat> DefaultFormat(ExportKind kind, const std::string& path) {
  const auto named = ExportFormatOfPath(path);
  if (kind == ExportKind::Velocity) return ExportFormat::TextArray;
  if (kind == ExportKind::Heads || kind == ExportKind::Drawdowns)
    return named == ExportFormat::GeoTiff ? ExportFormat::GeoTiff : ExportFormat::TextArray;
  return named;
}

std::string MissingResults(const Session& session, ExportKind kind, ExportFormat format) {
  const bool flow = session.model.flowTermsLoaded;
  switch (kind) {
    case ExportKind::Heads:
      return session.loaded.headsLoaded ? "" : "the heads";
    case ExportKind::Drawdowns:
      return session.loaded.drawdownsLoaded ? "" : "the drawdowns";
    case ExportKind::Velocity:
      return flow ? "" : "the flow terms";
    case ExportKind::Contours:
      return ContouredValues(session) ? "" : "the results the contours are drawn of";
    case ExportKind::Grid:
      if (!session.loaded.headsLoaded) return "the heads";
      return format == ExportFormat::VtkGrid && !flow ? "the flow terms" : "";
    case ExportKind::Pathlines:
    case ExportKind::Endpoints:
      return flow ? "" : "the flow terms";
    case ExportKind::CaptureZones:
      return "";  // made of paths tracked when they were drawn
  }
  return {};
}

bool WriteLayerExport(Session& session, ExportKind kind, ExportFormat format, int layer, const std::string& path,
                      UserInterface& ui, std::string& error) {
  const ModelState& model = session.model;
  const std::string crs = ExportCrs(model);
  const BlockedValues blocked{session.settings.HNOFLO, session.settings.HDRY};
  if (kind == ExportKind::Velocity || format == ExportFormat::VtkGrid) CellVelocitiesReady(session);
  if (format == ExportFormat::TextArray)
    return SaveResultExport(path, model, layer, TextArrayOf(kind), {blocked.HNOFLO, blocked.HDRY}, error);
  if (format == ExportFormat::GeoTiff) {
    const CellArray<float>& values = kind == ExportKind::Heads ? model.HEAD : model.DRAWDOWN;
    return WriteGeoTiff(path, crs, LayerRaster(model, values, layer, blocked), error);
  }
  if (format == ExportFormat::VtkGrid) return WriteVtkGrid(path, model, error);
  const GisFormat gis = *VectorFormatOf(format);
  if (kind == ExportKind::Grid)
    return WriteFeatureLayers(path, gis, crs, {GridLayer(model, layer, session.loaded.drawdownsLoaded)}, error);
  const ContourTable levels = LayerContourLevels(session, layer, ui);
  return WriteFeatureLayers(path, gis, crs, {ContourLayer(model, *ContouredValues(session), layer, levels, blocked)},
                            error);
}

bool WritePathlineExport(const std::string& path, ExportFormat format, const ModelState& state,
                         const std::vector<RecordedPath>& paths, const std::vector<Endpoint>& endpoints,
                         const Mp7Labels* labels, std::string& error) {
  if (format == ExportFormat::VtkPolyData) return WriteVtkPathlines(path, state, paths, error);
  return WriteFeatureLayers(path, *VectorFormatOf(format), ExportCrs(state),
                            {PathlineLayer(state, paths, endpoints, labels)}, error);
}

bool WriteEndpointExport(const std::string& path, ExportFormat format, const ModelState& state,
                         const std::vector<Endpoint>& endpoints, const Mp7Labels* labels, std::string& error) {
  return WriteFeatureLayers(path, *VectorFormatOf(format), ExportCrs(state),
                            {EndpointLayer(state, endpoints, labels), ReleasePointLayer(state, endpoints, labels)},
                            error);
}

bool WriteCaptureZoneExport(const std::string& path, GisFormat format, const ModelState& state,
                            const std::vector<CaptureZone>& zones, std::string& error) {
  return WriteFeatureLayers(path, format, ExportCrs(state), {CaptureZoneLayer(state, zones)}, error);
}

}  // namespace kestra
