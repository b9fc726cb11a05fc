#include "graphics/pointer_marks.h"

namespace kestra {
namespace {

constexpr float kMarkerHalfPixels = 6;

// Draws on the surface in invert mode and puts the picture's modes back.
class InvertingSurface {
 public:
  explicit InvertingSurface(Picture& picture)
      : picture_(picture), mode_(picture.GetDrawMode()), persistent_(picture.IsPersistent()) {
    picture_.SetPersistent(false);
    picture_.SetDrawMode(DrawMode::Invert);
  }
  ~InvertingSurface() {
    picture_.SetDrawMode(mode_);
    picture_.SetPersistent(persistent_);
  }
  InvertingSurface(const InvertingSurface&) = delete;
  InvertingSurface& operator=(const InvertingSurface&) = delete;

 private:
  Picture& picture_;
  DrawMode mode_;
  bool persistent_;
};

// Two strokes crossing at (u, v), `du` and `dv` long each side.
void DrawCross(Picture& picture, float u, float v, float du, float dv) {
  InvertingSurface surface(picture);
  picture.DrawLine(u - du, v, u + du, v, kBlack);
  picture.DrawLine(u, v - dv, u, v + dv, kBlack);
}

}  // namespace

void ToggleRubberBand(Picture& plan, float xa, float ya, float xb, float yb) {
  InvertingSurface surface(plan);
  plan.DrawLine(xa, ya, xb, ya, kBlack);
  plan.DrawLine(xb, ya, xb, yb, kBlack);
  plan.DrawLine(xb, yb, xa, yb, kBlack);
  plan.DrawLine(xa, yb, xa, ya, kBlack);
}

void ToggleSectionMarker(PlotContext& context, float x, float y, float z) {
  if (!context.layout.sectionsShown) return;
  // Section elevations are stretched by the exaggeration: one pixel of
  // elevation is PixelSize / Exaggeration model units.
  const float across = kMarkerHalfPixels * context.layout.PixelSize;
  const float vertical = across / context.layout.Exaggeration;
  DrawCross(context.rowSection, x, z, across, vertical);
  DrawCross(context.columnSection, z, y, vertical, across);
}

}  // namespace kestra
