// The result exports of the open model, as the batch tool and the window's
// Export Results write them: one layer's heads, drawdowns or velocities as a
// text array or a raster, its contour lines and cells as GIS layers, the
// grid for ParaView, the pathlines and end points of runs, and capture zones.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/capture_zones.h"
#include "export/export_formats.h"
#include "session/session.h"
#include "tracking/endpoint_table.h"
#include "tracking/mp7_files.h"
#include "tracking/recorded_paths.h"

namespace kestra {

enum class ExportKind { Heads, Drawdowns, Velocity, Contours, Grid, Pathlines, Endpoints, CaptureZones };

// The formats `kind` can be written in, the usual one first.
std::vector<ExportFormat> FormatsOf(ExportKind kind);
bool FormatFits(ExportKind kind, ExportFormat format);

// The format a file is written in when none is named: heads and drawdowns
// stay text arrays unless the file is a GeoTIFF, velocities are text
// arrays, the others follow the extension. Nothing when it names none.
std::optional<ExportFormat> DefaultFormat(ExportKind kind, const std::string& path);

// What the export of `kind` in `format` needs that the time step did not
// load whole ("the heads", "the flow terms", ...); empty when it all loaded.
std::string MissingResults(const Session& session, ExportKind kind, ExportFormat format);

// Writes `kind` (not the pathlines or end points) of `layer` to `path`, in
// the world position of the model; contours take the levels of the model's
// contour file or the default levels of the layer. False, with the reason
// in `error` and no file changed, when it cannot be written.
bool WriteLayerExport(Session& session, ExportKind kind, ExportFormat format, int layer, const std::string& path,
                      UserInterface& ui, std::string& error);

// The pathlines of runs as a GIS layer or VTK poly data, and their end
// points with the release points beside them as GIS layers. `labels` may
// be null. False, with the reason in `error`, when the file could not be written.
bool WritePathlineExport(const std::string& path, ExportFormat format, const ModelState& state,
                         const std::vector<RecordedPath>& paths, const std::vector<Endpoint>& endpoints,
                         const Mp7Labels* labels, std::string& error);
bool WriteEndpointExport(const std::string& path, ExportFormat format, const ModelState& state,
                         const std::vector<Endpoint>& endpoints, const Mp7Labels* labels, std::string& error);

// The capture zones as a GIS layer in `format` (a vector format). False,
// with the reason in `error`, when the file could not be written.
bool WriteCaptureZoneExport(const std::string& path, GisFormat format, const ModelState& state,
                            const std::vector<CaptureZone>& zones, std::string& error);

}  // namespace kestra
