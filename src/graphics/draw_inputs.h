// What the plan view and the cross-sections draw from besides the model.
#pragma once

#include <functional>

#include "core/user_interface.h"
#include "graphics/colour_flood.h"
#include "graphics/package_layers.h"
#include "graphics/plot_primitives.h"
#include "settings/settings.h"

namespace kestra {

struct DrawInputs {
  DrawInputs(const Settings& drawSettings, const PackageLayerReader& packageReader, UserInterface& userInterface)
      : settings(drawSettings), packages(packageReader), ui(userInterface) {}

  const Settings& settings;
  const PackageLayerReader& packages;
  UserInterface& ui;
  bool gridPlotSwitch = false;  // lets the grid lines and the frame into plots
  bool headsLoaded = false;     // heads of the current step are there for the water table
  const ColourFlood* flood = nullptr;  // under everything on the plan of its layer and the sections, when given
  // Contours, velocity vectors and base maps, drawn on the plan after the sections.
  std::function<void(PlotContext&)> drawOverlays;
};

}  // namespace kestra
