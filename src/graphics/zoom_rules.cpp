#include "graphics/zoom_rules.h"

#include <algorithm>

#include "graphics/view_arrangement.h"

namespace kestra {
namespace {

constexpr float kMinimumZoomPixels = 10;
constexpr float kMaximumZoomFactor = 100;

}  // namespace

std::optional<ZoomWindow> ZoomWindowFromDrag(const ModelState& state, float pixelSize, float xa, float ya, float xb,
                                             float yb) {
  const ZoomWindow zoom = ZoomWindowOf(std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb));
  if (pixelSize <= 0 || zoom.width / pixelSize <= kMinimumZoomPixels || zoom.height / pixelSize <= kMinimumZoomPixels)
    return std::nullopt;
  if (state.XEDGE[state.NCOL] / zoom.width >= kMaximumZoomFactor ||
      state.YEDGE[state.NROW] / zoom.height >= kMaximumZoomFactor)
    return std::nullopt;
  return zoom;
}

}  // namespace kestra
