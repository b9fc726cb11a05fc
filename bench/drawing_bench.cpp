// Redraw of a model of a million cells (1000 x 1000 x 1): the plan and both
// sections to the raster pictures, with velocity vectors, with contours and
// vectors as the window draws them, the redraws of zooming and panning, and
// the same into a DXF plot.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "graphics/contour_table_edits.h"
#include "graphics/contours.h"
#include "graphics/plan_view.h"
#include "graphics/velocity_vectors.h"
#include "graphics/view_arrangement.h"
#include "graphics/zoom_rules.h"
#include "render/raster_picture.h"

namespace kestra {
namespace {

constexpr int kSide = 1000;

// A square grid with an inactive wedge, a fixed-head edge, a river across it
// and a well field, so every cell group has work.
struct MillionCellModel {
  ModelState model;
  Settings settings;
  LayerValues wells{kSide, kSide, std::vector<float>(kSide* kSide, 0)};
  LayerValues rivers{kSide, kSide, std::vector<float>(kSide* kSide, 0)};
  PackageLayerReader reader = [this](int dataType, int, int, LayerValues& values) {
    if (dataType == data_type::kWells) values = wells;
    if (dataType == data_type::kRivers) values = rivers;
    return dataType == data_type::kWells || dataType == data_type::kRivers;
  };

  MillionCellModel() {
    DimensionModel(model, kSide, kSide, 1);
    for (int n = 1; n <= kSide; ++n) model.DELR[n] = model.DELC[n] = 10;
    ComputeGridGeometry(model);
    SetDefaultOrigin(model);
    model.ModelPath = "bench.mdl";
    model.DataFlags(3, 2) = model.DataFlags(3, 4) = 2;
    for (int i = 1; i <= kSide; ++i)
      for (int j = 1; j <= kSide; ++j) {
        model.IBOUND(j, i, 1) = j + i < 300 ? 0 : j == kSide ? -1 : 1;
        model.TOP(j, i, 1) = 100;
        model.BOT(j, i, 1) = 50;
        model.HEAD(j, i, 1) = 90 + 0.005f * static_cast<float>(j);
      }
    for (int j = 1; j <= kSide; ++j) rivers.values[static_cast<std::size_t>(500 - 1) * kSide + j - 1] = 1;
    for (int i = 100; i < kSide; i += 50)
      for (int j = 100; j < kSide; j += 50) wells.values[static_cast<std::size_t>(i - 1) * kSide + j - 1] = -100;
    settings.showWaterTable = kOn;
    settings.sectionRow = 500;
    settings.sectionColumn = 500;
  }
};

// The model laid out for a window of 1200 x 1000 pixels, ready to draw.
struct DrawingSetup {
  MillionCellModel m;
  ViewLayout layout;
  RasterPicture plan, row, column;
  PlotDevice device;
  SilentInterface ui;
  PlotContext context{plan, row, column, device, m.model, layout};
  DrawInputs inputs{m.settings, m.reader, ui};

  DrawingSetup() {
    layout.zoom = {0, 0, 10000, 10000, 10000, 10000};
    SetModelElevationRange(layout, m.model);
    ArrangeViews(layout, plan, row, column, m.settings, 1200, 1000);
    inputs.headsLoaded = true;
  }
};

void RedrawToRaster(benchmark::State& state) {
  DrawingSetup setup;
  for (auto _ : state) DrawModel(setup.context, setup.inputs, 1);
}
BENCHMARK(RedrawToRaster)->Unit(benchmark::kMillisecond);

// A uniform flow eastward, a little faster towards the well field's rows,
// with its vectors shown.
void ShowEastwardVectors(DrawingSetup& setup) {
  ModelState& model = setup.m.model;
  model.flowTermsLoaded = true;
  for (int i = 1; i <= kSide; ++i)
    for (int j = 1; j <= kSide; ++j) model.VX(j, i, 1) = 1.0f + 0.001f * static_cast<float>(i);
  setup.m.settings.vectorsVisible = kOn;
}

// The same with a velocity vector on every active cell.
void RedrawWithVectors(benchmark::State& state) {
  DrawingSetup setup;
  ShowEastwardVectors(setup);
  const VectorInputs vectors{setup.m.settings, setup.ui, 2.0f};
  setup.inputs.drawOverlays = [&vectors](PlotContext& context) { DrawVelocityVectors(context, vectors); };
  for (auto _ : state) DrawModel(setup.context, setup.inputs, 1);
}
BENCHMARK(RedrawWithVectors)->Unit(benchmark::kMillisecond);

// What the window draws on a redraw with every layer of the plan shown:
// the grid and boundary cells, eleven labelled contour levels of the heads,
// then a velocity vector on every active cell.
struct WindowDrawing {
  DrawingSetup setup;
  ContourTable table;
  StrokeFont font;
  BusyFlags busy;
  ContourInputs contours{setup.m.settings, table, font, setup.ui, busy};
  ContourCache contourLines;
  VectorInputs vectors{setup.m.settings, setup.ui, 2.0f};

  WindowDrawing() {
    contours.cache = &contourLines;
    ShowEastwardVectors(setup);
    Settings& settings = setup.m.settings;
    settings.contourDisplay = kOn;
    settings.labelDecimals = 1;
    RebuildLevels(table, 90.5f, 95.5f, 0.5f, GridDiagonal(setup.m.model));
    std::string problem;
    LoadStrokeFont(std::filesystem::path(KESTRA_BENCH_DATA_DIR) / kStrokeFontFileName, font, problem);
    setup.inputs.drawOverlays = [this](PlotContext& context) {
      DrawContours(context, contours, setup.m.model.HEAD);
      DrawVelocityVectors(context, vectors);
    };
  }

  // The window's redraw after its zoom window changed: views arranged anew.
  void RedrawAt(const ZoomWindow& zoom) {
    setup.layout.zoom = zoom;
    ArrangeViews(setup.layout, setup.plan, setup.row, setup.column, setup.m.settings, 1200, 1000);
    DrawModel(setup.context, setup.inputs, 1);
  }
};

void RedrawWithContoursAndVectors(benchmark::State& state) {
  WindowDrawing window;
  for (auto _ : state) DrawModel(window.setup.context, window.setup.inputs, 1);
  state.counters["labelled"] = window.font.Loaded() ? 1 : 0;
}
BENCHMARK(RedrawWithContoursAndVectors)->Unit(benchmark::kMillisecond);

// The redraws of moving about the plan, each a new zoom window: a wheel
// notch in and out again about a point off the centre, then a pan to the
// right and back, on the whole grid (range 1) or zoomed to a tenth of its
// width (range 10). A drag itself only moves the picture drawn last.
void ZoomAndPan(benchmark::State& state) {
  WindowDrawing window;
  const ModelState& model = window.setup.m.model;
  constexpr float kWheelNotch = 0.8f;
  const float side = model.XEDGE[model.NCOL];
  std::optional<ZoomWindow> start = window.setup.layout.zoom;
  if (state.range(0) > 1)
    start = ZoomWindowAbout(model, *start, side / 2, side / 2, 1.0f / static_cast<float>(state.range(0)));
  const std::optional<ZoomWindow> in = ZoomWindowAbout(model, *start, 0.6f * side, 0.4f * side, kWheelNotch);
  const float step = (start->Xmax - start->Xmin) / 5;
  const ZoomWindow panned = PannedZoomWindow(model, *start, step, 0);
  window.RedrawAt(*start);  // what the window shows before the wheel turns
  for (auto _ : state)
    for (const ZoomWindow& zoom : {*in, *start, panned, *start}) window.RedrawAt(zoom);
  state.counters["redraws/s"] =
      benchmark::Counter(4 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(ZoomAndPan)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void PlotToDxf(benchmark::State& state) {
  DrawingSetup setup;
  setup.inputs.gridPlotSwitch = true;
  PlotDevice& device = setup.device;
  device.PlotFileName = (std::filesystem::temp_directory_path() / "kestra_drawing_bench.dxf").string();
  device.PlotToFile = true;
  for (auto _ : state) {
    OpenPlotFile(device, setup.layout.zoom);
    DrawModel(setup.context, setup.inputs, 1);
    ClosePlotFile(device);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(device.PlotFileName));
  std::filesystem::remove(device.PlotFileName);
}
BENCHMARK(PlotToDxf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestra

BENCHMARK_MAIN();
