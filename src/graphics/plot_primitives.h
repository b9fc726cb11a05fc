// The drawing primitives every view uses. Each draws on one of the three
// pictures and, while a plot is saved, writes the same element into the plot
// file. Coordinates are model units: plan (x, y) with y down from the grid's
// upper edge, row section (x, z), column section (z, y).
#pragma once

#include <vector>

#include "core/model_state.h"
#include "graphics/clipping.h"
#include "graphics/picture.h"
#include "graphics/plot_device.h"
#include "graphics/view_layout.h"

namespace kestra {

// What a primitive draws on and with: the three pictures, the plot file and
// the geometry that places elements in it.
struct PlotContext {
  Picture& plan;
  Picture& rowSection;
  Picture& columnSection;
  PlotDevice& device;
  const ModelState& model;
  ViewLayout& layout;
};

// The section windows the section elements are cut against.
ClipWindow PlanClipWindow(const ViewLayout& layout);
ClipWindow RowSectionClipWindow(const ViewLayout& layout);
ClipWindow ColumnSectionClipWindow(const ViewLayout& layout);

// Filled boxes: on the picture, and into the plot (DXF SOLID, HPGL fill for
// the plan) while PlotToFile is on and the section is included.
void FillBox(PlotContext& context, float x1, float y1, float x2, float y2, Colour colour);
void FillBoxRowSection(PlotContext& context, float x1, float z1, float x2, float z2, Colour colour);
void FillBoxColumnSection(PlotContext& context, float z1, float y1, float z2, float y2, Colour colour);

// Many boxes of one colour: the screen gets them in one call, with each run
// of boxes side by side on one line joined into one box; the plot file gets
// one element per box, in order.
void FillBoxes(PlotContext& context, const std::vector<PictureBox>& boxes, Colour colour);
void FillBoxesRowSection(PlotContext& context, const std::vector<PictureBox>& boxes, Colour colour);
void FillBoxesColumnSection(PlotContext& context, const std::vector<PictureBox>& boxes, Colour colour);

// Segments: a point at each end and the line between, so both end pixels are
// set. toFile lets a caller keep an element out of the plot; it takes effect
// only while a plot is written.
void DrawSegment(PlotContext& context, float x1, float y1, float x2, float y2, Colour colour, bool toFile,
                 bool toScreen);
void DrawSegmentRowSection(PlotContext& context, float x1, float z1, float x2, float z2, Colour colour, bool toFile);
void DrawSegmentColumnSection(PlotContext& context, float z1, float y1, float z2, float y2, Colour colour, bool toFile);

void BeginPolyline(PlotContext& context, float x, float y, Colour colour, bool toFile, bool toScreen);
void ContinuePolyline(PlotContext& context, float x, float y, Colour colour, bool toFile, bool toScreen);

// Screen only.
void DrawDot(PlotContext& context, float x, float y, Colour colour);
void DrawCircle(PlotContext& context, float x, float y, float radius, Colour colour);
void DrawArc(PlotContext& context, float x, float y, float radius, float startAngle, float endAngle, Colour colour);

// DXF CIRCLE entities of the time marks, at a plan or a section point.
void PlotCircle(PlotContext& context, float x, float y, float radius);
void PlotCircleRowSection(PlotContext& context, float x, float z, float radius);
void PlotCircleColumnSection(PlotContext& context, float z, float y, float radius);

}  // namespace kestra
