// Loading the face flows of the last time step of a large budget file, in the
// stream and the Lahey layout, against copying the same bytes from the page
// cache. The files (1 million cells, 20 time steps, 4 terms per step) are
// built in a temporary folder and removed at the end. Beyond the model's own
// arrays a load holds one spare term array (read into, then swapped with its
// target) and a 128-byte window; max_rss_MiB is dominated by the model state
// (about 60 MiB for this grid) and the writer's buffers.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "core/user_interface.h"
#include "results/result_file_writer.h"
#include "results/result_files.h"

namespace {

using namespace kestra;

constexpr int kColumns = 200;
constexpr int kRows = 250;
constexpr int kLayers = 20;
constexpr int kSteps = 20;
constexpr std::int64_t kCells = std::int64_t{kColumns} * kRows * kLayers;
constexpr int kFaceTerms = 3;
constexpr std::int64_t kNeededBytes = kFaceTerms * kCells * 4;

BudgetHeader TermHeader(int step, const char* text) {
  BudgetHeader header;
  header.KSTP = step;
  header.KPER = 1;
  header.TEXT = text;
  header.NCOL = kColumns;
  header.NROW = kRows;
  header.NLAY = kLayers;
  return header;
}

void WriteBudget(const std::string& path, ResultFileFormat format) {
  std::ofstream out(path, std::ios::binary);
  ResultFileWriter writer(out, format);
  std::vector<float> values(static_cast<std::size_t>(kCells));
  std::mt19937 random(7);
  std::uniform_real_distribution<float> flow(-100.0f, 100.0f);
  for (auto& value : values) value = flow(random);
  for (int step = 1; step <= kSteps; ++step)
    for (const char* text : {"   CONSTANT HEAD", "FLOW RIGHT FACE ", "FLOW FRONT FACE ", "FLOW LOWER FACE "})
      writer.WriteBudgetArray(TermHeader(step, text), values);
}

void LoadLastStepFaceFlows(benchmark::State& benchState, const std::string& path) {
  ModelState state;
  DimensionModel(state, kColumns, kRows, kLayers);
  state.BudgetPath = path;
  state.CurrentStep = kSteps;
  SilentInterface ui;
  for (auto _ : benchState) {
    state.flowTermsLoaded = false;
    if (!ReadFlowTerms(state, {}, ui, false)) benchState.SkipWithError("flow terms not read");
    benchmark::DoNotOptimize(state.QLOWER.values.data());
  }
  benchState.counters["needed_bytes_per_s"] =
      benchmark::Counter(static_cast<double>(kNeededBytes), benchmark::Counter::kIsIterationInvariantRate);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  benchState.counters["max_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The floor: the three needed records of the last step read into three
// arrays in one piece each, with nothing else done.
void CopyNeededBytes(benchmark::State& benchState, const std::string& path) {
  const std::int64_t recordBytes = kCells * 4;
  const std::int64_t stepBytes = 4 * (36 + recordBytes);
  const std::int64_t firstNeeded = (kSteps - 1) * stepBytes + 36 + recordBytes + 36;
  std::vector<std::vector<char>> buffers(kFaceTerms, std::vector<char>(static_cast<std::size_t>(recordBytes)));
  std::filebuf file;
  file.pubsetbuf(nullptr, 0);
  file.open(path, std::ios::in | std::ios::binary);
  for (auto _ : benchState) {
    for (int term = 0; term < kFaceTerms; ++term) {
      file.pubseekpos(firstNeeded + term * (recordBytes + 36));
      file.sgetn(buffers[term].data(), recordBytes);
      benchmark::DoNotOptimize(buffers[term].data());
    }
  }
  benchState.counters["needed_bytes_per_s"] =
      benchmark::Counter(static_cast<double>(kNeededBytes), benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

int main(int argc, char** argv) {
  const auto folder = std::filesystem::temp_directory_path() / ("kestra-bench-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  const std::string stream = (folder / "stream.cbc").string();
  const std::string lahey = (folder / "BUDGET.DAT").string();
  WriteBudget(stream, ResultFileFormat::Stream);
  WriteBudget(lahey, ResultFileFormat::Lahey);
  benchmark::RegisterBenchmark("LoadLastStepFaceFlows/stream", LoadLastStepFaceFlows, stream)
      ->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("LoadLastStepFaceFlows/lahey", LoadLastStepFaceFlows, lahey)
      ->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("CopyNeededBytesFromPageCache/stream", CopyNeededBytes, stream)
      ->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
