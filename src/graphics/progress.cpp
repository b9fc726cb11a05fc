#include "graphics/progress.h"

#include <algorithm>

namespace kestra {
namespace {

// Fewer meter updates keep long drawings fast; 5 percent steps are enough to see.
constexpr int kMeterStep = 5;

}  // namespace

bool UpdateProgress(int& last, int percent, UserInterface& ui, Picture& plan) {
  if (percent < last + kMeterStep) return false;
  last = std::min(percent, 100);
  ui.SetMeter(last);
  const bool escape = ui.EscapePressed();
  plan.Refresh();
  return escape;
}

}  // namespace kestra
