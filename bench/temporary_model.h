// What the benchmarks of a model written to disk share: a fresh temporary
// folder for the model, removed at the end, and the cost of reading its
// files whole (what `cat` costs from the page cache).
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kestra::bench {

// Reads every file of `paths` a megabyte at a time, once per iteration.
inline void ReadFilesWhole(benchmark::State& state, const std::vector<std::filesystem::path>& paths) {
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    for (const std::filesystem::path& path : paths) {
      std::ifstream in(path, std::ios::binary);
      while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
        benchmark::DoNotOptimize(buffer.data());
    }
  }
}

// Writes the model into a new folder named after `name` with `write`, runs
// the benchmarks that `add` registers for that folder, and removes it.
template <typename Write, typename Add>
int RunOnTemporaryModel(int argc, char** argv, const std::string& name, Write write, Add add) {
  const auto folder = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  write(folder);
  add(folder);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}

}  // namespace kestra::bench
