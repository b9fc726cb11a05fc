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

std::optional<ZoomWindow> ZoomWindowAbout(const ModelState& state, const ZoomWindow& zoom, float x, float y,
                                          float factor) {
  const float gridWidth = state.XEDGE[state.NCOL], gridHeight = state.YEDGE[state.NROW];
  if (factor <= 0) return std::nullopt;
  const ZoomWindow scaled = ZoomWindowOf(x + (zoom.Xmin - x) * factor, y + (zoom.Ymin - y) * factor,
                                         x + (zoom.Xmax - x) * factor, y + (zoom.Ymax - y) * factor);
  if (scaled.width >= gridWidth && scaled.height >= gridHeight) return ZoomWindowOf(0, 0, gridWidth, gridHeight);
  if (gridWidth / scaled.width >= kMaximumZoomFactor || gridHeight / scaled.height >= kMaximumZoomFactor)
    return std::nullopt;
  return scaled;
}

ZoomWindow PannedZoomWindow(const ModelState& state, const ZoomWindow& zoom, float dx, float dy) {
  const float centreX = std::clamp(zoom.Xmin + zoom.width / 2 + dx, 0.0f, state.XEDGE[state.NCOL]);
  const float centreY = std::clamp(zoom.Ymin + zoom.height / 2 + dy, 0.0f, state.YEDGE[state.NROW]);
  return ZoomWindowOf(centreX - zoom.width / 2, centreY - zoom.height / 2, centreX + zoom.width / 2,
                      centreY + zoom.height / 2);
}

}  // namespace kestra
