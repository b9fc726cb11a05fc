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

// A value of a particle file that a strict reading refuses.
struct ParticleFault {
  int place = 0;        // of the particle in the file, 1 for the first; 0 for the count
  int line = 0;         // of the file, 1 for its first line
  std::string field;    // "local x", "local y", "local z", "column", "row", "layer", "elevation",
                        // "colour", "retardation" or "count"
  std::string reason;   // "'abc' is not a number", "1.5 lies outside 0..1", ...
  bool outsideGrid = false;  // a cell number beyond the grid: the particle is left out, the rest tracked
};

// Appends the particles of the file to `set`, as released particles with
// their own colour and retardation. Particles that do not fit the grid of
// `state` (cell outside it, local point outside 0..1) or have no positive
// finite retardation are skipped and counted in one message; an incomplete
// last line adds nothing; at the particle limit reading stops with the limit
// message, keeping what was added. False, with the set unchanged, when the
// file cannot be read or is not a particle file.
// With `faults` the reading is strict (the batch tool's): a value that is
// not a number is refused instead of read as its leading number, a count that
// differs from the particles held is noted, and every wrong value goes to
// `faults` instead of the skipped message; its particle is not added.
bool ReadParticleFile(const std::string& path, const ModelState& state, ParticleSet& set, UserInterface& ui,
                      ParticleLimit limit = ParticleLimit::Window, std::vector<ParticleFault>* faults = nullptr);

}  // namespace kestra
