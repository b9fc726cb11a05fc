// The results of a model and its runs as GIS feature layers and rasters, in
// world coordinates (the model's position, x east, y north, z elevation, all
// in its length unit): pathlines, end and release points, contour lines, the
// cells of a layer, and a layer's heads or drawdowns as a raster.
#pragma once

#include <vector>

#include "core/model_state.h"
#include "export/feature_layer.h"
#include "export/gis_writer.h"
#include "graphics/contour_table.h"
#include "graphics/contour_tracing.h"
#include "tracking/endpoint_table.h"
#include "tracking/mp7_files.h"
#include "tracking/recorded_paths.h"

namespace kestra {

// One LineString Z per path with the attributes of its end point: particle
// id and group, direction, release, final and travel time, release and
// final cell, why the tracking stopped (text and MODPATH status code).
// `labels` may be null (particles named by number, released at time 0).
FeatureLayer PathlineLayer(const ModelState& state, const std::vector<RecordedPath>& paths,
                           const std::vector<Endpoint>& endpoints, const Mp7Labels* labels);

// One Point Z per end point (layer "endpoints") or per release point (layer
// "release_points"), with the attributes of the pathlines.
FeatureLayer EndpointLayer(const ModelState& state, const std::vector<Endpoint>& endpoints, const Mp7Labels* labels);
FeatureLayer ReleasePointLayer(const ModelState& state, const std::vector<Endpoint>& endpoints,
                               const Mp7Labels* labels);

// Every line of every level of `table` through `values` in `layer`, each a
// LineString at the height of its level, with its level and layer.
FeatureLayer ContourLayer(const ModelState& state, const CellArray<float>& values, int layer, const ContourTable& table,
                          const BlockedValues& blocked);

// One polygon per cell of `layer` with its place, IBOUND, top, bottom, head,
// drawdown (no value unless `drawdownsLoaded`), porosity and boundary
// packages of the current stress period.
FeatureLayer GridLayer(const ModelState& state, int layer, bool drawdownsLoaded);

// The no-data value of the rasters: the lowest 32-bit value.
double RasterNoData();

// `values` of `layer` on a raster whose pixels are the smallest column
// width by the smallest row width (columns and rows of other widths are
// resampled: a pixel takes the value of the cell its centre lies in), turned
// with the model; inactive cells and the no-flow and dry values have no data.
RasterGrid LayerRaster(const ModelState& state, const CellArray<float>& values, int layer,
                       const BlockedValues& blocked);

}  // namespace kestra
