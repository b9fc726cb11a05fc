#include "graphics/velocity_vectors.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/progress.h"

namespace kestra {
namespace {

// The head is a third of the shaft: a = half-shaft / 1.5.
constexpr float kHeadDivisor = 1.5f;
// Arrows closer together than this merge into a blur and, on a grid of a
// million cells, take seconds to draw: where cells are narrower, only
// columns and rows this far apart on the plan get an arrow.
constexpr float kArrowSpacingPixels = 4;

// The indexes 1..count of `centres` that lie at least `spacing` apart,
// counted from the first.
std::vector<int> SpacedIndexes(const std::vector<float>& centres, int count, float spacing) {
  std::vector<int> chosen;
  for (int n = 1; n <= count; ++n)
    if (chosen.empty() || !(std::fabs(centres[n] - centres[chosen.back()]) < spacing)) chosen.push_back(n);
  return chosen;
}

float Finite(float value) { return std::isfinite(value) ? value : 0; }

// Elevations are drawn this many times as large as lengths on the sections.
float SectionExaggeration(const ViewLayout& layout) {
  const float e = layout.Exaggeration;
  return std::isfinite(e) && e > 0 ? e : 1;
}

bool VectorsWanted(const PlotContext& context, const VectorInputs& inputs) {
  return context.model.HasModel() && context.model.flowTermsLoaded && IsOn(inputs.settings.vectorsVisible);
}

float ScaleOf(const PlotContext& context, const VectorInputs& inputs) {
  return VectorScaleFactor(inputs.settings.vectorSize, context.layout.PixelSize, inputs.maxSpeed);
}

// Middle of the saturated part of a cell: the top is the head in a layer of
// type 1, the lower of top and head in type 3, else the cell top.
float SaturatedMiddle(const ModelState& m, int j, int i, int k) {
  const int type = k < static_cast<int>(m.LAYCON.size()) ? m.LAYCON[k] : 0;
  float top = m.TOP(j, i, k);
  if (type == 1) top = m.HEAD(j, i, k);
  if (type == 3) top = std::min(m.TOP(j, i, k), m.HEAD(j, i, k));
  return (top - m.BOT(j, i, k)) / 2 + m.BOT(j, i, k);
}

// Screen proportions of a section point and back: the elevation axis is
// stretched by the exaggeration.
struct SectionAxes {
  float xScale = 1;
  float yScale = 1;
};

SectionAxes AxesOf(ArrowView view, const ViewLayout& layout) {
  const float e = SectionExaggeration(layout);
  if (view == ArrowView::RowSection) return {1, e};
  if (view == ArrowView::ColumnSection) return {e, 1};
  return {};
}

void DrawViewSegment(PlotContext& context, ArrowView view, float x1, float y1, float x2, float y2, Colour colour,
                     bool toFile, bool toScreen) {
  const ViewLayout& layout = context.layout;
  const ClipWindow window = view == ArrowView::Plan         ? PlanClipWindow(layout)
                            : view == ArrowView::RowSection ? RowSectionClipWindow(layout)
                                                            : ColumnSectionClipWindow(layout);
  if (!ClipSegment(x1, y1, x2, y2, window).visible) return;
  switch (view) {
    case ArrowView::Plan: DrawSegment(context, x1, y1, x2, y2, colour, toFile, toScreen); break;
    case ArrowView::RowSection: DrawSegmentRowSection(context, x1, y1, x2, y2, colour, toFile); break;
    case ArrowView::ColumnSection: DrawSegmentColumnSection(context, x1, y1, x2, y2, colour, toFile); break;
  }
}

// Whether any of a plan arrow centred on (cx, cy) with half-shaft (hx, hy)
// may show: its head reaches at most 0.75 of the half-shaft beyond the tip.
bool ArrowMayShow(const ClipWindow& window, float cx, float cy, float hx, float hy) {
  const float reach = 2 * (std::fabs(hx) + std::fabs(hy));
  return cx + reach >= window.xmin && cx - reach <= window.xmax && cy + reach >= window.ymin &&
         cy - reach <= window.ymax;
}

// One arrow centred on (cx, cy) with half-shaft (hx, hy), all in the view's
// own coordinates; the head length follows the shaft in screen proportions.
void DrawArrow(PlotContext& context, ArrowView view, float cx, float cy, float hx, float hy, Colour colour,
               bool toFile) {
  const SectionAxes axes = AxesOf(view, context.layout);
  DrawViewSegment(context, view, cx - hx, cy - hy, cx + hx, cy + hy, colour, toFile, true);
  const float a = std::hypot(hx * axes.xScale, hy * axes.yScale) / kHeadDivisor;
  DrawArrowHead(context, view, cx - hx, cy - hy, cx + hx, cy + hy, colour, a, a / 2, toFile, true);
}

// One arrow of a section: its cell, its centre and half-shaft in the
// section's own coordinates.
struct SectionArrow {
  int column = 0, row = 0;
  float cx = 0, cy = 0, hx = 0, hy = 0;
};

// The arrows of every layer along a section of `count` cells; arrow(k, n, f, a)
// fills a for cell n of layer k with the scale f.
template <typename ArrowOf>
void DrawSectionArrows(PlotContext& context, const VectorInputs& inputs, int count, ArrowOf arrowOf, ArrowView view) {
  if (!VectorsWanted(context, inputs) || !context.layout.sectionsShown) return;
  SetViewWindow(context.layout);
  const Colour colour = inputs.settings.vectorColor;
  SelectPlotPen(context.device, colour);
  const float f = ScaleOf(context, inputs);
  const ModelState& m = context.model;
  SectionArrow a;
  for (int k = 1; k <= m.NLAY; ++k)
    for (int n = 1; n <= count; ++n) {
      arrowOf(k, n, f, a);
      if (m.IBOUND(a.column, a.row, k) > 0 && std::isfinite(a.cx) && std::isfinite(a.cy))
        DrawArrow(context, view, a.cx, a.cy, Finite(a.hx), Finite(a.hy), colour, context.device.PlotToFile);
    }
}

}  // namespace

float VectorScaleFactor(int sizePixels, float pixelSize, float maxSpeed) {
  if (!std::isfinite(maxSpeed) || maxSpeed <= 0 || !std::isfinite(pixelSize)) return 0;
  const float f = (static_cast<float>(sizePixels) * pixelSize / maxSpeed) / 2;
  return std::isfinite(f) ? f : 0;
}

void DrawArrowHead(PlotContext& context, ArrowView view, float x1, float y1, float x2, float y2, Colour colour, float a,
                   float b, bool toFile, bool toScreen) {
  const SectionAxes axes = AxesOf(view, context.layout);
  const float sx = x1 * axes.xScale, sy = y1 * axes.yScale;
  const float ex = x2 * axes.xScale, ey = y2 * axes.yScale;
  const float dx = ex - sx, dy = ey - sy;
  const float length = std::hypot(dx, dy);
  if (!(length > 0) || !std::isfinite(length) || !std::isfinite(a) || !std::isfinite(b)) return;
  const float px = ex - dx * a / length, py = ey - dy * a / length;
  for (const float side : {1.0f, -1.0f}) {
    const float bx = px - side * dy * b / length;
    const float by = py + side * dx * b / length;
    DrawViewSegment(context, view, bx / axes.xScale, by / axes.yScale, x2, y2, colour, toFile, toScreen);
  }
}

void DrawVelocityVectors(PlotContext& context, const VectorInputs& inputs) {
  if (!VectorsWanted(context, inputs)) return;
  const ModelState& m = context.model;
  UserInterface& ui = inputs.ui;
  Hourglass hourglass(ui);
  SetViewWindow(context.layout);
  const bool toFile = context.device.PlotToFile;
  const Colour colour = inputs.settings.vectorColor;
  SelectPlotPen(context.device, colour);
  ui.ShowStatusPanes(false);
  ui.SetHint(kDrawVectorsHint);
  ui.SetMeter(0);
  const float f = ScaleOf(context, inputs);
  const int k = m.CurrentLayer;
  const float spacing = kArrowSpacingPixels * context.layout.PixelSize;
  const std::vector<int> columns = SpacedIndexes(m.XCENTER, m.NCOL, spacing);
  const std::vector<int> rows = SpacedIndexes(m.YCENTER, m.NROW, spacing);
  // A zoomed plan shows few of the arrows: the others are passed over
  // before any of their drawing is worked out.
  const ClipWindow window = PlanClipWindow(context.layout);
  bool stopped = false;
  int meter = 0;
  for (std::size_t n = 0; n < columns.size() && !stopped; ++n) {
    const int j = columns[n];
    if (context.layout.planShown)
      for (const int i : rows) {
        if (m.IBOUND(j, i, k) <= 0) continue;
        const float hx = Finite(m.VX(j, i, k) * f), hy = Finite(m.VY(j, i, k) * f);
        if (ArrowMayShow(window, m.XCENTER[j], m.YCENTER[i], hx, hy))
          DrawArrow(context, ArrowView::Plan, m.XCENTER[j], m.YCENTER[i], hx, hy, colour, toFile);
      }
    stopped = UpdateProgress(meter, std::min(100, static_cast<int>(100 * (n + 1) / columns.size())), ui, context.plan);
  }
  if (!stopped) {
    DrawRowSectionVectors(context, inputs);
    DrawColumnSectionVectors(context, inputs);
  }
  ui.SetHint("");
  ui.SetMeter(0);
  ui.ShowStatusPanes(true);
}

void DrawRowSectionVectors(PlotContext& context, const VectorInputs& inputs) {
  const ModelState& m = context.model;
  const int r = inputs.settings.sectionRow;
  if (r < 1 || r > m.NROW) return;
  DrawSectionArrows(context, inputs, m.NCOL, [&](int k, int j, float f, SectionArrow& arrow) {
    arrow = {j, r, m.XCENTER[j], SaturatedMiddle(m, j, r, k), m.VX(j, r, k) * f, m.VZ(j, r, k) * f};
  }, ArrowView::RowSection);
}

void DrawColumnSectionVectors(PlotContext& context, const VectorInputs& inputs) {
  const ModelState& m = context.model;
  const int c = inputs.settings.sectionColumn;
  if (c < 1 || c > m.NCOL) return;
  DrawSectionArrows(context, inputs, m.NROW, [&](int k, int i, float f, SectionArrow& arrow) {
    arrow = {c, i, SaturatedMiddle(m, c, i, k), m.YCENTER[i], m.VZ(c, i, k) * f, m.VY(c, i, k) * f};
  }, ArrowView::ColumnSection);
}

}  // namespace kestra
