// Groundwater (pore) velocities on the faces and at the centres of the cells,
// derived from the cell-by-cell flow terms of the loaded time step.
#pragma once

#include "core/model_state.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"

namespace kestra {

// Pore velocities on the six faces of one cell, positive towards the higher
// column, the higher row and upward (model length per model time).
struct FaceVelocities {
  float VX1 = 0;  // face towards column J-1
  float VX2 = 0;  // face towards column J+1
  float VY1 = 0;  // face towards row I-1
  float VY2 = 0;  // face towards row I+1
  float VZ1 = 0;  // bottom
  float VZ2 = 0;  // top
};

// Heads at or above this (the 32-bit float nearest to 1E+25) mark cells
// without a result.
inline constexpr float kHeadLimit = 1e25f;

// True when the cell's head is a simulation result: below 1E+25 and neither
// HNOFLO nor HDRY. The cell must lie inside the arrays.
inline bool HasResultHead(const ModelState& state, const Settings& settings, int column, int row, int layer) {
  const float head = state.HEAD(column, row, layer);
  return head < kHeadLimit && head != settings.HNOFLO && head != settings.HDRY;
}

// True for a cell that carries flow: IBOUND non-zero (active or fixed head)
// and a result head. The same test decides whether the engine tracks in a cell.
inline bool IsFlowCell(const ModelState& state, const Settings& settings, int column, int row, int layer) {
  return state.IBOUND(column, row, layer) != 0 && HasResultHead(state, settings, column, row, layer);
}

// Elevation of the saturated top of a cell by its layer type: HEAD for
// unconfined layers (LAYCON 1), the lower of HEAD and TOP for convertible
// layers (3), TOP for every other code.
inline double SaturatedTop(const ModelState& state, int column, int row, int layer) {
  const double top = state.TOP(column, row, layer);
  const double head = state.HEAD(column, row, layer);
  switch (state.LAYCON[layer]) {
    case 1: return head;
    case 3: return head <= top ? head : top;
    default: return top;
  }
}

// Saturated top minus BOT; zero or negative for a dry or collapsed cell.
inline double SaturatedThickness(const ModelState& state, int column, int row, int layer) {
  return SaturatedTop(state, column, row, layer) - state.BOT(column, row, layer);
}

// The face velocities of an active cell, and of a fixed-head cell under the
// rule of each cell's own faces; all zero for other cells. The porosity and
// saturated thickness of a face are the cell's own or interpolated with the
// neighbour's, by `tracking`'s face rule. Faces towards the grid edge or an
// unusable neighbour carry no flow from it; every face carries the flows
// that BoundaryFaceFlows and ArealFaceFlows put on it, the top and bottom the
// recharge and evapotranspiration assigned to them by `tracking`.
FaceVelocities GetFaceVelocities(const ModelState& state, const Settings& settings, const TrackingSettings& tracking,
                                 int column, int row, int layer);

// Fills VX, VY, VZ of every active cell with a result head (the mean of its
// opposite face velocities) and returns MaxSpeed, the largest cell-centre
// speed (-1E+30 when no cell qualifies). Other cells keep their values.
float ComputeCellVelocities(ModelState& state, const Settings& settings, const TrackingSettings& tracking);

}  // namespace kestra
