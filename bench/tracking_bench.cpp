// Tracking throughput: cell moves per second on a model of a million cells.
// Ten thousand particles on one thread and on all: without drawing, and with
// every move drawn into a DXF plot (plan and both sections). A hundred
// thousand particles as the batch tool tracks them: end points only, and
// with the pathline file written while tracking, on one and two threads.
// And the text of one point of a pathline in each layout.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <random>
#include <thread>

#include "core/model_state.h"
#include "core/run_state.h"
#include "graphics/blank_picture.h"
#include "graphics/pathline_drawing.h"
#include "graphics/plot_device.h"
#include "tracking/batch_output.h"
#include "tracking/mp7_files.h"
#include "tracking/particle_set.h"
#include "tracking/pathline_writer.h"
#include "tracking/track_particles.h"
#include "steady_loader.h"

namespace kestra {
namespace {

constexpr int kColumns = 200, kRows = 200, kLayers = 25;  // one million cells
constexpr int kParticles = 10000;
constexpr int kBatchParticles = 100000;

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

// Built once: both variants track through the same model.
ModelState& SharedModel() {
  static ModelState state = BenchModel();
  return state;
}

// Counts the moves and passes them on.
class CountingObserver : public TrackObserver {
 public:
  explicit CountingObserver(TrackObserver& target) : target_(target) {}
  void Segment(const TrackSegment& segment) override {
    ++moves;
    target_.Segment(segment);
  }
  std::int64_t moves = 0;

 private:
  TrackObserver& target_;
};

ParticleSet BenchParticles(int count) {
  ParticleSet particles;
  SilentInterface ui;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> column(1, kColumns / 2), row(1, kRows), layer(1, kLayers);
  for (int n = 0; n < count; ++n)
    particles.Particles.push_back(NewParticle(particles,
                {static_cast<std::int16_t>(column(random)), static_cast<std::int16_t>(row(random)),
                 static_cast<std::int16_t>(layer(random))},
                {0.5f, 0.5f, 0.5f}, 0));
  return particles;
}

// One forward run of a particle set through the shared model, as often as
// the benchmark asks, each from the release points.
struct BenchRun {
  explicit BenchRun(int particleCount) : particles(BenchParticles(particleCount)) {
    tracking.StepLength = 1e9;
    tracking.MaximumSteps = 1;
  }
  void Track(TrackObserver& observer, int threads) {
    ResetParticlePositions(particles);
    ResetParticleTimes(particles);
    TrackingRun run{SharedModel(), settings, tracking, periods, particles, busy, ui, observer, loader, control,
                    threads};
    TrackParticles(run, TrackMode::ForwardRun, TrackKind::Interactive);
  }

  Settings settings;
  TrackingSettings tracking;
  StressPeriods periods;
  ParticleSet particles;
  SilentInterface ui;
  BusyFlags busy;
  NoLoader loader;
  RunControl control;
};

void RunTracking(benchmark::State& benchState, TrackObserver& observer) {
  BenchRun bench(kParticles);
  CountingObserver counter(observer);
  for (auto _ : benchState) bench.Track(counter, static_cast<int>(benchState.range(0)));
  benchState.counters["moves/s"] = benchmark::Counter(static_cast<double>(counter.moves), benchmark::Counter::kIsRate);
}

void TrackingThroughput(benchmark::State& benchState) {
  TrackObserver nothing;
  RunTracking(benchState, nothing);
}

// Every move on the plan and both sections into a DXF plot. The plot goes to
// /dev/null: it measures the drawing and the DXF text, not the disk.
void TrackingThroughputDxf(benchmark::State& benchState) {
  const ModelState& state = SharedModel();
  BlankPicture plan, rowSection, columnSection;  // what is measured is the engine and the plot file
  PlotDevice device;
  device.PlotFileName = "/dev/null";
  device.PlotToFile = true;
  ViewLayout layout;
  const float width = 10.0f * kColumns, height = 10.0f * kRows;
  layout.zoom = {0, 0, width, height, width, height};
  layout.modelZmax = 5.0f * kLayers;
  SetViewWindow(layout);
  if (!OpenPlotFile(device, layout.zoom)) {
    benchState.SkipWithError("cannot open the plot file");
    return;
  }
  PlotContext context{plan, rowSection, columnSection, device, state, layout};
  TrackingSettings tracking;
  PathlineDrawing drawing(context, tracking, true);
  RunTracking(benchState, drawing);
  ClosePlotFile(device);
}

// The batch tool's run: 100 000 particles into its output, the pathline
// text (when asked) going to /dev/null, which measures the formatting and
// the writing, not the disk; in either layout.
void BatchRun(benchmark::State& benchState, bool pathlines, PathlineLayout layout = PathlineLayout::Kestra) {
  BenchRun bench(kBatchParticles);
  std::ofstream sink("/dev/null", std::ios::binary);
  std::int64_t moves = 0;
  for (auto _ : benchState) {
    BatchOutput output(SharedModel(), kBatchParticles, pathlines ? &sink : nullptr, layout);
    bench.Track(output, static_cast<int>(benchState.range(0)));
    moves += output.Counts().moves;
  }
  benchState.counters["moves/s"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
  benchState.counters["moves"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kAvgIterations);
}

// One line of the pathline file: nanoseconds per record, the formatting
// share of a pathline run.
void PathlineRecordText(benchmark::State& benchState) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> plan(0, 2000), local(0, 1), time(0, 1e5);
  std::vector<PathPoint> points(4096);
  for (PathPoint& p : points) {
    p.point = {plan(random), plan(random), 5 * kLayers * local(random)};
    p.localZ = static_cast<float>(local(random));
    p.time = time(random);
    p.cell = {static_cast<std::int16_t>(1 + p.point.X / 10), static_cast<std::int16_t>(1 + p.point.Y / 10), 3};
  }
  TextBuffer out;
  std::size_t n = 0;
  for (auto _ : benchState) {
    out.clear();
    AppendPathlineRecord(out, 12345, 1, points[n++ % points.size()], 2000.0f);
    benchmark::DoNotOptimize(out.View().data());
  }
}

// One point line of the MODPATH 7 layout. Like the points of real moves,
// each lies on a face of its cell: a local coordinate of 0 or 1.
void Mp7PathlinePointText(benchmark::State& benchState) {
  const ModelState& state = SharedModel();
  std::mt19937 random(5);
  std::uniform_real_distribution<double> local(0, 1), time(0, 1e5);
  std::uniform_int_distribution<int> column(1, kColumns), row(1, kRows), layer(1, kLayers), face(0, 5);
  std::vector<PathPoint> points(4096);
  for (PathPoint& p : points) {
    p.cell = {static_cast<std::int16_t>(column(random)), static_cast<std::int16_t>(row(random)),
              static_cast<std::int16_t>(layer(random))};
    double x = local(random), y = local(random), z = local(random);
    const int onFace = face(random);
    (onFace < 2 ? x : onFace < 4 ? y : z) = onFace % 2;
    p.point = {state.XEDGE[p.cell.column - 1] + x * state.DELR[p.cell.column],
               state.YEDGE[p.cell.row - 1] + y * state.DELC[p.cell.row], 5.0 * (kLayers - p.cell.layer + z)};
    p.localZ = static_cast<float>(z);
    p.time = time(random);
  }
  TextBuffer out;
  std::size_t n = 0;
  for (auto _ : benchState) {
    out.clear();
    AppendMp7PathlinePoint(out, state, points[n++ % points.size()], 1, 1, 0);
    benchmark::DoNotOptimize(out.View().data());
  }
}

void BatchEndPoints(benchmark::State& benchState) { BatchRun(benchState, false); }
void BatchPathlines(benchmark::State& benchState) { BatchRun(benchState, true); }
void BatchPathlinesMp7(benchmark::State& benchState) { BatchRun(benchState, true, PathlineLayout::Mp7); }

BENCHMARK(PathlineRecordText);
BENCHMARK(Mp7PathlinePointText);
BENCHMARK(BatchEndPoints)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BatchPathlines)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BatchPathlinesMp7)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

BENCHMARK(TrackingThroughput)
    ->Arg(1)
    ->Arg(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(TrackingThroughputDxf)
    ->Arg(1)
    ->Arg(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace kestra

BENCHMARK_MAIN();
