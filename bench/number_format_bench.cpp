// Number forms of the pathline file: nanoseconds per number for the mask
// "0.00000000000E+00", against the plain exact conversion of the standard
// library that it avoids for nearly every value.
#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "core/number_format.h"

namespace kestra {
namespace {

std::vector<double> Coordinates() {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> value(-5000, 5000);
  std::vector<double> values(4096);
  for (double& v : values) v = static_cast<float>(value(random));  // the file's coordinates are 32-bit
  return values;
}

void PathlineMask(benchmark::State& state) {
  const std::vector<double> values = Coordinates();
  char buffer[ScientificTextMax(11)];
  std::size_t n = 0;
  for (auto _ : state) {
    char* end = WriteScientificText(buffer, values[n++ % values.size()], 11);
    benchmark::DoNotOptimize(end);
  }
}

void ExactConversion(benchmark::State& state) {
  const std::vector<double> values = Coordinates();
  char buffer[64];
  std::size_t n = 0;
  for (auto _ : state) {
    auto result = std::to_chars(buffer, buffer + 64, values[n++ % values.size()], std::chars_format::scientific, 11);
    benchmark::DoNotOptimize(result.ptr);
  }
}

void ShortestConversion(benchmark::State& state) {
  const std::vector<double> values = Coordinates();
  char buffer[64];
  std::size_t n = 0;
  for (auto _ : state) {
    auto result = std::to_chars(buffer, buffer + 64, values[n++ % values.size()], std::chars_format::scientific);
    benchmark::DoNotOptimize(result.ptr);
  }
}

BENCHMARK(PathlineMask);
BENCHMARK(ExactConversion);
BENCHMARK(ShortestConversion);

}  // namespace
}  // namespace kestra

BENCHMARK_MAIN();
