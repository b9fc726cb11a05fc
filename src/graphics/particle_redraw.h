// The release points of all particles, drawn as dots after every redraw of
// the views has put the particles back to them.
#pragma once

#include "core/run_state.h"
#include "core/user_interface.h"
#include "graphics/plot_primitives.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"
#include "tracking/particle_set.h"
#include "tracking/track_particles.h"

namespace kestra {

// The dot factor of the redraw after every view change: dots two pens wide.
inline constexpr int kReleaseDotFactor = 2;
// The window's dots, at least five pixels across whatever the rounding: large enough to see and aim at.
inline constexpr int kScreenReleaseDotFactor = 6;

struct ParticleRedraw {
  PlotContext& context;
  const Settings& settings;
  const TrackingSettings& tracking;
  const ParticleSet& particles;
  BusyFlags& busy;
  UserInterface& ui;
  RunControl& control;  // the stop button ends the redraw
};

// Draws each release point inside the view box as a square dot of
// PenWidth x dotFactor pixels, on the plan and both sections as they are
// shown, in the particle's colour (its layer's with layer colours); nothing
// goes to the plot file. Does nothing while busy or without a model; the
// stop button ends it after the particle being drawn. Status pane 7 shows
// the particle count.
void RedrawParticles(ParticleRedraw& redraw, int dotFactor);

// One particle's release point as RedrawParticles draws it, inside the
// current ViewWindow only; a particle is set with the right button so.
void DrawReleasePoint(PlotContext& context, const Settings& settings, const TrackingSettings& tracking,
                      const ParticleRecord& particle, int dotFactor);

}  // namespace kestra
