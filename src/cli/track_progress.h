// The progress line of a long batch run on the error stream: particles done
// and the rate, shown once a run has taken a second, at most a few times a
// second.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "tracking/batch_output.h"

namespace kestra::cli {

class TrackProgress {
 public:
  TrackProgress(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}

  // A run in `direction` of `particleCount` particles begins.
  void Start(const std::string& direction, int particleCount, const BatchCounts& counts);
  void Update(const BatchCounts& counts);
  // Ends the line when one was shown.
  void Finish();

 private:
  void Show(const BatchCounts& counts, std::chrono::steady_clock::time_point now);

  std::ostream& err_;
  const bool quiet_;
  std::string direction_;
  int particleCount_ = 0;
  BatchCounts start_;
  std::chrono::steady_clock::time_point started_, shown_;
  bool lineShown_ = false;
};

}  // namespace kestra::cli
