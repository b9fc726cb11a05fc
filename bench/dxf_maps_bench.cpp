// A base map of 100 000 entities over the plan: the first draw reads the
// file, every later redraw takes the map kept from it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "export/dxf_maps.h"
#include "graphics/view_arrangement.h"
#include "render/raster_picture.h"

namespace kestra {
namespace {

constexpr int kEntities = 100000;

// Lines, polylines, circles and texts scattered over a 10 km square.
std::string WriteMap() {
  const std::string path = (std::filesystem::temp_directory_path() / "kestra_dxf_maps_bench.dxf").string();
  std::ofstream out(path, std::ios::binary);
  out << "  0\nSECTION\n  2\nENTITIES\n";
  for (int n = 0; n < kEntities; ++n) {
    const float x = static_cast<float>((n * 37) % 10000);
    const float y = static_cast<float>((n * 91) % 10000);
    switch (n % 4) {
      case 0: out << "  0\nLINE\n  8\n0\n 10\n" << x << "\n 20\n" << y << "\n 11\n" << x + 40 << "\n 21\n" << y + 25 << "\n"; break;
      case 1:
        out << "  0\nLWPOLYLINE\n 90\n4\n 70\n1\n 10\n" << x << "\n 20\n" << y << "\n 10\n" << x + 30 << "\n 20\n" << y
            << "\n 10\n" << x + 30 << "\n 20\n" << y + 30 << "\n 10\n" << x << "\n 20\n" << y + 30 << "\n";
        break;
      case 2: out << "  0\nCIRCLE\n 10\n" << x << "\n 20\n" << y << "\n 40\n12\n"; break;
      case 3: out << "  0\nTEXT\n  1\nW" << n << "\n 10\n" << x << "\n 20\n" << y << "\n 40\n8\n"; break;
    }
  }
  out << "  0\nENDSEC\n  0\nEOF\n";
  return path;
}

struct MapSetup {
  ModelState model;
  Settings settings;
  ViewLayout layout;
  RasterPicture plan, row, column;
  PlotDevice device;
  SilentInterface ui;
  StrokeFont font;
  DxfMapCache cache;
  PlotContext context{plan, row, column, device, model, layout};
  std::string path = WriteMap();

  MapSetup() {
    DimensionModel(model, 100, 100, 1);
    for (int n = 1; n <= 100; ++n) model.DELR[n] = model.DELC[n] = 100;
    ComputeGridGeometry(model);
    SetDefaultOrigin(model);
    model.ModelPath = "bench.mdl";
    for (int i = 1; i <= 100; ++i)
      for (int j = 1; j <= 100; ++j) model.TOP(j, i, 1) = 100;
    layout.zoom = {0, 0, 10000, 10000, 10000, 10000};
    SetModelElevationRange(layout, model);
    ArrangeViews(layout, plan, row, column, settings, 1200, 1000);
    std::string error;
    const auto fontPath = FindStrokeFontFile(std::filesystem::current_path());
    if (!fontPath.empty()) LoadStrokeFont(fontPath, font, error);
    settings.dxfMaps[1] = {path, 0, 0, 1, kOn, kDefaultMapColour};
  }
  ~MapSetup() { std::filesystem::remove(path); }
};

void RedrawKeptMap(benchmark::State& state) {
  MapSetup setup;
  DrawDxfMaps(setup.context, {setup.settings, setup.ui, setup.font, setup.cache});
  for (auto _ : state) DrawDxfMaps(setup.context, {setup.settings, setup.ui, setup.font, setup.cache});
  state.counters["font"] = setup.font.Loaded() ? 1 : 0;
}
BENCHMARK(RedrawKeptMap)->Unit(benchmark::kMillisecond);

void ReadAndDrawMap(benchmark::State& state) {
  MapSetup setup;
  for (auto _ : state) {
    setup.cache.maps.clear();
    DrawDxfMaps(setup.context, {setup.settings, setup.ui, setup.font, setup.cache});
  }
}
BENCHMARK(ReadAndDrawMap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestra

BENCHMARK_MAIN();
