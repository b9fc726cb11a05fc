// FloPy writes the model's place on the earth into the comment lines at the
// head of the name files it writes, as "key:value" items separated by ";"
// (or ", "): xll, yll (or xul, yul), rotation, crs, epsg or proj4_str,
// units and lenuni.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/world_position.h"

namespace kestra {

struct FlopyPlace {
  // Set when the header gives a corner; the other items stay at their defaults.
  std::optional<WorldPosition> position;
  LengthUnit lengthUnit = LengthUnit::Undefined;
};

// The place the comment lines state; `gridLength` (the total of the row
// widths) turns an upper-left corner into the lower-left one. Items that are
// missing, "None" or not numbers are ignored.
FlopyPlace ReadFlopyPlace(const std::vector<std::string>& comments, double gridLength);

}  // namespace kestra
