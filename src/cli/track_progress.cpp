#include "cli/track_progress.h"

#include <unistd.h>

#include <cmath>
#include <iostream>

#include "core/number_format.h"

namespace kestra::cli {
namespace {

constexpr std::chrono::seconds kQuietStart(1);
constexpr std::chrono::milliseconds kTerminalInterval(250);
constexpr std::chrono::seconds kLogInterval(5);

}  // namespace

ProgressStyle ProgressStyleOf(const std::ostream& err) {
  return &err == &std::cerr && isatty(STDERR_FILENO) ? ProgressStyle::Terminal : ProgressStyle::Log;
}

void TrackProgress::Start(const std::string& direction, int particleCount, const BatchCounts& counts,
                          Clock::time_point now) {
  direction_ = direction;
  particleCount_ = particleCount;
  start_ = counts;
  started_ = shown_ = now;
}

void TrackProgress::Update(const BatchCounts& counts, Clock::time_point now) {
  if (quiet_) return;
  const auto interval = style_ == ProgressStyle::Terminal ? Clock::duration(kTerminalInterval) : kLogInterval;
  const bool firstLine = shown_ == started_;
  if (now - started_ < kQuietStart || (!firstLine && now - shown_ < interval)) return;
  Show(counts, now);
}

void TrackProgress::Show(const BatchCounts& counts, Clock::time_point now) {
  shown_ = now;
  const double seconds = std::chrono::duration<double>(now - started_).count();
  const auto done = counts.particlesDone - start_.particlesDone;
  const auto moves = counts.moves - start_.moves;
  const auto perSecond = [seconds](std::int64_t count) {
    return NumberText(static_cast<std::int64_t>(std::llround(static_cast<double>(count) / seconds)));
  };
  if (style_ == ProgressStyle::Terminal) err_ << "\r";
  err_ << direction_ << ":" << NumberText(static_cast<std::int64_t>(done)) << " of" << NumberText(particleCount_)
       << " particles," << perSecond(done) << " particles/s," << perSecond(moves) << " cell moves/s";
  if (style_ == ProgressStyle::Terminal) err_ << "   " << std::flush;
  else err_ << "\n";
  lineShown_ = style_ == ProgressStyle::Terminal;
}

void TrackProgress::Finish() {
  if (lineShown_) err_ << "\n";
  lineShown_ = false;
}

}  // namespace kestra::cli
