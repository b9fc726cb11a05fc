// Everything the application keeps about the open model: the model itself,
// its settings, tracking settings and stress periods, the contour table and
// what the last open or import managed to load.
#pragma once

#include <cstdint>
#include <string>

#include "core/model_state.h"
#include "core/run_state.h"
#include "graphics/contour_table.h"
#include "results/boundary_flows.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"

namespace kestra {

// What the last open or import loaded besides the model data; the flow terms
// are ModelState::flowTermsLoaded.
struct LoadStatus {
  bool headsLoaded = false;
  bool drawdownsLoaded = false;
  bool velocitiesComputed = false;  // VX, VY, VZ hold those of the loaded flow terms
  float maxSpeed = -1.0E+30f;  // largest cell-centre speed, from the velocities
  bool sinkCellsLoaded = false;
  // Boundary packages the model lists but the budget file gives no flow
  // terms of: all their cells are sinks.
  PackageKeys sinksWithoutFlowTerms;
};

struct Session {
  ModelState model;
  Settings settings;
  TrackingSettings tracking;
  StressPeriods periods;
  BusyFlags busy;
  ContourTable contours;
  std::int16_t layerPropertyHeader = 0;  // the 16-bit value ahead of the layer property records
  std::string settingsPath;              // the settings file of the open model
  LoadStatus loaded;
};

// The file beside the model named after it with `extension`, as its family
// names it: the model file path without its ".mdl", or the name file path
// without its extension.
std::string ModelSiblingPath(const ModelState& model, const std::string& extension);

}  // namespace kestra
