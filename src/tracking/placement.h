// Particles placed in groups over the cells of a dragged rectangle: on the
// cell faces, on a lattice inside the cells and on circles around them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "settings/settings.h"
#include "tracking/particle_set.h"

namespace kestra {

// Particles on one face: an A x B subdivision, A along the first direction
// of the face's caption ("Face 1 (NI x NK)=": A = NI), B along the second.
struct FaceCount {
  std::int16_t first = 0;
  std::int16_t second = 0;
};

// The counts of the placement dialog; a count of 0 places nothing.
struct PlacementCounts {
  std::array<FaceCount, 6> faces{};  // faces 1..6: towards column J-1, J+1, row I-1, I+1, top, bottom
  std::int16_t latticeColumns = 0;   // NJ: particles along the row inside each cell
  std::int16_t latticeRows = 0;      // NI
  std::int16_t latticePlanes = 0;
  std::int16_t circleCount = 0;   // particles on each circle
  std::int16_t circleRadius = 0;  // model length units
  std::int16_t circlePlanes = 0;
};

// The local point at (`first`, `second`), each 0..1, on face `face` (0..5,
// in the order of PlacementCounts::faces), just inside the cell: faces 1, 2
// take y by the first and z by the second, faces 3, 4 x and z, faces 5, 6
// y and x.
LocalPoint FaceTemplatePoint(int face, float first, float second);

// The counts the placement dialog first offers: four particles inside each
// selected cell, two by two at mid-height, so that OK alone places a group.
PlacementCounts SuggestedPlacementCounts();

// Plan coordinates of the dragged rectangle, in any corner order.
struct PlanRectangle {
  float Xa = 0;
  float Ya = 0;
  float Xb = 0;
  float Yb = 0;
};

// The active cells of `layer` whose centres lie in the rectangle, rows
// outer, columns inner. Empty when none: no dialog is shown then.
std::vector<CellIndex> SelectedCells(const ModelState& state, PlanRectangle rectangle, int layer);

// Elevation of local height `z` in a cell: from the bottom to the top of
// the cell, or to the water table of an unconfined (LAYCON 1) or
// convertible (3) layer where the cell has a result head.
float ElevationOfLocalHeight(const ModelState& state, const Settings& settings, CellIndex cell, float z);

// The particles of a placement in the order they are added: faces and
// lattice cell by cell, then the circles cell by cell. Circle points
// outside the grid are left out; those in another cell of `layer` go there,
// whatever its boundary code.
std::vector<ParticleRecord> PlacementParticles(const ModelState& state, const Settings& settings,
                                               const ParticleSet& set, const std::vector<CellIndex>& cells,
                                               const PlacementCounts& counts, int layer);

// Adds the whole placement to `set`, or nothing (with the limit message)
// when it would exceed the particle limit. Returns the number added.
int PlaceParticleGroups(const ModelState& state, const Settings& settings, ParticleSet& set,
                        const std::vector<CellIndex>& cells, const PlacementCounts& counts, int layer,
                        UserInterface& ui);

}  // namespace kestra
