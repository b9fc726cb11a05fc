// The particles and tracking options of batch commands that track before
// they write: which particle file, which directions, and the tracking
// settings that override the model's.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/time_step_option.h"
#include "settings/tracking_settings.h"

namespace kestra::cli {

inline constexpr const char* kTrackingUsage =
    "  --particles FILE          particle file (\"KESTRA_V100_PARTICLES\") to track\n"
    "  --forward                 run forward (the default when neither direction is given)\n"
    "  --backward                run backward (after the forward run when both are given)\n"
    "  --pathlines               pathline mode: walk through the time steps of the simulation\n"
    "  --step-length T           length of one tracking step, in the time unit below\n"
    "  --time-unit U             seconds, minutes, hours, days, years or a code 0..5\n"
    "  --max-steps N             tracking steps of a run\n"
    "  --weak-sinks pass|stop    forward particles entering a weak sink cell (an internal\n"
    "                            sink, and water leaving through a face too) pass through or\n"
    "                            stop there (default: the settings' rule, stop when not set);\n"
    "                            a strong sink, which water leaves through no face, always\n"
    "                            stops a particle where it enters\n"
    "  --weak-sources pass|stop  the same for backward particles and internal sources\n"
    "                            (default: the settings' rule, pass when not set)\n"
    "  --stop-at-sinks on|off    on: --weak-sinks stop --weak-sources stop; off: pass both\n"
    "  --face-rule own|interpolated  face velocities from each cell's own porosity and\n"
    "                            saturated thickness (the default, as MODPATH computes them)\n"
    "                            or from values interpolated between the two cells of a face\n"
    "  --stop-at-time-limit on|off  stop at the end (start, backward) of the simulation\n"
    "  --sinks all|by-flow       boundary cells (wells, drains, rivers, streams, general-head\n"
    "                            cells): all stop particles of both directions, whatever\n"
    "                            their flow, except wells, which stop them only where they\n"
    "                            pump (an injection well is then neither sink nor source);\n"
    "                            or sinks by flow sign - a cell is a sink of\n"
    "                            forward particles where its budget term takes water out of\n"
    "                            the aquifer, a source of backward particles where it puts\n"
    "                            water in\n"
    "                            (default: the settings' rule, by flow sign when not set)\n"
    "  --release-time T|end      pathline mode: release the particles at simulation time T\n"
    "                            (model time units) or at the end of the simulation\n"
    "                            (default: the start of the time step they start in)\n"
    "  --unsaved-steps refuse|hold  pathline mode, time steps whose heads or flows were not\n"
    "                            saved: refuse the run, naming them (exit status 1), or hold\n"
    "                            the flow field loaded last over them, said in the end-point\n"
    "                            file (default: the settings' rule, refuse when not set)\n"
    "  --recharge-faces 0..3     recharge on 0 top, 1 bottom, 2 both faces, 3 distributed\n"
    "  --et-faces 0..1           evapotranspiration on 0 the top face, 1 distributed\n"
    "  --period P --step S       the time step the particles start in (default 1, 1)\n"
    "  --time-marks on|off       marks every mark interval of steps on the plan and sections\n";

struct TrackingOptions {
  std::string particles;
  bool forward = false;
  bool backward = false;
  bool pathlines = false;
  std::optional<double> stepLength;
  std::optional<int> timeUnit, maxSteps, rechargeFaces, etFaces;
  std::optional<bool> stopAtTimeLimit, timeMarks;
  std::optional<BoundaryCellRule> sinks;
  std::optional<WeakCellRule> weakSinks, weakSources;
  std::optional<FaceVelocityRule> faceRule;
  std::optional<UnsavedStepRule> unsavedSteps;
  std::optional<double> releaseTime;  // negative: the end of the simulation
  TimeStepChoice time;
};

// Takes the options above out of `args` into `options`. False, with a
// message on `err` after "kestra-cli `command`: ", when one lacks its value or has a bad one, or the
// directions are given without particles. With particles and no direction,
// the run goes forward.
bool TakeTrackingOptions(Arguments& args, TrackingOptions& options, const std::string& command, std::ostream& err);

// The options' tracking settings over the model's; step lengths are kept in
// the model's time unit.
void ApplyTrackingOptions(const TrackingOptions& options, const StressPeriods& periods, TrackingSettings& tracking);

// The options over the open model of `session`: its tracking settings, the
// sink cells again when --sinks chose a rule, and the chosen time step made
// current with its results. 0 when done; else, with the reason on `err`
// after "kestra-cli `command`: ", the exit status: 2 for a release time
// beyond the end of the simulation, 1 for a time step the model lacks.
int ApplyTrackingOptionsToModel(const TrackingOptions& options, Session& session, UserInterface& ui,
                                 const std::string& command, std::ostream& err);

}  // namespace kestra::cli
