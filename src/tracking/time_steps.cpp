#include "tracking/time_steps.h"

#include <array>
#include <cmath>

#include "tracking/particle_mover.h"

namespace kestra {
namespace {

// Length of each time unit in seconds; a year is 365.25 days.
constexpr std::array<double, kTimeUnitCount> kUnitSeconds = {0, 1, 60, 3600, 86400, 31557600};

bool IsKnownUnit(int unit) { return unit >= 1 && unit < kTimeUnitCount; }

}  // namespace

TimeWindow StepTimeWindow(const StressPeriods& periods, int step, int period) {
  TimeWindow window;
  for (int p = 1; p < period; ++p) window.T0 += periods.PERLEN[p];
  const double length = periods.PERLEN[period];
  const int steps = periods.NSTP[period];
  const double multiplier = periods.TSMULT[period];
  // Steps grow geometrically by TSMULT and add up to the period length.
  double stepLength = multiplier == 1 ? length / steps
                                      : length * (1 - multiplier) / (1 - std::pow(multiplier, steps));
  for (int s = 1; s < step; ++s) {
    window.T0 += stepLength;
    stepLength *= multiplier;
  }
  window.T1 = window.T0 + stepLength;
  return window;
}

double SimulationEnd(const StressPeriods& periods) {
  return StepTimeWindow(periods, periods.NSTP[periods.NPER], periods.NPER).T1;
}

bool WithinSimulation(const StressPeriods& periods, double time) {
  return time >= 0 && TimeReached(SimulationEnd(periods), time);
}

bool AdvanceTimeStep(const StressPeriods& periods, int direction, int& step, int& period) {
  if (direction > 0) {
    if (step < periods.NSTP[period]) {
      ++step;
    } else if (period < periods.NPER) {
      ++period;
      step = 1;
    } else {
      return true;
    }
  } else if (direction < 0) {
    if (step > 1) {
      --step;
    } else if (period > 1) {
      --period;
      step = periods.NSTP[period];
    } else {
      return true;
    }
  }
  return false;
}

bool IsLastTimeStep(const StressPeriods& periods, int direction, int step, int period) {
  if (direction > 0) return period == periods.NPER && step == periods.NSTP[period];
  return period == 1 && step == 1;
}

double TimeUnitFactor(int from, int to) {
  if (!IsKnownUnit(from) || !IsKnownUnit(to)) return 1;
  return kUnitSeconds[from] / kUnitSeconds[to];
}

}  // namespace kestra
