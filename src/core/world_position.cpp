#include "core/world_position.h"

#include <cmath>
#include <numbers>

#include "core/model_state.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

}  // namespace

std::string LengthUnitSymbol(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Feet: return "ft";
    case LengthUnit::Meters: return "m";
    case LengthUnit::Centimeters: return "cm";
    case LengthUnit::Undefined: break;
  }
  return "";
}

LengthUnit LengthUnitFromCode(int lenuni) {
  switch (lenuni) {
    case 1: return LengthUnit::Feet;
    case 2: return LengthUnit::Meters;
    case 3: return LengthUnit::Centimeters;
    default: return LengthUnit::Undefined;
  }
}

LengthUnit LengthUnitNamed(const std::string& name) {
  const std::string upper = UpperCase(name);
  if (upper == "FEET" || upper == "FOOT" || upper == "FT") return LengthUnit::Feet;
  if (upper == "METERS" || upper == "METER" || upper == "METRES" || upper == "METRE" || upper == "M")
    return LengthUnit::Meters;
  if (upper == "CENTIMETERS" || upper == "CENTIMETER" || upper == "CM") return LengthUnit::Centimeters;
  return LengthUnit::Undefined;
}

double GridLengthOf(const ModelState& state) {
  // The row edges the plan points are measured along, so the last one lands on
  // the origin exactly.
  return state.NROW > 0 && static_cast<int>(state.YEDGE.size()) > state.NROW ? state.YEDGE[state.NROW] : 0.0;
}

WorldPosition PositionOf(const ModelState& state) {
  if (state.position) return *state.position;
  WorldPosition position;
  if (!state.origin.isSet) return position;
  // The plot origin is the upper-left corner; ours is the lower-left one.
  const ModelOrigin& o = state.origin;
  const double length = GridLengthOf(state);
  position.xOrigin = o.X0 + length * std::sin(static_cast<double>(o.angle));
  position.yOrigin = o.Y0 - length * std::cos(static_cast<double>(o.angle));
  position.rotation = o.angle * kDegreesPerRadian;
  return position;
}

void SetWorldPosition(ModelState& state, const WorldPosition& position) {
  state.position = position;
  const double angle = position.rotation / kDegreesPerRadian;
  const double length = GridLengthOf(state);
  state.origin.X0 = static_cast<float>(position.xOrigin - length * std::sin(angle));
  state.origin.Y0 = static_cast<float>(position.yOrigin + length * std::cos(angle));
  SetOriginAngle(state.origin, static_cast<float>(angle));
  state.origin.isSet = true;
}

WorldXY PlanToWorldXY(const WorldPosition& position, double gridLength, double x, double y) {
  const double angle = position.rotation / kDegreesPerRadian;
  const double c = std::cos(angle), s = std::sin(angle);
  const double up = gridLength - y;
  return {position.xOrigin + x * c - up * s, position.yOrigin + x * s + up * c};
}

}  // namespace kestra
