#include "graphics/time_marks.h"

#include <cmath>

namespace kestra {
namespace {

bool InsideView(const ViewLayout& layout, float x, float y, float z) {
  const ZoomWindow& zoom = layout.zoom;
  return x >= zoom.Xmin && x <= zoom.Xmax && y >= zoom.Ymin && y <= zoom.Ymax && z >= layout.view.Zmin &&
         z <= layout.view.Zmax;
}

}  // namespace

void DrawArrowMark(PlotContext& context, float x0, float y0, float x1, float y1, float z1, Colour colour, int direction,
                   int markSizeTopView, bool toFile) {
  SetViewWindow(context.layout);
  if (!InsideView(context.layout, x1, y1, z1)) return;
  const float size = static_cast<float>(markSizeTopView) * context.layout.PixelSize;
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  const float length = std::hypot(dx, dy);
  if (length == 0) return;
  // The base lies behind the new point along the flow, so the head points downstream.
  const float baseX = x1 - static_cast<float>(direction) * size * dx / length;
  const float baseY = y1 - static_cast<float>(direction) * size * dy / length;
  // Half the head's width at right angles to the step.
  const float acrossX = -(size / 2) * dy / length;
  const float acrossY = (size / 2) * dx / length;
  for (float side : {1.0f, -1.0f}) {
    float bx = baseX + side * acrossX, by = baseY + side * acrossY, tx = x1, ty = y1;
    if (ClipSegment(bx, by, tx, ty, PlanClipWindow(context.layout)).visible)
      DrawSegment(context, bx, by, tx, ty, colour, toFile, true);
  }
}

void DrawSectionMark(PlotContext& context, float x, float y, float z, Colour colour, int markSizeXsections) {
  if (!InsideView(context.layout, x, y, z)) return;
  const float radius = static_cast<float>(markSizeXsections) * context.layout.PixelSize;
  context.rowSection.DrawCircle(x, z, radius, colour);
  // The column section's horizontal axis is elevation, drawn Exaggeration times
  // as large: this radius comes out as long as the row section's.
  context.columnSection.DrawCircle(z, y, radius / context.layout.Exaggeration, colour);
  PlotCircleRowSection(context, x, z, radius);
  PlotCircleColumnSection(context, z, y, radius);
}

}  // namespace kestra
