// Particle-tracking time settings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/stress_periods.h"

namespace kestra {

// Time units: 0 undefined (no conversion), 1 seconds, 2 minutes, 3 hours,
// 4 days, 5 years of 365.25 days.
inline constexpr int kTimeUnitCount = 6;
inline constexpr std::array<const char*, kTimeUnitCount> kTimeUnitNames = {"undefined", "seconds", "minutes",
                                                                           "hours",     "days",    "years"};

// "day" for 4, as a rate ("m/day") or one of them ("1 day") says it; empty
// for the undefined unit and codes outside 0..5.
inline std::string SingularTimeUnitName(int unit) {
  if (unit <= 0 || unit >= kTimeUnitCount) return "";
  const std::string plural = kTimeUnitNames[unit];
  return plural.substr(0, plural.size() - 1);
}

// Which boundary cells (wells, drains, rivers, streams, general-head cells)
// end the tracking: those whose budget term takes water out of the aquifer
// in the loaded time step (or puts it in, for backward tracking), or every
// one of them whatever its flow.
enum class BoundaryCellRule : std::int16_t { SinksByFlowSign = 0, AllAreSinks = 1 };

// The porosity and saturated thickness that turn a face's flow into its
// velocity: those of the cell being crossed (so that the time to cross a
// cell follows from its own pore volume and flow, as MODPATH computes it),
// or values interpolated between the two cells that share the face.
enum class FaceVelocityRule : std::int16_t { OwnCell = 0, Interpolated = 1 };

// What a particle does on entering a weak sink (forward) or weak source
// (backward): a cell with an internal sink or source that water also
// leaves through at least one face. A strong one, which water leaves
// through no face, always stops the particle where it entered.
enum class WeakCellRule : std::int16_t { PassThrough = 0, Stop = 1 };

// What a pathline run does with time steps whose heads or flows the
// output control did not save: refuse to start, or keep the flow field
// loaded last over them.
enum class UnsavedStepRule : std::int16_t { Refuse = 0, HoldLastSaved = 1 };

struct TrackingSettings {
  double StepLength = 31557600;  // one tracking step, in the model time unit
  std::int16_t TimeUnit = 1;     // unit in which the dialog shows StepLength
  std::int32_t MaximumSteps = 100;
  double MarkInterval = 1;  // tracking steps between time marks
  std::int16_t MarkOnTopView = 0;
  std::int16_t MarkOnXsections = 0;
  std::int32_t MarkSizeTopView = 10;
  std::int32_t MarkSizeXsections = 3;
  std::int16_t SimulationMode = 1;  // 1 flowlines, 2 pathlines
  std::int16_t StopAtTimeLimit = 0;
  std::int16_t RechargeAssignment = 2;            // 0 top, 1 bottom, 2 both faces, 3 distributed
  std::int16_t EvapotranspirationAssignment = 0;  // 0 top face, 1 distributed
  std::int16_t UseLayerColors = 0;
  BoundaryCellRule BoundaryCells = BoundaryCellRule::SinksByFlowSign;
  FaceVelocityRule FaceVelocities = FaceVelocityRule::OwnCell;
  WeakCellRule WeakSinks = WeakCellRule::Stop;
  WeakCellRule WeakSources = WeakCellRule::PassThrough;
  UnsavedStepRule UnsavedSteps = UnsavedStepRule::Refuse;
  // Pathline runs: the simulation time at which particles are released;
  // none, the start of the time step current when the run begins.
  std::optional<double> ReleaseTime;
  // Particle times (from the release) at which every moving particle's
  // position is reported, the time points of a time series, ascending;
  // those not after the release are passed over. A run's own, not stored.
  std::vector<double> TimePoints;
  bool operator==(const TrackingSettings&) const = default;
};

}  // namespace kestra
