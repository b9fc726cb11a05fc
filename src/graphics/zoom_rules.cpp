#include "graphics/zoom_rules.h"

#include <algorithm>

namespace kestra {
namespace {

constexpr float kMinimumZoomPixels = 10;
constexpr float kMaximumZoomFactor = 100;

}  // namespace

std::optional<ZoomWindow> ZoomWindowFromDrag(const ModelState& state, float pixelSize, float xa, float ya, float xb,
                                             float yb) {
  ZoomWindow zoom{std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb), 0, 0};
  zoom.width = zoom.Xmax - zoom.Xmin;
  zoom.height = zoom.Ymax - zoom.Ymin;
  if (pixelSize <= 0 || zoom.width / pixelSize <= kMinimumZoomPixels || zoom.height / pixelSize <= kMinimumZoomPixels)
    return std::nullopt;
  if (state.XEDGE[state.NCOL] / zoom.width >= kMaximumZoomFactor ||
      state.YEDGE[state.NROW] / zoom.height >= kMaximumZoomFactor)
    return std::nullopt;
  return zoom;
}

ZoomWindow WholeGridZoom(const ModelState& state) {
  const float width = state.XEDGE[state.NCOL], height = state.YEDGE[state.NROW];
  return {0, 0, width, height, width, height};
}

}  // namespace kestra
