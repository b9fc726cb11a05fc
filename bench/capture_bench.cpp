// Capture zones on a model of a million cells: a well screened over four
// layers in uniform regional flow, its face templates (6 faces x 16
// particles a cell, 384 particles) tracked backward and four travel-time
// zones and the whole capture zone polygonised; with and without the
// particles added where neighbouring paths part.
#include <benchmark/benchmark.h>

#include "core/run_state.h"
#include "core/user_interface.h"
#include "export/capture_zones.h"
#include "support/well_in_uniform_flow.h"
#include "tracking/capture_tracking.h"
#include "steady_loader.h"

namespace kestra {
namespace {

test::UniformFlowWell BenchWell() {
  test::UniformFlowWell w;
  w.columns = w.rows = 250;
  w.layers = 16;  // 1 000 000 cells
  w.cell = 10;
  w.wellColumn = w.wellRow = 126;
  w.screenTop = 7;
  w.screenBottom = 10;
  return w;
}

ModelState& SharedModel() {
  static ModelState state = test::WellInUniformFlow(BenchWell());
  return state;
}

void CaptureZonesOfAScreen(benchmark::State& bench, double splitDistance) {
  ModelState& state = SharedModel();
  const test::UniformFlowWell w = BenchWell();
  const Settings settings;
  TrackingSettings tracking;
  tracking.StepLength = 1e7;
  tracking.MaximumSteps = 1;
  const StressPeriods periods;
  BusyFlags busy;
  SilentInterface ui;
  NoLoader loader;
  WellScreen screen;
  for (int k = w.screenTop; k <= w.screenBottom; ++k)
    screen.cells.push_back(
        {static_cast<std::int16_t>(w.wellColumn), static_cast<std::int16_t>(w.wellRow), static_cast<std::int16_t>(k)});
  const std::vector<double> times = {50, 365, 1825, 3650};
  const WellRelease release{4, splitDistance, 10, 200000};
  int particles = 0;
  for (auto _ : bench) {
    CaptureRun run{state, settings, tracking, periods, busy, ui, loader, 1, {}, {}};
    const CaptureTracks tracks = TrackFromWells(run, {screen}, release, times);
    std::vector<CaptureZone> zones;
    std::string error;
    if (!BuildCaptureZones(state, tracks.wells[0], {times, w.cell / 4, w.cell}, zones, error)) {
      bench.SkipWithError(error.c_str());
      return;
    }
    particles = zones.back().particles;
    benchmark::DoNotOptimize(zones);
  }
  bench.counters["particles"] = particles;
}

void FaceTemplatesOnly(benchmark::State& bench) { CaptureZonesOfAScreen(bench, 0); }
void WithParticlesWherePathsPart(benchmark::State& bench) { CaptureZonesOfAScreen(bench, BenchWell().cell); }

BENCHMARK(FaceTemplatesOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(WithParticlesWherePathsPart)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kestra

BENCHMARK_MAIN();
