// The starting locations of one MODPATH 7 particle group, in any of the
// four input styles: particles one by one (style 1), templates of points on
// the faces or inside cells over regions of cells (style 2) or lists of
// cell numbers (style 3), or over the cells a mask array marks (style 4).
#pragma once

#include <vector>

#include "core/cell_array.h"
#include "modpath/mp7_input.h"
#include "tracking/particle_set.h"

namespace kestra {

struct Mp7Particle {
  int id = 0;
  int group = 0;  // index of its group in the simulation, from 0
  CellIndex cell;
  // As MODPATH gives it: local y is 0 at the face toward row i+1.
  LocalPoint local;
  double timeOffset = 0;  // added to the group's release times
  bool drape = false;     // released in a dry or inactive cell: moved down to the first cell with water
};

// Reads the locations at the reading position of `input` (the starting
// locations file, or the simulation file after "INTERNAL") over a grid of
// `shape`, appending them to `particles` with group `group`. Particles
// without ids in the file are numbered from 1. False, with the file and
// line in input.Problem(), on a bad or missing value, a cell outside the
// grid or a local coordinate outside 0..1.
bool ReadMp7StartingLocations(Mp7Input& input, const GridShape& shape, int group, std::vector<Mp7Particle>& particles);

}  // namespace kestra
