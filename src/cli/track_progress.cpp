#include "cli/track_progress.h"

#include <cmath>

#include "core/number_format.h"

namespace kestra::cli {
namespace {

constexpr std::chrono::seconds kQuietStart(1);
constexpr std::chrono::milliseconds kInterval(250);

}  // namespace

void TrackProgress::Start(const std::string& direction, int particleCount, const BatchCounts& counts) {
  direction_ = direction;
  particleCount_ = particleCount;
  start_ = counts;
  started_ = shown_ = std::chrono::steady_clock::now();
}

void TrackProgress::Update(const BatchCounts& counts) {
  if (quiet_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - started_ < kQuietStart || now - shown_ < kInterval) return;
  Show(counts, now);
}

void TrackProgress::Show(const BatchCounts& counts, std::chrono::steady_clock::time_point now) {
  shown_ = now;
  const double seconds = std::chrono::duration<double>(now - started_).count();
  const auto done = counts.particlesDone - start_.particlesDone;
  const auto moves = counts.moves - start_.moves;
  err_ << "\r" << direction_ << ":" << NumberText(static_cast<std::int64_t>(done)) << " of"
       << NumberText(particleCount_) << " particles," << NumberText(static_cast<std::int64_t>(std::llround(static_cast<double>(done) / seconds)))
       << " particles/s," << NumberText(static_cast<std::int64_t>(std::llround(static_cast<double>(moves) / seconds))) << " cell moves/s   " << std::flush;
  lineShown_ = true;
}

void TrackProgress::Finish() {
  if (lineShown_) err_ << "\n";
  lineShown_ = false;
}

}  // namespace kestra::cli
