// Reading a particle file in a batch command: strictly, every wrong value
// named with its file, line and field.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/particle_set.h"

namespace kestra::cli {

struct BatchParticles {
  // The file was read and holds nothing wrong but cells beyond the grid.
  bool usable = false;
  // Places in the file (1 for the first) of the particles left out because
  // their cell lies beyond the grid.
  std::vector<int> outsideGrid;
};

// Appends the particles of `path` to `particles`. Every wrong value is named
// on `err` as "kestra-cli COMMAND: FILE, line L, FIELD: REASON"; when the file
// cannot be read or holds another wrong value than a cell beyond the grid, the
// reason is said and the result is not usable.
BatchParticles ReadBatchParticleFile(const std::string& path, const ModelState& model, ParticleSet& particles,
                                     const std::string& command, std::ostream& err);

}  // namespace kestra::cli
