// The checks of the placement dialog's entries before particles are placed.
#pragma once

#include <string>

namespace kestra {

// The field a refused entry sends the user back to.
enum class PlacementField { None, Retardation, Radius, CirclePlanes };

struct PlacementCheck {
  PlacementField field = PlacementField::None;
  std::string message;  // empty when the entries are accepted
};

// The retardation factor must be positive; with particles on circles the
// radius must not be negative and the circle planes must lie in 0..100.
PlacementCheck CheckPlacementEntries(double retardation, int circleCount, double radius, int circlePlanes);

}  // namespace kestra
