// Plan, section and world coordinates. Plan points have y pointing down from
// the grid's upper edge; world points (DXF plots and base maps) have y up and
// follow the model's position and rotation.
#pragma once

#include "core/model_state.h"
#include "graphics/picture.h"
#include "graphics/view_layout.h"

namespace kestra {

struct WorldPoint {
  float x = 0;
  float y = 0;
};

// Total length of the grid, YEDGE(NROW): HPGL plots flip y with it. 0 without a grid.
float GridLength(const ModelState& model);

// Turns (x, y) about (X0, Y0) by the angle whose cosine and sine are c and s.
void RotateToWorld(float c, float s, float X0, float Y0, float x, float y, float& X, float& Y);

// The position in force: the model's own, or for a model never positioned the
// default (lower-left grid corner at world (0, 0), no rotation).
ModelOrigin PlotOrigin(const ModelState& model);

WorldPoint PlanToWorld(const ModelOrigin& origin, float x, float y);
// The exact inverse of PlanToWorld: a base map drawn from a plot lies on the model.
PicturePoint WorldToPlan(const ModelOrigin& origin, float X, float Y);

// Where a section point lands in a plot: the row section hangs 5 pixels below
// the plan window and the column section stands 5 pixels right of it, each
// with its top (Zmax) facing the plan and the elevation exaggerated.
PicturePoint RowSectionToPlan(const ViewLayout& layout, float x, float z);
PicturePoint ColumnSectionToPlan(const ViewLayout& layout, float z, float y);

}  // namespace kestra
