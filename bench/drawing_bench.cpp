// Redraw of a model of a million cells (1000 x 1000 x 1): the plan and both
// sections to the raster pictures, with velocity vectors, with contours and
// vectors as the window draws them, and the same into a DXF plot.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "graphics/contour_table_edits.h"
#include "graphics/contours.h"
#include "graphics/plan_view.h"
#include "graphics/velocity_vectors.h"
#include "graphics/view_arrangement.h"
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
void RedrawWithContoursAndVectors(benchmark::State& state) {
  DrawingSetup setup;
  ShowEastwardVectors(setup);
  const ModelState& model = setup.m.model;
  Settings& settings = setup.m.settings;
  settings.contourDisplay = kOn;
  settings.labelDecimals = 1;
  ContourTable table;
  RebuildLevels(table, 90.5f, 95.5f, 0.5f, GridDiagonal(model));
  StrokeFont font;
  std::string problem;
  LoadStrokeFont(std::filesystem::path(KESTRA_BENCH_DATA_DIR) / kStrokeFontFileName, font, problem);
  BusyFlags busy;
  const ContourInputs contours{settings, table, font, setup.ui, busy};
  const VectorInputs vectors{settings, setup.ui, 2.0f};
  setup.inputs.drawOverlays = [&](PlotContext& context) {
    DrawContours(context, contours, model.HEAD);
    DrawVelocityVectors(context, vectors);
  };
  for (auto _ : state) DrawModel(setup.context, setup.inputs, 1);
  state.counters["labelled"] = font.Loaded() ? 1 : 0;
}
BENCHMARK(RedrawWithContoursAndVectors)->Unit(benchmark::kMillisecond);

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
