// Whether a dragged zoom rectangle becomes the new zoom window.
#pragma once

#include <optional>

#include "core/model_state.h"
#include "graphics/view_layout.h"

namespace kestra {

// The zoom window of the rectangle between two plan corners in any order, or
// nothing when it is 10 pixels or less wide or high (at `pixelSize`), or when
// the grid is 100 or more times as wide or high as the rectangle.
std::optional<ZoomWindow> ZoomWindowFromDrag(const ModelState& state, float pixelSize, float xa, float ya, float xb,
                                             float yb);

// The zoom window scaled by `factor` (below 1 zooms in) about the plan point
// (x, y), which stays where it is on the screen: the mouse wheel. A window
// that covers the grid becomes the whole grid; nothing when the grid would
// be 100 or more times as wide or high as the window.
std::optional<ZoomWindow> ZoomWindowAbout(const ModelState& state, const ZoomWindow& zoom, float x, float y,
                                          float factor);

// The zoom window moved by (dx, dy) plan units: the pan. Its centre stays on
// the grid, so some of the model always shows.
ZoomWindow PannedZoomWindow(const ModelState& state, const ZoomWindow& zoom, float dx, float dy);

}  // namespace kestra
