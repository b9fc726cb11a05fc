#include "tracking/cell_inspection.h"

#include "core/number_format.h"
#include "tracking/face_velocities.h"
#include "tracking/pointer_readout.h"

namespace kestra {
namespace {

constexpr const char* kNotLoaded = "not loaded";

// Plain decimals where they fit, E-notation for very large or small values.
std::string Plain(double value) { return GeneralNumberText(static_cast<float>(value)); }

std::string WithUnit(double value, const std::string& unit) {
  return unit.empty() ? Plain(value) : Plain(value) + " " + unit;
}

std::string CellState(std::int16_t code) {
  if (code < 0) return "fixed head";
  return code == 0 ? "inactive" : "active";
}

}  // namespace

std::vector<InspectedValue> InspectCell(const ModelState& state, const Settings& settings,
                                        const TrackingSettings& tracking, int timeUnit, CellIndex cell,
                                        const InspectedResults& loaded, const std::vector<std::string>& packages,
                                        const std::vector<CellTerm>& terms) {
  const int j = cell.column, i = cell.row, k = cell.layer;
  const std::string length = LengthUnitSymbol(state.lengthUnit);
  const std::string perTime = SingularTimeUnitName(timeUnit);
  const std::string speed = length.empty() || perTime.empty() ? "" : length + "/" + perTime;
  const std::int16_t code = state.IBOUND(j, i, k);
  const WorldEastNorth centre = WorldOfPlanPoint(state.origin, state.XCENTER[j], state.YCENTER[i]);

  std::vector<InspectedValue> lines = {
      {"Cell", "layer " + std::to_string(k) + ", row " + std::to_string(i) + ", column " + std::to_string(j)},
      {"State", CellState(code)},
      {"Centre x, y", Plain(centre.x) + ", " + WithUnit(centre.y, length)},
      {"Top", WithUnit(state.TOP(j, i, k), length)},
      {"Bottom", WithUnit(state.BOT(j, i, k), length)},
      {"Porosity", Plain(state.POROSITY(j, i, k))},
  };
  const bool wet = code != 0 && loaded.heads;
  lines.push_back({"Head", !loaded.heads ? kNotLoaded : code == 0 ? "---" : WithUnit(state.HEAD(j, i, k), length)});
  lines.push_back({"Drawdown", !loaded.drawdowns ? kNotLoaded
                               : code == 0       ? "---"
                                                 : WithUnit(state.DRAWDOWN(j, i, k), length)});
  lines.push_back({"Saturated thickness", wet ? WithUnit(SaturatedThickness(state, j, i, k), length) : "---"});
  if (loaded.flows && code > 0) {
    const FaceVelocities v = GetFaceVelocities(state, settings, tracking, j, i, k);
    lines.push_back({"Velocity to higher columns", WithUnit((v.VX1 + v.VX2) / 2, speed)});
    lines.push_back({"Velocity to higher rows", WithUnit((v.VY1 + v.VY2) / 2, speed)});
    lines.push_back({"Velocity upward", WithUnit((v.VZ1 + v.VZ2) / 2, speed)});
  } else {
    lines.push_back({"Velocity", loaded.flows ? "---" : kNotLoaded});
  }
  std::string boundary;
  for (const std::string& name : packages) boundary += (boundary.empty() ? "" : ", ") + name;
  lines.push_back({"Boundary packages", boundary.empty() ? "none" : boundary});
  const std::string flowUnit = length.empty() || perTime.empty() ? "" : length + "\u00b3/" + perTime;
  std::string budget;
  for (const CellTerm& term : terms) budget += (budget.empty() ? "" : "; ") + term.label + " " + WithUnit(term.flow, flowUnit);
  lines.push_back({"Budget terms", !loaded.flows ? kNotLoaded : budget.empty() ? "none" : budget});
  return lines;
}

}  // namespace kestra
