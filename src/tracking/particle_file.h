// The particle file: a text file headed "KESTRA_V100_PARTICLES" that saves
// the release points, colours and retardations of a particle set.
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "tracking/particle_set.h"

namespace kestra {

// Writes every particle of `set`, replacing the file whole (core/atomic_file.h);
// false (after telling the user the file and the system's reason) when it
// could not be written.
bool WriteParticleFile(const std::string& path, const ParticleSet& set, UserInterface& ui);

// How many particles a read may leave in the set: the window keeps the
// particle limit; the batch tool has none (and reads the count as a 32-bit
// number).
enum class ParticleLimit { Window, None };

// Appends the particles of the file to `set`, as released particles with
// their own colour and retardation. Particles that do not fit the grid of
// `state` (cell outside it, local point outside 0..1) or have no positive
// finite retardation are skipped and counted in one message, and their
// places in the file (1 for the first particle) go to `skipped` when given;
// an incomplete last line adds nothing; at the particle limit reading stops
// with the limit message, keeping what was added. False, with the set
// unchanged, when the file cannot be read or is not a particle file.
bool ReadParticleFile(const std::string& path, const ModelState& state, ParticleSet& set, UserInterface& ui,
                      ParticleLimit limit = ParticleLimit::Window, std::vector<int>* skipped = nullptr);

}  // namespace kestra
