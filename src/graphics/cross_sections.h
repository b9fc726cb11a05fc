// The two vertical sections beside the plan: along the projection row (below
// the plan, x across and elevation up) and along the projection column (right
// of the plan, elevation falling to the right and y down).
#pragma once

#include "graphics/draw_inputs.h"
#include "graphics/plot_primitives.h"

namespace kestra {

// Draws both sections: frames, the flood of the inputs, water table, cells, boundary-package cells,
// barriers and reservoirs. Nothing while the sections are not shown (the
// layout takes that switch from CROSS_SECTIONS/VISIBLE in ArrangeViews); a
// projection row or column outside the grid leaves that section with its frame.
void DrawCrossSections(PlotContext& context, const DrawInputs& inputs);

// One barrier of face code 1..4 on a section: a strip two pixels wide where the
// face crosses the section, the whole cell where it lies in the section's plane.
void DrawBarrierRowCell(PlotContext& context, int column, int row, int layer, Colour colour, int code);
void DrawBarrierColumnCell(PlotContext& context, int column, int row, int layer, Colour colour, int code);

}  // namespace kestra
