// Opening a model as `kestra-cli` and the window do, timed by the stages the
// open reports on its meter, with the memory the open model occupies.
#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "core/user_interface.h"
#include "session/open_model.h"

namespace kestra::bench {

// Says nothing, but keeps the time from one meter step to the next: the
// open advances the meter at the end of each of its stages.
class StageClock : public UserInterface {
 public:
  void Beep() override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string&) override { lastMessage = text; }
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  void SetMeter(int percent) override {
    const auto now = std::chrono::steady_clock::now();
    if (percent > 0) secondsToMeter[percent] += std::chrono::duration<double>(now - last_).count();
    last_ = now;
  }
  std::string lastMessage;
  std::map<int, double> secondsToMeter;  // by the meter's percent at the stage's end

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// The stages of an open, by the meter's percent when each ends: reading the
// packages; the model state built from them, its checks and settings, the
// sink cells and heads; the face flows; the drawdowns; the exaggeration;
// the contour levels.
inline constexpr std::pair<int, const char*> kOpenStages[] = {{50, "packages_ms"},     {58, "state_heads_ms"},
                                                              {66, "flows_ms"},        {75, "drawdowns_ms"},
                                                              {91, "exaggeration_ms"}, {100, "contours_ms"}};

// Bytes of memory the process occupies now: the grid's arrays take pages
// only as they are touched, so what the heap has handed out says less.
inline double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  double sizePages = 0, residentPages = 0;
  statm >> sizePages >> residentPages;
  return residentPages * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Opens the model of `path` (of `cells` cells) once per iteration and
// reports the time per cell, per stage and the bytes per cell it occupies.
inline void OpenModelByStages(benchmark::State& state, const std::string& path, std::int64_t cells) {
  // Every large block from fresh pages of the system and given back when
  // freed, as in a process that opens one model: otherwise the heap learns
  // from the first open to keep such blocks, and the later opens reuse
  // memory that is already mapped and hide it from the resident size.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  StageClock clock;
  double heldBytes = 0;
  for (auto _ : state) {
    const double before = ResidentBytes();
    Session session;
    NoViews views;
    if (!OpenOrImportModel(path, session, clock, views)) state.SkipWithError(clock.lastMessage.c_str());
    benchmark::DoNotOptimize(session.model.QLOWER.values.data());
    heldBytes = ResidentBytes() - before;
  }
  state.counters["bytes_per_cell"] = heldBytes / static_cast<double>(cells);
  // Seconds per cell: "150n" is 150 ns.
  state.counters["per_cell"] = benchmark::Counter(
      static_cast<double>(cells), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  for (const auto& [percent, name] : kOpenStages)
    state.counters[name] = clock.secondsToMeter[percent] * 1000 / static_cast<double>(state.iterations());
}

}  // namespace kestra::bench
