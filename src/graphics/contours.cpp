#include "graphics/contours.h"

#include <cmath>
#include <optional>

#include "graphics/contour_labels.h"
#include "graphics/progress.h"
#include "graphics/stroke_text.h"
#include "graphics/world_transform.h"

namespace kestra {
namespace {

// Labels are a tenth larger than the height the table gives.
constexpr float kLabelSizeFactor = 1.1f;

// Where the pictures and the plot take the contours.
struct LineOutput {
  Colour colour;
  bool toFile;
  bool toScreen;
};

// Draws the points first..last with `from` before them and `to` after them as
// polylines cut to the view window; a cut start begins a new polyline.
void DrawRun(PlotContext& context, const LineOutput& out, const std::vector<PicturePoint>& points, PicturePoint from,
             std::size_t first, std::size_t last, PicturePoint to) {
  const ClipWindow window = PlanClipWindow(context.layout);
  bool open = false;
  PicturePoint a = from;
  auto segmentTo = [&](PicturePoint b) {
    float x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y;
    const ClipResult clip = ClipSegment(x1, y1, x2, y2, window);
    if (clip.visible) {
      if (!open || clip.startMoved) BeginPolyline(context, x1, y1, out.colour, out.toFile, out.toScreen);
      ContinuePolyline(context, x2, y2, out.colour, out.toFile, out.toScreen);
    }
    open = clip.visible && !clip.endMoved;
    a = b;
  };
  for (std::size_t n = first; n <= last && n < points.size(); ++n) segmentTo(points[n]);
  segmentTo(to);
}

// The world direction of the text and its start, so that the label reads
// along the line on rotated models too, centred across the line.
struct LabelPose {
  WorldPoint start;
  float angle = 0;
};

LabelPose PoseOf(const ModelOrigin& origin, PicturePoint p, PicturePoint q, float size) {
  const WorldPoint a = PlanToWorld(origin, p.x, p.y);
  const WorldPoint b = PlanToWorld(origin, q.x, q.y);
  const float angle = LabelAngle(a.x, a.y, b.x, b.y);
  const double radians = angle * std::atan(1.0) / 45.0;
  // Half the text height below the line, so the text sits in the gap.
  const float down = size / 2;
  return {{static_cast<float>(a.x + down * std::sin(radians)), static_cast<float>(a.y - down * std::cos(radians))},
          angle};
}

// Labels read uphill when the higher ground lies to the left of their
// direction, where the tops of the letters point. The start node tells
// which side is higher.
bool UphillWithoutTurn(const ModelOrigin& origin, const ContourLine& line) {
  const WorldPoint p0 = PlanToWorld(origin, line.points[0].x, line.points[0].y);
  const WorldPoint p1 = PlanToWorld(origin, line.points[1].x, line.points[1].y);
  const WorldPoint n = PlanToWorld(origin, line.startNode.x, line.startNode.y);
  const double c = static_cast<double>(p1.x - p0.x) * (n.y - p0.y) - static_cast<double>(p1.y - p0.y) * (n.x - p0.x);
  return line.startNodeHigh ? c > 0 : c < 0;
}

}  // namespace

const CellArray<float>* ContourSource(const ModelState& model, const Settings& settings, bool headsLoaded,
                                      bool drawdownsLoaded) {
  if (settings.contourDataSource != kDrawdownDataSource) return headsLoaded ? &model.HEAD : nullptr;
  return drawdownsLoaded ? &model.DRAWDOWN : nullptr;
}

void DrawContourLine(PlotContext& context, const ContourInputs& inputs, const ContourLine& line,
                     const ContourLevel& level) {
  const std::vector<PicturePoint>& points = line.points;
  if (points.size() < 2) return;
  const LineOutput out{level.colour, context.device.PlotToFile, IsOn(inputs.settings.contourDisplay)};
  SelectPlotPen(context.device, level.colour);
  const std::string text = ContourLabelText(level.value, inputs.settings);
  const float size = kLabelSizeFactor * level.labelHeight;
  const TextStyle flat = SetTextStyle(1, 0, 0, 1);
  std::vector<LabelPlace> labels;
  if (level.label != 0 && inputs.font.Loaded())
    labels = PlaceLabels(points, MeasureStrokeText(inputs.font, flat, text, size), level.labelSpacing);

  PicturePoint from = points.front();
  std::size_t first = 1;
  for (const LabelPlace& label : labels) {
    DrawRun(context, out, points, from, first, label.pSegment, label.p);
    from = label.q;
    first = label.qSegment + 1;
  }
  DrawRun(context, out, points, from, first, points.size() - 2, points.back());

  const ModelOrigin origin = PlotOrigin(context.model);
  const bool turn = IsOn(inputs.settings.labelUphill) && !UphillWithoutTurn(origin, line);
  for (const LabelPlace& label : labels) {
    const LabelPose pose = turn ? PoseOf(origin, label.q, label.p, size) : PoseOf(origin, label.p, label.q, size);
    DrawStrokeText(context, inputs.font, SetTextStyle(1, pose.angle, 0, 1), text, pose.start.x, pose.start.y, size,
                   level.colour, out.toFile, out.toScreen);
  }
}

void DrawContours(PlotContext& context, const ContourInputs& inputs, const CellArray<float>& values) {
  if (!IsOn(inputs.settings.contourDisplay) && !context.device.PlotToFile) return;
  const ModelState& model = context.model;
  const int layer = model.CurrentLayer;
  ViewWindow& view = context.layout.view;
  const ZoomWindow& zoom = context.layout.zoom;
  view.Xmin = zoom.Xmin, view.Ymin = zoom.Ymin, view.Xmax = zoom.Xmax, view.Ymax = zoom.Ymax;
  UserInterface& ui = inputs.ui;
  ui.SetMeter(0);
  ui.ShowStatusPanes(false);
  ui.SetHint(kDrawContoursHint);
  inputs.busy.contourDrawing = true;
  {
    Hourglass hourglass(ui);
    ContourCache uncached;
    ContourCache& cache = inputs.cache ? *inputs.cache : uncached;
    ContourNodes nodes = LayerNodes(model, values, layer, {inputs.settings.HNOFLO, inputs.settings.HDRY});
    if (!(nodes == cache.nodes)) cache = {std::move(nodes), {}};  // another layer, time step or result
    std::optional<ContourTracer> tracer;  // made once a level is not in the cache
    const int levels = static_cast<int>(inputs.table.levels.size());
    int last = 0;
    for (int k = 0; k < levels; ++k) {
      const ContourLevel& level = inputs.table.levels[k];
      const auto index = static_cast<std::size_t>(k);
      if (index < cache.levels.size() && cache.levels[index].value == level.value) {
        for (const ContourLine& line : cache.levels[index].lines) DrawContourLine(context, inputs, line, level);
      } else {
        cache.levels.resize(index);
        if (!tracer) tracer.emplace(cache.nodes);
        ContourCache::Level traced{level.value, {}};
        tracer->Trace(level.value, [&](const ContourLine& line) {
          DrawContourLine(context, inputs, line, level);
          if (inputs.cache) traced.lines.push_back(line);
        });
        cache.levels.push_back(std::move(traced));
      }
      if (UpdateProgress(last, (k + 1) * 100 / levels, ui, context.plan)) break;
      if (!inputs.busy.contourDrawing) break;  // the window changed size meanwhile
    }
  }
  context.plan.Refresh();
  inputs.busy.contourDrawing = false;
  ui.SetMeter(0);
  ui.SetHint("");
  ui.ShowStatusPanes(true);
}

}  // namespace kestra
