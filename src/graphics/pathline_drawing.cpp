#include "graphics/pathline_drawing.h"

#include <algorithm>
#include <cmath>

#include "graphics/time_marks.h"
#include "modelset/layer_files.h"

namespace kestra {

Colour PathlineColour(const ModelState& model, const TrackingSettings& tracking, Colour particleColour, int layer) {
  const bool hasLayerColour = layer >= 1 && static_cast<std::size_t>(layer) < model.LayerProperties.size();
  return tracking.UseLayerColors && hasLayerColour ? LayerColor(model.LayerProperties[layer]) : particleColour;
}

Colour Faded(Colour colour) {
  const auto half = [&](int shift) { return (((colour >> shift) & 0xFF) + 0xFF) / 2; };
  return RgbColour(half(0), half(8), half(16));
}

void PathlineDrawing::SelectPen(Colour colour) {
  // The plot file changes pen only when the colour does, not on every move.
  if (penSelected_ && colour == pen_) return;
  SelectPlotPen(context_.device, colour);
  pen_ = colour;
  penSelected_ = true;
}

void PathlineDrawing::Segment(const TrackSegment& segment) {
  const Colour own = segment.direction < 0 && backwardColour_ ? *backwardColour_ : segment.color;
  const Colour drawn = PathlineColour(context_.model, tracking_, own, segment.cell.layer);
  const Colour colour = dimmed_ ? Faded(drawn) : drawn;
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

bool PathlineDrawing::TooCloseToLastMark(int particle, int direction, const PlanPoint& at) {
  if (!markSpacing_) return false;
  const ViewLayout& layout = context_.layout;
  const float pixel = layout.PixelSize > 0 ? layout.PixelSize : 1;
  const float elevationPixel = layout.Exaggeration > 0 ? pixel / layout.Exaggeration : pixel;
  const int spacing = std::max({3, tracking_.MarkOnTopView ? tracking_.MarkSizeTopView : 0,
                                tracking_.MarkOnXsections ? 2 * tracking_.MarkSizeXsections : 0});
  const auto last = lastMark_.find({particle, direction});
  if (last != lastMark_.end()) {
    const double plan = std::hypot(at.X - last->second.X, at.Y - last->second.Y) / pixel;
    const double section = std::fabs(at.Z - last->second.Z) / elevationPixel;
    if (std::max(plan, section) < spacing) return true;
  }
  lastMark_[{particle, direction}] = at;
  return false;
}

void PathlineDrawing::TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) {
  if (TooCloseToLastMark(particle, direction, to)) return;
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
