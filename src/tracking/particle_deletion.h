// Removing the particles a rectangle dragged in delete mode covers.
#pragma once

#include "core/model_state.h"
#include "tracking/particle_set.h"
#include "tracking/placement.h"

namespace kestra {

// Removes the particles released in `layer` whose release point lies in the
// rectangle (corners in any order); the others keep their order. Returns the
// number removed; `renumbering`, when given, receives the numbers the others
// had before.
int DeleteParticlesInside(ParticleSet& set, const ModelState& state, PlanRectangle rectangle, int layer,
                          ParticleRenumbering* renumbering = nullptr);

}  // namespace kestra
