#include "graphics/plan_view.h"

#include <vector>

#include "core/number_format.h"
#include "graphics/cross_sections.h"

namespace kestra {
namespace {

constexpr int kMeterStep = 5;

struct Meter {
  UserInterface& ui;
  int percent = 0;
  void Advance() { ui.SetMeter(percent += kMeterStep); }
};

// The box of cell (j, i), cut to the plan window; false when none of it shows.
bool VisibleCellBox(const PlotContext& context, int j, int i, PictureBox& box) {
  const ModelState& m = context.model;
  box = {m.XEDGE[j - 1], m.YEDGE[i - 1], m.XEDGE[j], m.YEDGE[i]};
  return ClipBox(box.x1, box.y1, box.x2, box.y2, PlanClipWindow(context.layout));
}

// Fills the cells for which `inGroup(j, i)` holds, row by row, in one colour.
template <typename InGroup>
void FillCellGroup(PlotContext& context, Colour colour, InGroup inGroup) {
  std::vector<PictureBox> boxes;
  PictureBox box;
  for (int i = 1; i <= context.model.NROW; ++i)
    for (int j = 1; j <= context.model.NCOL; ++j)
      if (inGroup(j, i) && VisibleCellBox(context, j, i, box)) boxes.push_back(box);
  SelectPlotPen(context.device, colour);
  FillBoxes(context, boxes, colour);
}

void DrawClippedSegment(PlotContext& context, float x1, float y1, float x2, float y2, Colour colour, bool toFile,
                        bool toScreen) {
  if (ClipSegment(x1, y1, x2, y2, PlanClipWindow(context.layout)).visible)
    DrawSegment(context, x1, y1, x2, y2, colour, toFile, toScreen);
}

// Runs of a grid line: calls draw(first, last) for each maximal run of
// positions 1..count where `drawn` holds.
template <typename Drawn, typename Draw>
void ForEachRun(int count, Drawn drawn, Draw draw) {
  int first = 0;
  for (int n = 1; n <= count + 1; ++n) {
    const bool on = n <= count && drawn(n);
    if (on && first == 0) first = n;
    if (!on && first != 0) {
      draw(first, n - 1);
      first = 0;
    }
  }
}

void DrawFrame(PlotContext& context, const DrawInputs& inputs) {
  const ViewWindow& v = context.layout.view;
  SelectPlotPen(context.device, kBlack);
  DrawSegment(context, v.Xmin, v.Ymin, v.Xmin, v.Ymax, kBlack, inputs.gridPlotSwitch, true);
  DrawSegment(context, v.Xmin, v.Ymax, v.Xmax, v.Ymax, kBlack, inputs.gridPlotSwitch, true);
  DrawSegment(context, v.Xmax, v.Ymax, v.Xmax, v.Ymin, kBlack, inputs.gridPlotSwitch, true);
  DrawSegment(context, v.Xmax, v.Ymin, v.Xmin, v.Ymin, kBlack, inputs.gridPlotSwitch, true);
}

void DrawPackageCells(PlotContext& context, const DrawInputs& inputs, int layer) {
  const ModelState& m = context.model;
  for (const PackageGroup& group : PackageGroups(inputs.settings)) {
    LayerValues values;
    if (!group.shown || !Simulates(m, group.dataType) ||
        !ReadPackageLayer(inputs.packages, m, group.dataType, layer, m.CurrentPeriod, values))
      continue;
    DxfLayerScope dxfLayer(context.device, group.dxfLayer);
    FillCellGroup(context, group.colour,
                  [&](int j, int i) { return m.IBOUND(j, i, layer) > 0 && group.marks(values(j, i)); });
  }
}

void DrawReservoirs(PlotContext& context, const DrawInputs& inputs, int layer) {
  const ModelState& m = context.model;
  const Settings& s = inputs.settings;
  LayerValues locations, layers;
  if (!IsOn(s.showReservoirs) || !Simulates(m, data_type::kReservoirLocations) ||
      !ReadReservoirArrays(inputs.packages, m, s.reservoirOption, locations, layers))
    return;
  DxfLayerScope dxfLayer(context.device, "RESERVOIRS");
  FillCellGroup(context, s.reservoirColor, [&](int j, int i) {
    return locations(j, i) > 0 && m.IBOUND(j, i, layer) > 0 &&
           ReservoirReachesLayer(m, s.reservoirOption, layers, j, i, layer);
  });
}

// One fill per colour class, so that a large grid stays a few calls.
void DrawFlood(PlotContext& context, const ColourFlood& flood, int layer) {
  const ModelState& m = context.model;
  if (flood.layer != layer || flood.Empty()) return;
  std::vector<std::vector<PictureBox>> classes(kFloodClasses);
  PictureBox box;
  std::size_t cell = 0;
  for (int i = 1; i <= m.NROW; ++i)
    for (int j = 1; j <= m.NCOL; ++j, ++cell) {
      const int k = FloodClass(flood, flood.values[cell]);
      if (k >= 0 && VisibleCellBox(context, j, i, box)) classes[k].push_back(box);
    }
  DxfLayerScope dxfLayer(context.device, "FLOOD");
  for (int k = 0; k < kFloodClasses; ++k) {
    if (classes[k].empty()) continue;
    SelectPlotPen(context.device, FloodClassColour(k));
    FillBoxes(context, classes[k], FloodClassColour(k));
  }
}

void DrawPlan(PlotContext& context, const DrawInputs& inputs, int layer, Meter& meter) {
  const ModelState& m = context.model;
  const Settings& s = inputs.settings;
  context.plan.SetVisible(true);
  context.plan.SetPersistent(true);
  context.plan.Clear();
  if (inputs.flood && inputs.flood->values.size() == static_cast<std::size_t>(m.NCOL) * m.NROW)
    DrawFlood(context, *inputs.flood, layer);
  {
    DxfLayerScope dxfLayer(context.device, "GRID");
    DrawGridLines(context, inputs, layer);
    meter.Advance();
    DrawFrame(context, inputs);
    meter.Advance();
  }
  {
    DxfLayerScope dxfLayer(context.device, "CELL_TYPES");
    if (IsOn(s.showInactiveCells))
      FillCellGroup(context, s.inactiveCellColor, [&](int j, int i) { return m.IBOUND(j, i, layer) == 0; });
    meter.Advance();
    if (IsOn(s.showFixedHeadCells))
      FillCellGroup(context, s.fixedHeadCellColor, [&](int j, int i) { return m.IBOUND(j, i, layer) < 0; });
    meter.Advance();
  }
  DrawPackageCells(context, inputs, layer);
  meter.Advance();
  DrawReservoirs(context, inputs, layer);
  meter.Advance();
  if (IsOn(s.showBarriers) && Simulates(m, data_type::kBarriers)) {
    DxfLayerScope dxfLayer(context.device, "BARRIERS");
    SelectPlotPen(context.device, s.barrierColor);
    DrawBarriers(context, inputs.packages, layer, s.barrierColor);
  }
  meter.Advance();
}

}  // namespace

void DrawGridLines(PlotContext& context, const DrawInputs& inputs, int layer) {
  const ModelState& m = context.model;
  const bool toScreen = IsOn(inputs.settings.showMesh);
  const bool toFile = inputs.gridPlotSwitch;
  if (!toScreen && !(toFile && context.device.PlotToFile)) return;
  const Colour colour = inputs.settings.meshColor;
  SelectPlotPen(context.device, colour);
  // A line is drawn beside a cell unless both cells it separates are inactive
  // (the border of IBOUND is inactive), so lines stop at the active outline.
  for (int j = 0; j <= m.NCOL; ++j)
    ForEachRun(
        m.NROW, [&](int i) { return m.IBOUND(j, i, layer) != 0 || m.IBOUND(j + 1, i, layer) != 0; },
        [&](int first, int last) {
          DrawClippedSegment(context, m.XEDGE[j], m.YEDGE[first - 1], m.XEDGE[j], m.YEDGE[last], colour, toFile,
                             toScreen);
        });
  for (int i = 0; i <= m.NROW; ++i)
    ForEachRun(
        m.NCOL, [&](int j) { return m.IBOUND(j, i, layer) != 0 || m.IBOUND(j, i + 1, layer) != 0; },
        [&](int first, int last) {
          DrawClippedSegment(context, m.XEDGE[first - 1], m.YEDGE[i], m.XEDGE[last], m.YEDGE[i], colour, toFile,
                             toScreen);
        });
}

void DrawBarriers(PlotContext& context, const PackageLayerReader& packages, int layer, Colour colour) {
  const ModelState& m = context.model;
  LayerValues codes;
  if (!ReadPackageLayer(packages, m, data_type::kBarriers, layer, m.CurrentPeriod, codes)) return;
  for (int i = 1; i <= m.NROW; ++i)
    for (int j = 1; j <= m.NCOL; ++j) {
      const auto code = RoundToInt16(codes(j, i));
      if (code && *code != 0 && m.IBOUND(j, i, layer) != 0) DrawBarrierCell(context, j, i, colour, *code);
    }
}

void DrawBarrierCell(PlotContext& context, int j, int i, Colour colour, int code) {
  const ModelState& m = context.model;
  const float strip = kStripPixels * context.layout.PixelSize;
  PictureBox box{m.XEDGE[j - 1], m.YEDGE[i - 1], m.XEDGE[j], m.YEDGE[i]};
  switch (code) {
    case 1:
      box.x2 = box.x1 + strip;
      break;
    case 2:
      box.x1 = box.x2 - strip;
      break;
    case 3:
      box.y2 = box.y1 + strip;
      break;
    case 4:
      box.y1 = box.y2 - strip;
      break;
    default:
      return;
  }
  if (ClipBox(box.x1, box.y1, box.x2, box.y2, PlanClipWindow(context.layout)))
    FillBox(context, box.x1, box.y1, box.x2, box.y2, colour);
}

void ToggleSectionMarks(PlotContext& context, int column, int row) {
  const ModelState& m = context.model;
  if (!context.layout.sectionsShown || column < 1 || column > m.NCOL || row < 1 || row > m.NROW) return;
  Picture& plan = context.plan;
  const DrawMode savedMode = plan.GetDrawMode();
  const bool savedPersistence = plan.IsPersistent();
  const bool savedPlotToFile = context.device.PlotToFile;
  plan.SetPersistent(true);
  plan.SetDrawMode(DrawMode::Invert);
  SelectPlotPen(context.device, kBlack);
  const float px = context.layout.PixelSize;
  const float width = m.XEDGE[m.NCOL];
  const float length = m.YEDGE[m.NROW];
  context.device.PlotToFile = savedPlotToFile && context.device.IncludeRightXsection;
  FillBox(context, m.XEDGE[column - 1] - px, 0, m.XEDGE[column - 1] + px, length, kBlack);
  FillBox(context, m.XEDGE[column] - px, 0, m.XEDGE[column] + px, length, kBlack);
  FillBox(context, m.XEDGE[column - 1], -px, m.XEDGE[column], px, kBlack);
  FillBox(context, m.XEDGE[column - 1], length - px, m.XEDGE[column], length + px, kBlack);
  context.device.PlotToFile = savedPlotToFile && context.device.IncludeLowerXsection;
  FillBox(context, 0, m.YEDGE[row - 1] - px, width, m.YEDGE[row - 1] + px, kBlack);
  FillBox(context, 0, m.YEDGE[row] - px, width, m.YEDGE[row] + px, kBlack);
  FillBox(context, -px, m.YEDGE[row - 1], px, m.YEDGE[row], kBlack);
  FillBox(context, width - px, m.YEDGE[row - 1], width + px, m.YEDGE[row], kBlack);
  context.device.PlotToFile = savedPlotToFile;
  plan.SetDrawMode(savedMode);
  plan.SetPersistent(savedPersistence);
}

void DrawModel(PlotContext& context, const DrawInputs& inputs, int layer) {
  if (!context.model.HasModel() || layer < 1 || layer > context.model.NLAY) return;
  SetViewWindow(context.layout);
  {
    Hourglass hourglass(inputs.ui);
    inputs.ui.ShowStatusPanes(false);
    inputs.ui.SetHint(kDrawModelHint);
    Meter meter{inputs.ui};
    inputs.ui.SetMeter(0);
    if (context.layout.planShown) DrawPlan(context, inputs, layer, meter);
    inputs.ui.ShowStatusPanes(true);
    inputs.ui.SetHint("");
    inputs.ui.SetMeter(0);
  }
  {
    DxfLayerScope dxfLayer(context.device, "SECTIONS");
    DrawCrossSections(context, inputs);
  }
  if (context.layout.planShown) {
    context.plan.Refresh();
    if (inputs.drawOverlays) {
      DxfLayerScope dxfLayer(context.device, "OVERLAYS");
      inputs.drawOverlays(context);
    }
    DxfLayerScope dxfLayer(context.device, "SECTION_MARKS");
    ToggleSectionMarks(context, inputs.settings.sectionColumn, inputs.settings.sectionRow);
  }
  context.plan.SetVisible(true);
  context.plan.Refresh();
  context.plan.SetPersistent(false);
}

}  // namespace kestra
