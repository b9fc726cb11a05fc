// DXF base maps over the plan view: up to five maps, each scaled and shifted
// into the model's world coordinates and drawn in its colour. Maps are drawn
// on the screen only, never into plots.
#pragma once

#include <string>

#include "core/user_interface.h"
#include "export/dxf_map_file.h"
#include "graphics/plot_primitives.h"
#include "graphics/stroke_font.h"
#include "settings/settings.h"

namespace kestra {

// The colour of a map that has none of its own.
inline constexpr Colour kDefaultMapColour = RgbColour(0, 0, 128);

// "Draw DXF Map #2; Press ESC to Break"
std::string DrawMapHint(int map);

struct MapInputs {
  const Settings& settings;
  UserInterface& ui;
  const StrokeFont& font;
  DxfMapCache& cache;
};

// Draws every displayed map whose file exists, map 1 first. Esc ends the
// map being drawn; the next maps are still drawn. A map whose group codes
// stop making sense is drawn up to there, with one message when it is read.
void DrawDxfMaps(PlotContext& context, const MapInputs& inputs);

// Draws one map's entities with the entry's shift, factor and colour; false
// when Esc broke it off.
bool DrawDxfMap(PlotContext& context, const MapInputs& inputs, const DxfMapContent& map, const DxfMapEntry& entry);

// The colour of an entity: the colour index table's entry for a group 62 of
// 1..255, unless that is white; otherwise the map's colour.
Colour MapEntityColour(int colorIndex, Colour mapColour);

// Fills the quadrilateral with the corners in the given order (plan
// coordinates), on the plan picture only.
void FillSolid(PlotContext& context, const float x[4], const float y[4], Colour colour);

}  // namespace kestra
