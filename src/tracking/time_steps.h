// Time steps of the simulation as the tracking engine walks through them.
#pragma once

#include "settings/tracking_settings.h"

namespace kestra {

// Start and end of one time step in simulation time (model time units).
struct TimeWindow {
  double T0 = 0;
  double T1 = 0;
};

// The window of time step `step` of stress period `period`, both 1-based and
// within the table (the caller's to check).
TimeWindow StepTimeWindow(const StressPeriods& periods, int step, int period);

// The end of the last time step: the simulated time.
double SimulationEnd(const StressPeriods& periods);

// True for a simulation time from 0 to the end of the simulation, the end
// taken with the rounding that sums of step lengths carry.
bool WithinSimulation(const StressPeriods& periods, double time);

// Moves (step, period) one time step forward (direction +1) or backward (-1)
// across period boundaries. True (done) when there is no such step; the pair
// is then unchanged. Direction 0 changes nothing and is not done.
bool AdvanceTimeStep(const StressPeriods& periods, int direction, int& step, int& period);

// True for the last step of the last period (forward) or the first step of
// the first period (backward).
bool IsLastTimeStep(const StressPeriods& periods, int direction, int step, int period);

// Factor that converts a time from unit `from` to unit `to` (codes 0..5 of
// TrackingSettings): 1 when either is undefined (0) or out of range.
double TimeUnitFactor(int from, int to);

}  // namespace kestra
