// The values of SINKCODE: which boundary cells end the tracking of a
// particle, and in which direction.
#pragma once

#include <cstdint>

namespace kestra {

// A boundary cell taken as a sink whatever its flow: every well that pumps
// and every drain, river, stream and general-head cell of a package whose
// flows the budget file does not give, or of all packages when the user
// asks for that rule. It stops particles in either direction.
inline constexpr std::int16_t kBoundarySink = -1;
// Water leaves the aquifer here in the loaded time step: forward particles
// end here.
inline constexpr std::int16_t kOutflowCell = -2;
// Water enters the aquifer here: backward particles, which trace the water
// to where it came from, end here.
inline constexpr std::int16_t kInflowCell = 1;

// The code of a cell that two packages mark: water that leaves through one
// and enters through the other stops particles either way.
inline std::int16_t CombinedSinkCode(std::int16_t a, std::int16_t b) {
  if (a == 0 || a == b) return b;
  if (b == 0) return a;
  return kBoundarySink;
}

// True when a particle tracked in `direction` (+1 with the flow, -1
// against it) ends its tracking on entering a cell of this code.
inline bool StopsParticle(std::int16_t code, int direction) {
  if (code == kBoundarySink) return true;
  return direction > 0 ? code == kOutflowCell : code == kInflowCell;
}

// True for a cell where water leaves the aquifer through a boundary package
// (or may, where its flow is not known).
inline bool IsSinkCode(std::int16_t code) { return code < 0; }

}  // namespace kestra
