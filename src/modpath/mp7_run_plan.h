// How a MODPATH 7 simulation runs on the tracking engine: its particles
// grouped by release time (the engine releases every particle of a run at
// one time), MODPATH's tracking rules and stop time as tracking settings,
// and the options the engine has no counterpart for.
#pragma once

#include <string>
#include <vector>

#include "core/model_family.h"
#include "core/model_state.h"
#include "modpath/mp7_simulation.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/mp7_files.h"
#include "tracking/particle_set.h"

namespace kestra {

// The particles released at one tracking time (from the reference time),
// each with the index of its starting location and its label in the files.
struct Mp7Release {
  double trackingTime = 0;
  std::vector<std::size_t> locations;      // into Mp7Simulation::particles
  std::vector<Mp7ParticleLabel> labels;    // the same order
};

// One release per distinct tracking time (group release time plus the
// particle's time offset), earliest first. Sequence numbers count the
// particles group by group, release by release, in the order of the input.
std::vector<Mp7Release> Mp7Releases(const Mp7Simulation& simulation);

// The simulation time of the reference time: given, or a fraction of a
// time step (period and step clamped to the table).
double Mp7ReferenceTime(const Mp7Simulation& simulation, const StressPeriods& periods);

// The tracking time at which tracking stops: the end (start, backward) of
// the simulation for stop time option 1, the given time for option 3, and
// none (kMp7NoStopTime) for option 2, which tracks on in a steady last period.
inline constexpr double kMp7NoStopTime = 1e30;
double Mp7StopTime(const Mp7Simulation& simulation, const StressPeriods& periods, double referenceTime);

// The settings of the run of the release at `trackingTime`: pathline mode
// released at the simulation time it stands for, each cell's own face
// velocities, the weak sink and source options (1 pass through, 2 stop),
// sinks by flow sign, and one tracking step as long as the time left to the
// stop time, the simulation's end limiting it for stop time option 1; the
// simulation's time points as times from the release.
void ApplyMp7Options(const Mp7Simulation& simulation, const StressPeriods& periods, double referenceTime,
                     double trackingTime, TrackingSettings& tracking);

// Recharge and evapotranspiration through the face the model's default
// IFACE entries give them: recharge through the top (IFACE 6), the bottom
// (5) or inside the cell (any other), evapotranspiration through the top
// or inside the cell.
void ApplyMp7DefaultFaces(const ModelFamily& family, TrackingSettings& tracking);

// The particles of `release` as the engine holds them: local y turned to
// the engine's sense, draped particles moved down to the first cell of
// their column with water at or below their layer, elevations from the
// cells, the given retardation.
ParticleSet Mp7ReleaseParticles(const Mp7Simulation& simulation, const Mp7Release& release, const ModelState& state,
                                const Settings& settings, float retardation);

// The retardation factor of every cell when the simulation gives one
// constant for all layers (1 without retardation); none when it varies.
std::optional<float> Mp7UniformRetardation(const Mp7Simulation& simulation);

// What the simulation asks for that the run does not do, one phrase each.
std::vector<std::string> Mp7UnusedOptions(const Mp7Simulation& simulation);

// The group names and, for the particles of `release` numbered from 1, their labels.
Mp7Labels Mp7ReleaseLabels(const Mp7Simulation& simulation, const Mp7Release& release);

}  // namespace kestra
