// Capture zones against the closed form of a well in uniform regional flow:
// the capture zone's width upstream, the stagnation point downstream, and
// the distance water travels to the well along the axis in a given time.
#include "export/capture_zones.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tracking/tracking_models.h"

namespace kestra {
namespace {

// A fully penetrating well pumping kRate from a confined aquifer of
// thickness kThickness with regional Darcy flux kFlux towards higher
// columns. The face flows come from the stream function of the superposed
// flows, psi = q Y - Q theta / (2 pi b) about the well: the flow across a face
// is b times the difference of psi at its ends, the angle taken continuously
// along the face, so every cell but the well's balances exactly.
constexpr double kCell = 5, kThickness = 10, kPorosity = 0.25, kFlux = 0.1, kRate = 500;
constexpr int kColumns = 200, kRows = 160, kWellColumn = 121, kWellRow = 81;

// The stagnation point's distance downstream, and the half-width of the
// capture zone far upstream.
constexpr double kStagnation = kRate / (2 * std::numbers::pi * kThickness * kFlux);
constexpr double kFarHalfWidth = kRate / (2 * kThickness * kFlux);

struct Point {
  double x, y;  // about the well, y up
};

double SweptAngle(Point a, Point b) { return std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y); }

// The flow in +x across the face from `low` to `high` (x equal, y rising),
// and in +y across one from `left` to `right`.
double FlowAcrossX(Point low, Point high) {
  return kThickness * kFlux * (high.y - low.y) - kRate / (2 * std::numbers::pi) * SweptAngle(low, high);
}
double FlowAcrossY(Point left, Point right) { return kRate / (2 * std::numbers::pi) * SweptAngle(left, right); }

ModelState WellInUniformFlow() {
  ModelState state = test::BoxModel(kColumns, kRows, 1, kCell, kCell, kThickness, kPorosity);
  const double wellX = state.XCENTER[kWellColumn], wellY = state.YCENTER[kWellRow];
  const auto at = [&](double x, double yDown) { return Point{x - wellX, wellY - yDown}; };
  for (int i = 1; i <= kRows; ++i)
    for (int j = 1; j <= kColumns; ++j) {
      const double x1 = state.XEDGE[j - 1], x2 = state.XEDGE[j], y1 = state.YEDGE[i - 1], y2 = state.YEDGE[i];
      state.QRIGHT(j, i, 1) = static_cast<float>(FlowAcrossX(at(x2, y2), at(x2, y1)));
      // Towards the next row is down, against y up.
      state.QFRONT(j, i, 1) = static_cast<float>(-FlowAcrossY(at(x1, y2), at(x2, y2)));
      state.HEAD(j, i, 1) = 10;
      const bool edge = i == 1 || j == 1 || i == kRows || j == kColumns;
      state.IBOUND(j, i, 1) = edge ? -1 : 1;
    }
  state.IBOUND0 = state.IBOUND;
  return state;
}

// The travel time to the well along the upstream axis from `distance`, for
// water that enters the well at `radius`.
double AxisTravelTime(double distance, double radius) {
  return kPorosity / kFlux *
         ((distance - radius) - kStagnation * std::log((distance + kStagnation) / (radius + kStagnation)));
}

double AxisDistanceAfter(double time, double radius) {
  double low = radius, high = 1e5;
  for (int n = 0; n < 200; ++n) ((AxisTravelTime((low + high) / 2, radius) < time) ? low : high) = (low + high) / 2;
  return (low + high) / 2;
}

// The half-width of the capture zone at `upstream` from the well: where the
// dividing streamline psi = 0 crosses, y = a (pi - atan(y / upstream)).
double HalfWidthAt(double upstream) {
  double y = kFarHalfWidth;
  for (int n = 0; n < 200; ++n) y = kStagnation * (std::numbers::pi - std::atan(y / upstream));
  return y;
}

// Where the zone's rings cross the line x = `x` (or y = `y`): the lowest
// and highest crossing along it.
struct Span {
  double low = INFINITY, high = -INFINITY;
};
Span CrossingsOf(const CaptureZone& zone, bool vertical, double at) {
  Span span;
  for (const ZonePolygon& polygon : zone.polygons)
    for (const ZoneRing& ring : polygon)
      for (std::size_t n = 1; n < ring.size(); ++n) {
        const PlanXY a = ring[n - 1], b = ring[n];
        const double ua = vertical ? a.x : a.y, ub = vertical ? b.x : b.y;
        if ((ua - at) * (ub - at) > 0 || ua == ub) continue;
        const double f = (at - ua) / (ub - ua);
        const double v = vertical ? a.y + f * (b.y - a.y) : a.x + f * (b.x - a.x);
        span.low = std::min(span.low, v);
        span.high = std::max(span.high, v);
      }
  return span;
}

TEST(CaptureZones, AWellInUniformFlowMatchesTheClosedForm) {
  ModelState state = WellInUniformFlow();
  Settings settings;
  TrackingSettings tracking;
  tracking.StepLength = 1e7;
  tracking.MaximumSteps = 1;
  StressPeriods periods;
  BusyFlags busy;
  test::RecordingInterface ui;
  test::ScriptedLoader loader;
  CaptureRun run{state, settings, tracking, periods, busy, ui, loader, 2, {}, {}};
  const std::vector<double> times = {200, 500};
  const WellScreen well{{{kWellColumn, kWellRow, 1}}};
  const CaptureTracks tracks = TrackFromWells(run, {well}, {30, kCell, 10, 200000}, times);
  ASSERT_EQ(tracks.wells.size(), 1u);
  std::vector<CaptureZone> zones;
  std::string error;
  ASSERT_TRUE(BuildCaptureZones(state, tracks.wells[0], {times, kCell / 4, kCell}, zones, error)) << error;
  ASSERT_EQ(zones.size(), 3u);
  const CaptureZone& whole = zones.back();
  EXPECT_FALSE(whole.time);
  EXPECT_TRUE(whole.Complete());
  EXPECT_GT(whole.particles, 6 * 30 * 30);  // the face templates and the particles added between them

  const double wellX = state.XCENTER[kWellColumn], wellY = state.YCENTER[kWellRow];
  for (const double upstream : {200.0, 400.0}) {
    SCOPED_TRACE(upstream);
    const Span across = CrossingsOf(whole, true, wellX - upstream);
    const double expected = HalfWidthAt(upstream);
    EXPECT_NEAR((across.high - across.low) / 2, expected, std::max(0.02 * expected, kCell));
    EXPECT_NEAR((across.high + across.low) / 2, wellY, kCell);
  }
  // The nose is traced by the particles added between the two released
  // nearest the axis on the downstream face, whose paths part there.
  const double nose = CrossingsOf(whole, false, wellY).high - wellX;
  EXPECT_NEAR(nose, kStagnation, std::max(0.02 * kStagnation, kCell));

  for (std::size_t k = 0; k < times.size(); ++k) {
    SCOPED_TRACE(times[k]);
    ASSERT_EQ(zones[k].time, times[k]);
    const double expected = AxisDistanceAfter(times[k], kCell / 2);
    EXPECT_NEAR(wellX - CrossingsOf(zones[k], false, wellY).low, expected, 0.01 * expected);
    EXPECT_LT(zones[k].area, zones[k + 1].area);
  }
}

}  // namespace
}  // namespace kestra
