// Contours of a layer of a million cells (1000 x 1000): eleven labelled
// levels of a mound over a regional slope, with inactive and fixed-head
// cells, onto the raster plan and into a DXF plot.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "graphics/contour_table_edits.h"
#include "graphics/contours.h"
#include "graphics/view_arrangement.h"
#include "render/raster_picture.h"

namespace kestra {
namespace {

constexpr int kSide = 1000;

struct ContourSetup {
  ModelState model;
  Settings settings;
  ContourTable table;
  StrokeFont font;
  ViewLayout layout;
  RasterPicture plan, row, column;
  PlotDevice device;
  SilentInterface ui;
  BusyFlags busy;
  PlotContext context{plan, row, column, device, model, layout};
  ContourInputs inputs{settings, table, font, ui, busy};

  ContourSetup() {
    DimensionModel(model, kSide, kSide, 1);
    for (int n = 1; n <= kSide; ++n) model.DELR[n] = model.DELC[n] = 10;
    ComputeGridGeometry(model);
    SetDefaultOrigin(model);
    model.ModelPath = "bench.mdl";
    for (int i = 1; i <= kSide; ++i)
      for (int j = 1; j <= kSide; ++j) {
        model.IBOUND(j, i, 1) = j + i < 300 ? 0 : j == kSide ? -1 : 1;
        model.TOP(j, i, 1) = 100;
        model.BOT(j, i, 1) = 50;
        const float r = std::hypot(static_cast<float>(j - 600), static_cast<float>(i - 400));
        model.HEAD(j, i, 1) = 60 + 0.01f * static_cast<float>(j) + 20 * std::exp(-r * r / 40000);
      }
    std::string problem;
    LoadStrokeFont(FindStrokeFontFile(std::filesystem::current_path()), font, problem);
    if (!font.Loaded()) LoadStrokeFont(std::filesystem::path(KESTRA_BENCH_DATA_DIR) / kStrokeFontFileName, font, problem);
    settings.contourDisplay = kOn;
    settings.labelStyle = 0;
    settings.labelDecimals = 1;
    RebuildLevels(table, 62, 82, 2, GridDiagonal(model));
    SpreadContourColors(table, RgbColour(0, 0, 128), RgbColour(200, 0, 0));
    layout.zoom = {0, 0, 10000, 10000, 10000, 10000};
    SetModelElevationRange(layout, model);
    ArrangeViews(layout, plan, row, column, settings, 1200, 1000);
    SetViewWindow(layout);
  }
};

void ContoursToRaster(benchmark::State& state) {
  ContourSetup setup;
  for (auto _ : state) DrawContours(setup.context, setup.inputs, setup.model.HEAD);
  state.counters["labelled"] = setup.font.Loaded() ? 1 : 0;
}
BENCHMARK(ContoursToRaster)->Unit(benchmark::kMillisecond);

void ContoursToDxf(benchmark::State& state) {
  ContourSetup setup;
  PlotDevice& device = setup.device;
  device.PlotFileName = (std::filesystem::temp_directory_path() / "kestra_contours_bench.dxf").string();
  device.PlotToFile = true;
  for (auto _ : state) {
    OpenPlotFile(device, setup.layout.zoom);
    DrawContours(setup.context, setup.inputs, setup.model.HEAD);
    ClosePlotFile(device);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(device.PlotFileName));
  std::filesystem::remove(device.PlotFileName);
}
BENCHMARK(ContoursToDxf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestra

BENCHMARK_MAIN();
