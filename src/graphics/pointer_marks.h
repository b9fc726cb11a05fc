// The marks that follow the mouse pointer: the rubber band of a drag on the
// plan and the cross at the pointer position on the two sections. Both are
// drawn inverting on the surface, so drawing one again at the same place
// removes it; neither enters the persistent image or a plot.
#pragma once

#include "graphics/plot_primitives.h"

namespace kestra {

// The rectangle between two plan corners on the plan.
void ToggleRubberBand(Picture& plan, float xa, float ya, float xb, float yb);

// A cross 12 pixels wide at (x, z) on the row section and at (z, y) on the
// column section. Nothing while the sections are not shown.
void ToggleSectionMarker(PlotContext& context, float x, float y, float z);

}  // namespace kestra
