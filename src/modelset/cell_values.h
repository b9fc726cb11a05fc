// How values read from a model's arrays become cell values, the same for a
// model file set and an imported model.
#pragma once

#include <cstdint>

#include "core/number_format.h"

namespace kestra {

// Elevations and widths are taken as read.
inline float AsRead(float value) { return value; }

// A porosity of 0 is stored as 1.0E-20, which keeps velocities finite.
inline float StoredPorosity(float value) { return value == 0 ? 1.0E-20f : value; }

// The nearest boundary code, ties to even; 0 for a value beyond 16 bits.
inline std::int16_t BoundaryCode(float value) { return RoundToInt16(value).value_or(0); }

}  // namespace kestra
