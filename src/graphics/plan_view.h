// The plan view: the current layer of the grid seen from above, with grid
// lines, cell types, boundary-package cells, barriers and the marks of the
// cross-section positions; DrawModel also draws the sections.
#pragma once

#include "graphics/draw_inputs.h"
#include "graphics/plot_primitives.h"

namespace kestra {

inline constexpr const char* kDrawModelHint = "Draw Model; Please Wait";

// Redraws the plan of `layer` and both sections, on the screen and, while
// PlotToFile is on, into the plot. Nothing without a model.
void DrawModel(PlotContext& context, const DrawInputs& inputs, int layer);

// Grid lines of the layer in the mesh colour; they stop at the outline of the
// active area.
void DrawGridLines(PlotContext& context, const DrawInputs& inputs, int layer);

// The horizontal-flow barriers of the layer in the colour.
void DrawBarriers(PlotContext& context, const PackageLayerReader& packages, int layer, Colour colour);
// A strip two pixels wide inside the cell along face 1 (left), 2 (right),
// 3 (upper) or 4 (lower); other codes draw nothing.
void DrawBarrierCell(PlotContext& context, int column, int row, Colour colour, int code);

// Inverts the outlines of the section positions on the plan: a second call
// with the same column and row removes them. Only while the sections are shown.
void ToggleSectionMarks(PlotContext& context, int column, int row);

}  // namespace kestra
