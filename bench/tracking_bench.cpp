// Tracking throughput: cell moves per second on a model of a million cells
// with ten thousand particles, without drawing, on one thread and on all.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <thread>

#include "core/model_state.h"
#include "core/run_state.h"
#include "tracking/particle_set.h"
#include "tracking/track_particles.h"

namespace kestra {
namespace {

constexpr int kColumns = 200, kRows = 200, kLayers = 25;  // one million cells
constexpr int kParticles = 10000;

// A confined block with a wavy lateral flow and a slow downward leak, fixed
// heads along the last column.
ModelState BenchModel() {
  ModelState state;
  DimensionModel(state, kColumns, kRows, kLayers);
  for (int j = 1; j <= kColumns; ++j) state.DELR[j] = 10;
  for (int i = 1; i <= kRows; ++i) state.DELC[i] = 10;
  ComputeGridGeometry(state);
  for (int k = 1; k <= kLayers; ++k)
    for (int i = 1; i <= kRows; ++i)
      for (int j = 1; j <= kColumns; ++j) {
        state.IBOUND(j, i, k) = j == kColumns ? -1 : 1;
        state.TOP(j, i, k) = 5.0f * static_cast<float>(kLayers - k + 1);
        state.BOT(j, i, k) = 5.0f * static_cast<float>(kLayers - k);
        state.POROSITY(j, i, k) = 0.25f;
        state.QRIGHT(j, i, k) = 10 + 3 * std::sin(0.1f * static_cast<float>(i + k));
        state.QFRONT(j, i, k) = 4 * std::cos(0.07f * static_cast<float>(j + 2 * k));
        state.QLOWER(j, i, k) = k < kLayers ? 0.2f : 0;
      }
  state.ModelPath = "bench.mdl";
  state.flowTermsLoaded = true;
  return state;
}

class MoveCounter : public TrackObserver {
 public:
  void Segment(const TrackSegment&) override { ++moves; }
  std::int64_t moves = 0;
};

class NoLoader : public TimeStepLoader {
 public:
  bool LoadFlowField(ModelState&) override { return true; }
  void RestoreTimeStep(ModelState&) override {}
};

void TrackingThroughput(benchmark::State& benchState) {
  static ModelState state = BenchModel();
  Settings settings;
  TrackingSettings tracking;
  tracking.StepLength = 1e9;
  tracking.MaximumSteps = 1;
  StressPeriods periods;
  ParticleSet particles;
  SilentInterface ui;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> column(1, kColumns / 2), row(1, kRows), layer(1, kLayers);
  for (int n = 0; n < kParticles; ++n)
    AddParticle(particles,
                {static_cast<std::int16_t>(column(random)), static_cast<std::int16_t>(row(random)),
                 static_cast<std::int16_t>(layer(random))},
                {0.5f, 0.5f, 0.5f}, 0, ui);
  BusyFlags busy;
  MoveCounter counter;
  NoLoader loader;
  RunControl control;
  TrackingRun run{state, settings, tracking, periods, particles, busy, ui, counter, loader, control,
                  static_cast<int>(benchState.range(0))};
  for (auto _ : benchState) {
    ResetParticlePositions(particles);
    ResetParticleTimes(particles);
    TrackParticles(run, TrackMode::ForwardRun, TrackKind::Interactive);
  }
  benchState.counters["moves/s"] = benchmark::Counter(static_cast<double>(counter.moves), benchmark::Counter::kIsRate);
}

BENCHMARK(TrackingThroughput)
    ->Arg(1)
    ->Arg(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace kestra

BENCHMARK_MAIN();
