// A fully penetrating well in uniform regional flow, with exact face flows:
// the closed-form case of capture zones, for the tests and the benchmarks.
// Each layer of a confined block carries Darcy flux `flux` towards higher
// columns, and the well pumps `rate` from each of the layers of its screen.
// The face flows come from the stream function of the superposed flows,
// psi = q Y - Q theta / (2 pi b) about the well: the flow across a face is b
// times the difference of psi at its ends, the angle taken continuously
// along the face, so every cell but the well's balances exactly. Cells on
// the grid's edge are fixed heads.
#pragma once

#include <cmath>
#include <numbers>

#include "core/model_state.h"

namespace kestra::test {

struct UniformFlowWell {
  int columns = 200, rows = 160, layers = 1;
  double cell = 5;        // square cells
  double thickness = 10;  // of each layer
  double porosity = 0.25;
  double flux = 0.1;  // Darcy flux, length per time
  double rate = 500;  // pumped from each layer of the screen, volume per time
  int wellColumn = 121, wellRow = 81;
  int screenTop = 1, screenBottom = 1;

  // The stagnation point's distance downstream of the well, and the
  // capture zone's half-width far upstream.
  double Stagnation() const { return rate / (2 * std::numbers::pi * thickness * flux); }
  double FarHalfWidth() const { return rate / (2 * thickness * flux); }
};

namespace uniform_flow {

struct Point {
  double x, y;  // about the well, y up
};

inline double SweptAngle(Point a, Point b) { return std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y); }

// The flow in +x across the face from `low` to `high` (x equal, y rising).
inline double AcrossX(const UniformFlowWell& w, Point low, Point high, bool pumped) {
  const double sink = pumped ? w.rate / (2 * std::numbers::pi) * SweptAngle(low, high) : 0;
  return w.thickness * w.flux * (high.y - low.y) - sink;
}

// The flow in +y across the face from `left` to `right` (y equal, x rising).
inline double AcrossY(const UniformFlowWell& w, Point left, Point right, bool pumped) {
  return pumped ? w.rate / (2 * std::numbers::pi) * SweptAngle(left, right) : 0;
}

}  // namespace uniform_flow

inline ModelState WellInUniformFlow(const UniformFlowWell& w) {
  using uniform_flow::Point;
  ModelState state;
  DimensionModel(state, w.columns, w.rows, w.layers);
  for (int j = 1; j <= w.columns; ++j) state.DELR[j] = static_cast<float>(w.cell);
  for (int i = 1; i <= w.rows; ++i) state.DELC[i] = static_cast<float>(w.cell);
  ComputeGridGeometry(state);
  const double wellX = state.XCENTER[w.wellColumn], wellY = state.YCENTER[w.wellRow];
  const auto at = [&](double x, double yDown) { return Point{x - wellX, wellY - yDown}; };
  for (int k = 1; k <= w.layers; ++k) {
    const bool pumped = k >= w.screenTop && k <= w.screenBottom;
    for (int i = 1; i <= w.rows; ++i)
      for (int j = 1; j <= w.columns; ++j) {
        const double x1 = state.XEDGE[j - 1], x2 = state.XEDGE[j], y2 = state.YEDGE[i];
        state.QRIGHT(j, i, k) =
            static_cast<float>(uniform_flow::AcrossX(w, at(x2, y2), at(x2, state.YEDGE[i - 1]), pumped));
        // Towards the next row is down, against y up.
        state.QFRONT(j, i, k) = static_cast<float>(-uniform_flow::AcrossY(w, at(x1, y2), at(x2, y2), pumped));
        state.TOP(j, i, k) = static_cast<float>(w.thickness * (w.layers - k + 1));
        state.BOT(j, i, k) = static_cast<float>(w.thickness * (w.layers - k));
        state.POROSITY(j, i, k) = static_cast<float>(w.porosity);
        state.HEAD(j, i, k) = 10;
        const bool edge = i == 1 || j == 1 || i == w.rows || j == w.columns;
        state.IBOUND(j, i, k) = edge ? -1 : 1;
      }
  }
  state.IBOUND0 = state.IBOUND;
  state.ModelPath = "well.mdl";
  state.flowTermsLoaded = true;
  return state;
}

}  // namespace kestra::test
