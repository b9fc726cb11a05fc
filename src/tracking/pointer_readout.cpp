#include "tracking/pointer_readout.h"

#include <cmath>

#include "core/number_format.h"
#include "tracking/face_velocities.h"
#include "tracking/placement.h"

namespace kestra {
namespace {

// The first index 1..count whose interval edges[index - 1]..edges[index] holds v.
int IntervalOf(const std::vector<float>& edges, int count, float v) {
  for (int index = 1; index <= count; ++index)
    if (edges[index - 1] <= v && v <= edges[index]) return index;
  return 0;
}

std::string Joined(const std::string& a, const std::string& b, const std::string& c) { return a + ", " + b + ", " + c; }

}  // namespace

WorldEastNorth WorldOfPlanPoint(const ModelOrigin& o, float x, float y) {
  return {x * o.cosAngle + y * o.sinAngle + o.X0, x * o.sinAngle - y * o.cosAngle + o.Y0};
}

CellIndex PointerCell(const ModelState& state, float x, float y, int layer) {
  const int column = IntervalOf(state.XEDGE, state.NCOL, x);
  const int row = IntervalOf(state.YEDGE, state.NROW, y);
  if (column == 0 || row == 0) return {};
  return {static_cast<std::int16_t>(column), static_cast<std::int16_t>(row), static_cast<std::int16_t>(layer)};
}

std::array<std::string, 5> PointerReadout(const ModelState& state, const Settings& settings,
                                          const TrackingSettings& tracking, float x, float y, int layer,
                                          float verticalPosition) {
  std::array<std::string, 5> panes;
  panes.fill(kNoValueText);
  const CellIndex cell = PointerCell(state, x, y, layer);
  const bool inGrid = cell.column > 0;
  const float z = inGrid ? ElevationOfLocalHeight(state, settings, cell, verticalPosition) : 0.0f;
  const WorldEastNorth world = WorldOfPlanPoint(state.origin, x, y);
  panes[0] = Joined(GeneralNumberText(world.x), GeneralNumberText(world.y), GeneralNumberText(z));
  if (!inGrid) return panes;
  panes[1] = Joined(IntegerMaskText(cell.column), IntegerMaskText(cell.row), IntegerMaskText(layer));
  const int code = state.IBOUND(cell.column, cell.row, layer);
  if (code != 0) panes[2] = GeneralNumberText(state.HEAD(cell.column, cell.row, layer));
  if (code < 1) return panes;
  const FaceVelocities v = GetFaceVelocities(state, settings, tracking, cell.column, cell.row, layer);
  const double vx = (v.VX1 + v.VX2) / 2, vy = (v.VY1 + v.VY2) / 2;
  // The face velocities already count upward as positive, the sign the pane shows.
  const double vz = (v.VZ1 + v.VZ2) / 2;
  panes[3] = GeneralNumberText(static_cast<float>(std::sqrt(vx * vx + vy * vy)));
  panes[4] = GeneralNumberText(static_cast<float>(vz));
  return panes;
}

}  // namespace kestra
