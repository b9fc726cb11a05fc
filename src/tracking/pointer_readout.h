// What the status panes say about the point under the mouse pointer on the
// plan: its world position and elevation, its cell, head and speeds.
#pragma once

#include <array>
#include <string>

#include "core/model_state.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/particle_set.h"

namespace kestra {

// World easting and northing of plan point (x, y): the plan's y runs down
// the rows, the world's northing up.
struct WorldEastNorth {
  double x = 0;
  double y = 0;
};
WorldEastNorth WorldOfPlanPoint(const ModelOrigin& origin, float x, float y);

// The cell of `layer` under plan point (x, y); column and row 0 when the
// point lies outside the grid (edges belong to the lower cell).
CellIndex PointerCell(const ModelState& state, float x, float y, int layer);

// The text shown where a pane has no value.
inline constexpr const char* kNoValueText = "---";

// Texts of status panes 0..4 for the pointer at plan point (x, y) of `layer`,
// at relative height `verticalPosition` inside the cell: world X, Y and the
// elevation; column, row and layer; the head ("---" over an inactive cell);
// the horizontal and the vertical speed ("---" unless the cell is active).
std::array<std::string, 5> PointerReadout(const ModelState& state, const Settings& settings,
                                          const TrackingSettings& tracking, float x, float y, int layer,
                                          float verticalPosition);

}  // namespace kestra
