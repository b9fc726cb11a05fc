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

}  // namespace kestra
