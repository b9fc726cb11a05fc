#include "graphics/plot_primitives.h"

#include "graphics/dxf_entities.h"
#include "graphics/hpgl_commands.h"
#include "graphics/world_transform.h"

namespace kestra {
namespace {

WorldPoint World(const PlotContext& context, PicturePoint plan) {
  return PlanToWorld(PlotOrigin(context.model), plan.x, plan.y);
}

// Plot placement of the three pictures' points.
PicturePoint FromPlan(const ViewLayout&, float x, float y) { return {x, y}; }

using ToPlan = PicturePoint (*)(const ViewLayout&, float, float);

// The four corners of a box in the DXF solid order (x1, y1), (x2, y1), (x1, y2),
// (x2, y2), placed and turned like every other element of the plot.
void WriteSolid(PlotContext& context, ToPlan toPlan, const PictureBox& box) {
  const WorldPoint corners[4] = {
      World(context, toPlan(context.layout, box.x1, box.y1)), World(context, toPlan(context.layout, box.x2, box.y1)),
      World(context, toPlan(context.layout, box.x1, box.y2)), World(context, toPlan(context.layout, box.x2, box.y2))};
  WriteDxfSolid(context.device, corners);
}

void WriteLine(PlotContext& context, ToPlan toPlan, float a1, float b1, float a2, float b2) {
  WriteDxfLine(context.device, World(context, toPlan(context.layout, a1, b1)),
               World(context, toPlan(context.layout, a2, b2)));
}

void DrawScreenSegment(Picture& picture, float a1, float b1, float a2, float b2, Colour colour) {
  picture.DrawPoint(a1, b1, colour);
  picture.DrawLine(a1, b1, a2, b2, colour);
  picture.DrawPoint(a2, b2, colour);
}

// Boxes that continue each other along a line of cells become one: the same
// pixels in far fewer calls.
std::vector<PictureBox> JoinedRuns(const std::vector<PictureBox>& boxes) {
  std::vector<PictureBox> runs;
  for (const PictureBox& box : boxes) {
    if (!runs.empty()) {
      PictureBox& last = runs.back();
      if (last.y1 == box.y1 && last.y2 == box.y2 && last.x2 == box.x1 && box.x2 >= box.x1 && last.x2 >= last.x1) {
        last.x2 = box.x2;
        continue;
      }
    }
    runs.push_back(box);
  }
  return runs;
}

void WritePlanBox(PlotContext& context, const PictureBox& box) {
  if (context.device.WritesDxf()) WriteSolid(context, FromPlan, box);
  if (context.device.WritesHpgl())
    WriteHpglBox(context.device, GridLength(context.model), box.x1, box.y1, box.x2, box.y2);
}

}  // namespace

ClipWindow PlanClipWindow(const ViewLayout& layout) {
  return {layout.view.Xmin, layout.view.Ymin, layout.view.Xmax, layout.view.Ymax};
}

ClipWindow RowSectionClipWindow(const ViewLayout& layout) {
  return {layout.view.Xmin, layout.view.Zmin, layout.view.Xmax, layout.view.Zmax};
}

ClipWindow ColumnSectionClipWindow(const ViewLayout& layout) {
  return {layout.view.Zmin, layout.view.Ymin, layout.view.Zmax, layout.view.Ymax};
}

void FillBox(PlotContext& context, float x1, float y1, float x2, float y2, Colour colour) {
  const PictureBox box{x1, y1, x2, y2};
  context.plan.FillBox(box, colour);
  WritePlanBox(context, box);
}

void FillBoxRowSection(PlotContext& context, float x1, float z1, float x2, float z2, Colour colour) {
  FillBoxesRowSection(context, {{x1, z1, x2, z2}}, colour);
}

void FillBoxColumnSection(PlotContext& context, float z1, float y1, float z2, float y2, Colour colour) {
  FillBoxesColumnSection(context, {{z1, y1, z2, y2}}, colour);
}

void FillBoxes(PlotContext& context, const std::vector<PictureBox>& boxes, Colour colour) {
  if (boxes.empty()) return;
  context.plan.FillBoxes(JoinedRuns(boxes), colour);
  for (const PictureBox& box : boxes) WritePlanBox(context, box);
}

void FillBoxesRowSection(PlotContext& context, const std::vector<PictureBox>& boxes, Colour colour) {
  if (boxes.empty()) return;
  context.rowSection.FillBoxes(JoinedRuns(boxes), colour);
  if (!context.device.WritesDxf() || !context.device.IncludeLowerXsection) return;
  for (const PictureBox& box : boxes) WriteSolid(context, RowSectionToPlan, box);
}

void FillBoxesColumnSection(PlotContext& context, const std::vector<PictureBox>& boxes, Colour colour) {
  if (boxes.empty()) return;
  context.columnSection.FillBoxes(JoinedRuns(boxes), colour);
  if (!context.device.WritesDxf() || !context.device.IncludeRightXsection) return;
  for (const PictureBox& box : boxes) WriteSolid(context, ColumnSectionToPlan, box);
}

void DrawSegment(PlotContext& context, float x1, float y1, float x2, float y2, Colour colour, bool toFile,
                 bool toScreen) {
  if (toScreen) DrawScreenSegment(context.plan, x1, y1, x2, y2, colour);
  if (!toFile) return;
  if (context.device.WritesDxf()) WriteLine(context, FromPlan, x1, y1, x2, y2);
  if (context.device.WritesHpgl()) {
    WriteHpglMove(context.device, GridLength(context.model), x1, y1);
    WriteHpglDraw(context.device, GridLength(context.model), x2, y2);
  }
}

void DrawSegmentRowSection(PlotContext& context, float x1, float z1, float x2, float z2, Colour colour, bool toFile) {
  DrawScreenSegment(context.rowSection, x1, z1, x2, z2, colour);
  if (toFile && context.device.WritesDxf() && context.device.IncludeLowerXsection)
    WriteLine(context, RowSectionToPlan, x1, z1, x2, z2);
}

void DrawSegmentColumnSection(PlotContext& context, float z1, float y1, float z2, float y2, Colour colour,
                              bool toFile) {
  DrawScreenSegment(context.columnSection, z1, y1, z2, y2, colour);
  if (toFile && context.device.WritesDxf() && context.device.IncludeRightXsection)
    WriteLine(context, ColumnSectionToPlan, z1, y1, z2, y2);
}

void BeginPolyline(PlotContext& context, float x, float y, Colour colour, bool toFile, bool toScreen) {
  if (toScreen) context.plan.DrawPoint(x, y, colour);
  if (!toFile) return;
  if (context.device.WritesDxf()) WriteDxfPolylineHead(context.device, World(context, {x, y}));
  if (context.device.WritesHpgl()) WriteHpglMove(context.device, GridLength(context.model), x, y);
}

void ContinuePolyline(PlotContext& context, float x, float y, Colour colour, bool toFile, bool toScreen) {
  if (toScreen) context.plan.DrawLineTo(x, y, colour);
  if (!toFile) return;
  if (context.device.WritesDxf()) WriteDxfVertex(context.device, World(context, {x, y}));
  if (context.device.WritesHpgl()) WriteHpglDraw(context.device, GridLength(context.model), x, y);
}

void DrawDot(PlotContext& context, float x, float y, Colour colour) { context.plan.DrawPoint(x, y, colour); }

void DrawCircle(PlotContext& context, float x, float y, float radius, Colour colour) {
  context.plan.DrawCircle(x, y, radius, colour);
}

void DrawArc(PlotContext& context, float x, float y, float radius, float startAngle, float endAngle, Colour colour) {
  context.plan.DrawArc(x, y, radius, startAngle, endAngle, colour);
}

void PlotCircle(PlotContext& context, float x, float y, float radius) {
  if (context.device.WritesDxf()) WriteDxfCircle(context.device, World(context, {x, y}), radius);
}

void PlotCircleRowSection(PlotContext& context, float x, float z, float radius) {
  if (context.device.WritesDxf() && context.device.IncludeLowerXsection)
    WriteDxfCircle(context.device, World(context, RowSectionToPlan(context.layout, x, z)), radius);
}

void PlotCircleColumnSection(PlotContext& context, float z, float y, float radius) {
  if (context.device.WritesDxf() && context.device.IncludeRightXsection)
    WriteDxfCircle(context.device, World(context, ColumnSectionToPlan(context.layout, z, y)), radius);
}

}  // namespace kestra
