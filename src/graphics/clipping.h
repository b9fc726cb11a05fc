// Cutting segments and boxes to a window before they are drawn.
#pragma once

#include "graphics/view_layout.h"

namespace kestra {

struct ClipWindow {
  float xmin = 0;
  float ymin = 0;
  float xmax = 1;
  float ymax = 1;
};

// Whether any part is visible, and which ends were moved onto the window's
// edge (the contour labelling keeps its labels off cut ends).
struct ClipResult {
  bool visible = true;
  bool startMoved = false;
  bool endMoved = false;
};

// Cuts the segment (x1, y1)-(x2, y2) to the window, edges included. The
// nearness tests scale with the window, so models in small units clip as
// well as large ones. An invisible segment's ends are left as they were.
ClipResult ClipSegment(float& x1, float& y1, float& x2, float& y2, const ClipWindow& window);

// Cuts a box to the window: every bound beyond the window moves onto its
// edge. False (box unchanged) when the box shares no area with the window.
bool ClipBox(float& x1, float& y1, float& x2, float& y2, const ClipWindow& window);

// A point of a pathline: plan x, y and elevation z.
struct SpacePoint {
  float x = 0;
  float y = 0;
  float z = 0;
};

// Cuts the segment a-b to the box of `window` (X, Y and Z ranges, bounds
// included), replacing the ends by those of the part inside. False (ends
// unchanged) when no part lies inside.
bool ClipSegment3D(SpacePoint& a, SpacePoint& b, const ViewWindow& window);

}  // namespace kestra
