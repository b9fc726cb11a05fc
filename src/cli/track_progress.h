// The progress of a long batch run on the error stream: particles done and
// the rate, shown once a run has taken a second. On a terminal one line is
// rewritten a few times a second; into a log file a plain line goes every few
// seconds.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "tracking/batch_output.h"

namespace kestra::cli {

enum class ProgressStyle { Terminal, Log };

// Terminal when `err` is the standard error stream and that is a terminal.
ProgressStyle ProgressStyleOf(const std::ostream& err);

class TrackProgress {
 public:
  using Clock = std::chrono::steady_clock;

  TrackProgress(std::ostream& err, bool quiet) : TrackProgress(err, quiet, ProgressStyleOf(err)) {}
  TrackProgress(std::ostream& err, bool quiet, ProgressStyle style) : err_(err), quiet_(quiet), style_(style) {}

  // A run in `direction` of `particleCount` particles begins.
  void Start(const std::string& direction, int particleCount, const BatchCounts& counts,
             Clock::time_point now = Clock::now());
  void Update(const BatchCounts& counts, Clock::time_point now = Clock::now());
  // Ends the line when one was shown.
  void Finish();

 private:
  void Show(const BatchCounts& counts, Clock::time_point now);

  std::ostream& err_;
  const bool quiet_;
  const ProgressStyle style_;
  std::string direction_;
  int particleCount_ = 0;
  BatchCounts start_;
  Clock::time_point started_, shown_;
  bool lineShown_ = false;
};

}  // namespace kestra::cli
