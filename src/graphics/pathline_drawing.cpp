#include "graphics/pathline_drawing.h"

#include "graphics/time_marks.h"
#include "input/layer_files.h"

namespace kestra {

Colour PathlineColour(const ModelState& model, const TrackingSettings& tracking, Colour particleColour, int layer) {
  const bool hasLayerColour = layer >= 1 && static_cast<std::size_t>(layer) < model.LayerProperties.size();
  return tracking.UseLayerColors && hasLayerColour ? LayerColor(model.LayerProperties[layer]) : particleColour;
}

void PathlineDrawing::SelectPen(Colour colour) {
  // The plot file changes pen only when the colour does, not on every move.
  if (penSelected_ && colour == pen_) return;
  SelectPlotPen(context_.device, colour);
  pen_ = colour;
  penSelected_ = true;
}

void PathlineDrawing::Segment(const TrackSegment& segment) {
  const Colour colour = PathlineColour(context_.model, tracking_, segment.color, segment.cell.layer);
  SelectPen(colour);
  SpacePoint a{static_cast<float>(segment.from.X), static_cast<float>(segment.from.Y),
               static_cast<float>(segment.from.Z)};
  SpacePoint b{static_cast<float>(segment.to.X), static_cast<float>(segment.to.Y), static_cast<float>(segment.to.Z)};
  if (!ClipSegment3D(a, b, context_.layout.view)) return;
  if (context_.layout.planShown) DrawSegment(context_, a.x, a.y, b.x, b.y, colour, true, true);
  if (!context_.layout.sectionsShown) return;
  DrawSegmentRowSection(context_, a.x, a.z, b.x, b.z, colour, true);
  DrawSegmentColumnSection(context_, a.z, a.y, b.z, b.y, colour, true);
}

void PathlineDrawing::TimeMark(int, int direction, const PlanPoint& from, const PlanPoint& to) {
  const auto x = static_cast<float>(to.X), y = static_cast<float>(to.Y), z = static_cast<float>(to.Z);
  if (tracking_.MarkOnTopView)
    DrawArrowMark(context_, static_cast<float>(from.X), static_cast<float>(from.Y), x, y, z, pen_, direction,
                  tracking_.MarkSizeTopView, marksToFile_);
  if (tracking_.MarkOnXsections) DrawSectionMark(context_, x, y, z, pen_, tracking_.MarkSizeXsections);
}

void PathlineDrawing::DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) {
  // Backward runs only: the arrow points from the first backward move back
  // to the release point, along the flow.
  TimeMark(particle, -1, from, to);
}

}  // namespace kestra
