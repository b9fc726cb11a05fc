#include "graphics/colour_flood.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "tracking/face_velocities.h"

namespace kestra {
float FloodCellValue(const ModelState& m, const Settings& s, FloodQuantity quantity, int j, int i, int k) {
  constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
  if (!IsFlowCell(m, s, j, i, k)) return kNone;
  switch (quantity) {
    case FloodQuantity::Head: return m.HEAD(j, i, k);
    case FloodQuantity::Drawdown: return !m.DRAWDOWN.shape.Contains(j, i, k) ? kNone : m.DRAWDOWN(j, i, k);
    case FloodQuantity::Velocity: {
      if (m.IBOUND(j, i, k) < 0 || !m.VX.shape.Contains(j, i, k)) return kNone;
      const double vx = m.VX(j, i, k), vy = m.VY(j, i, k), vz = m.VZ(j, i, k);
      return static_cast<float>(std::sqrt(vx * vx + vy * vy + vz * vz));
    }
  }
  return kNone;
}

ColourFlood FloodOfLayer(const ModelState& m, const Settings& s, FloodQuantity quantity, int layer) {
  ColourFlood flood;
  flood.quantity = quantity;
  flood.layer = layer;
  if (layer < 1 || layer > m.NLAY || !m.HEAD.shape.Contains(1, 1, layer)) return flood;
  flood.values.reserve(static_cast<std::size_t>(m.NCOL) * m.NROW);
  bool layerHasValue = false;
  for (int i = 1; i <= m.NROW; ++i)
    for (int j = 1; j <= m.NCOL; ++j) {
      flood.values.push_back(FloodCellValue(m, s, quantity, j, i, layer));
      layerHasValue = layerHasValue || std::isfinite(flood.values.back());
    }
  if (!layerHasValue) {
    flood.values.clear();
    return flood;
  }
  flood.low = std::numeric_limits<double>::infinity();
  flood.high = -std::numeric_limits<double>::infinity();
  for (int k = 1; k <= m.NLAY && m.HEAD.shape.Contains(1, 1, k); ++k)
    for (int i = 1; i <= m.NROW; ++i)
      for (int j = 1; j <= m.NCOL; ++j) {
        const float value = FloodCellValue(m, s, quantity, j, i, k);
        if (!std::isfinite(value)) continue;
        flood.low = std::min<double>(flood.low, value);
        flood.high = std::max<double>(flood.high, value);
      }
  return flood;
}

Colour FloodColour(double fraction) {
  // Nine stops of the viridis ramp, linearly between them.
  static constexpr std::array<std::array<int, 3>, 9> kStops = {{{68, 1, 84},
                                                                {71, 45, 123},
                                                                {59, 82, 139},
                                                                {44, 114, 142},
                                                                {33, 145, 140},
                                                                {40, 174, 128},
                                                                {94, 201, 98},
                                                                {173, 220, 48},
                                                                {253, 231, 37}}};
  const double place = std::clamp(std::isfinite(fraction) ? fraction : 0.0, 0.0, 1.0) * (kStops.size() - 1);
  const std::size_t below = std::min(static_cast<std::size_t>(place), kStops.size() - 2);
  const double t = place - static_cast<double>(below);
  const auto mix = [&](int channel) {
    return static_cast<int>(std::lround(kStops[below][channel] * (1 - t) + kStops[below + 1][channel] * t));
  };
  return RgbColour(mix(0), mix(1), mix(2));
}

int FloodClass(const ColourFlood& flood, float value) {
  if (!std::isfinite(value) || flood.Empty()) return -1;
  const double span = flood.high - flood.low;
  if (!(span > 0)) return 0;
  const int k = static_cast<int>(std::floor((value - flood.low) / span * kFloodClasses));
  return std::clamp(k, 0, kFloodClasses - 1);
}

Colour FloodClassColour(int n) { return FloodColour((n + 0.5) / kFloodClasses); }

std::string FloodTitle(FloodQuantity quantity, const std::string& lengthUnit, const std::string& timeUnit) {
  const auto inUnit = [](const std::string& name, const std::string& unit) {
    return unit.empty() ? name : name + " (" + unit + ")";
  };
  switch (quantity) {
    case FloodQuantity::Head: return inUnit("Head", lengthUnit);
    case FloodQuantity::Drawdown: return inUnit("Drawdown", lengthUnit);
    case FloodQuantity::Velocity:
      return inUnit("Speed", lengthUnit.empty() || timeUnit.empty() ? "" : lengthUnit + "/" + timeUnit);
  }
  return "";
}

}  // namespace kestra
