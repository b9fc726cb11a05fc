#include "tracking/placement_entries.h"

namespace kestra {
namespace {

constexpr int kMaximumCirclePlanes = 100;

}  // namespace

PlacementCheck CheckPlacementEntries(double retardation, int circleCount, double radius, int circlePlanes) {
  if (!(retardation > 0)) return {PlacementField::Retardation, "The retardation factor is negative or zero"};
  if (circleCount > 0) {
    if (radius < 0) return {PlacementField::Radius, "Please enter a correct value for the radius."};
    if (circlePlanes < 0 || circlePlanes > kMaximumCirclePlanes)
      return {PlacementField::CirclePlanes, "Valid range is 0  to 100."};
  }
  return {};
}

}  // namespace kestra
