// Sizing the plan and the two cross-sections to the space of the main window.
#pragma once

#include "core/model_state.h"
#include "graphics/picture.h"
#include "graphics/view_layout.h"
#include "settings/settings.h"

namespace kestra {

// Pixel positions of the three pictures in the drawing space; the row
// section lies below the plan, the column section to its right.
struct ViewPlacement {
  int planWidth = 0;
  int planHeight = 0;
  int sectionPixels = 0;  // height of the row section, width of the column section
  int rowSectionTop = 0;
  int columnSectionLeft = 0;
};

// The lowest BOT and the highest TOP of the model into the layout (at open).
void SetModelElevationRange(ViewLayout& layout, const ModelState& model);

// The zoom window from its corners in plan coordinates (y down from the
// grid's upper edge); the caller makes sure xmin < xmax and ymin < ymax.
ZoomWindow ZoomWindowOf(float xmin, float ymin, float xmax, float ymax);
// The zoom window of the whole grid.
ZoomWindow WholeGridZoom(const ModelState& model);

// The view scales of a freshly opened model, which the window and the batch
// tool share: its elevation range, its grid and the whole grid in view. ArrangeViews
// then fits them to the space.
void SetUpModelViews(ViewLayout& layout, const ModelState& model);

// Pixels between the plan and each section on the screen.
inline constexpr int kSectionGapPixels = 3;

// The sections never take more than this share of the smaller side of the
// space, so that a large exaggeration cannot squeeze the plan away.
inline constexpr float kLargestSectionShare = 0.45f;

// Gives the plan and the sections one scale that fits the available space
// (in pixels), sets PixelSize, Exaggeration and the shown switches of the
// layout, and sizes and scales the pictures in model units. A space too small
// for a plan marks the plan not shown and leaves the pictures alone.
//
// The sections keep the depth in pixels that the settings' exaggeration
// gives them with the whole grid in view, up to kLargestSectionShare: a zoom
// enlarges the plan and flattens the sections instead of letting them grow
// over it. Exaggeration is then what the sections are drawn with.
ViewPlacement ArrangeViews(ViewLayout& layout, Picture& plan, Picture& rowSection, Picture& columnSection,
                           const Settings& settings, int availableWidth, int availableHeight);

// The exaggeration that gives the sections `pixels` of depth with the whole
// grid in view, in the space ArrangeViews is given: what dragging the edge
// between the plan and the sections asks for. Two significant digits,
// within the range the settings take; 0 when the model has no depth.
float ExaggerationForSectionPixels(const ViewLayout& layout, float pixels, int availableWidth, int availableHeight);

}  // namespace kestra
