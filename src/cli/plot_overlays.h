// The overlays of kestra-cli plot: contours, velocity vectors and DXF base maps, with
// the options that switch them over the model's settings.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "export/dxf_map_file.h"
#include "graphics/draw_inputs.h"
#include "graphics/stroke_font.h"
#include "session/session.h"

namespace kestra::cli {

// One --map FILE[,SHIFTX,SHIFTY,FACTOR].
struct MapOption {
  std::string file;
  float shiftX = 0;
  float shiftY = 0;
  float factor = 1;
};

struct OverlayOptions {
  std::optional<bool> vectors;  // --vectors on|off
  std::vector<MapOption> maps;  // replace the maps of the settings when given
};

// Reads the value of --vectors or --map into `options`; false, with the reason
// on `err`, for a value that does not fit or a sixth map.
bool ReadOverlayOption(const std::string& option, const std::string& value, OverlayOptions& options,
                       std::ostream& err);

// Why a map file of `options` cannot be read ("roads.dxf does not exist");
// empty when all can.
std::string MapFileProblem(const OverlayOptions& options);
bool IsOverlayOption(const std::string& word);

// The options over the settings: the vector switch, and the given maps as
// maps 1.. in dark blue with the others switched off.
void ApplyOverlayOptions(const OverlayOptions& options, Settings& settings);

// What the overlays draw with; lives while the plot is drawn.
struct PlotOverlays {
  StrokeFont font;
  DxfMapCache cache;
};

// Loads the stroke font beside the program for the map texts.
void LoadOverlayFont(PlotOverlays& overlays);

// The overlay step of DrawModel: contours, vectors, then maps (on the screen
// pictures only).
void SetPlotOverlays(DrawInputs& inputs, PlotOverlays& overlays, Session& session);

}  // namespace kestra::cli
