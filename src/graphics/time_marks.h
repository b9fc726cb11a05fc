// The time marks of pathlines: an open arrow head on the plan and a small
// circle on both sections, drawn by the tracking engine at each mark interval.
#pragma once

#include "graphics/plot_primitives.h"

namespace kestra {

// An arrow head of MarkSizeTopView pixels at the new point, pointing along the
// flow (direction +1 forward, -1 backward tracking). Nothing when the new
// point lies outside the zoom window or the elevation range, or did not move.
// Into the plot only with `toFile` (the marks' plot switch).
void DrawArrowMark(PlotContext& context, float x0, float y0, float x1, float y1, float z1, Colour colour, int direction,
                   int markSizeTopView, bool toFile);

// A circle of MarkSizeXsections pixels around the point on both sections, and
// in DXF plots a CIRCLE for each included section.
void DrawSectionMark(PlotContext& context, float x, float y, float z, Colour colour, int markSizeXsections);

}  // namespace kestra
