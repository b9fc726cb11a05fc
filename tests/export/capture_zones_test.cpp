// Capture zones against the closed form of a well in uniform regional flow:
// the capture zone's width upstream, the stagnation point downstream, and the
// distance water travels to the well along the axis in a given time; and the
// raster a zone is drawn on: paths marked pixel by pixel, and gaps closed by
// Euclidean dilation and erosion.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "export/capture_zones.h"
#include "export/zone_mask.h"
#include "support/well_in_uniform_flow.h"
#include "tracking/tracking_models.h"

namespace kestra {
namespace {

const test::UniformFlowWell kWell;
constexpr double kCell = 5;  // the well's cell size, as kWell has it
const double kStagnation = kWell.Stagnation();

// The travel time to the well along the upstream axis from `distance`, for
// water that enters the well at `radius`.
double AxisTravelTime(double distance, double radius) {
  return kWell.porosity / kWell.flux *
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
  double y = kWell.FarHalfWidth();
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

// What a capture run on a closed-form model needs besides the model: steps
// long enough to cross any cell in one.
struct ZoneRun {
  explicit ZoneRun(ModelState& state) : run{state, settings, tracking, periods, busy, ui, loader, 2, {}, {}} {
    tracking.StepLength = 1e7;
    tracking.MaximumSteps = 1;
  }
  Settings settings;
  TrackingSettings tracking;
  StressPeriods periods;
  BusyFlags busy;
  test::RecordingInterface ui;
  test::ScriptedLoader loader;
  CaptureRun run;
};

WellScreen CellAt(int column, int row) {
  return {{{static_cast<std::int16_t>(column), static_cast<std::int16_t>(row), 1}}, ""};
}

TEST(CaptureZones, AWellInUniformFlowMatchesTheClosedForm) {
  ModelState state = test::WellInUniformFlow(kWell);
  ZoneRun zoneRun(state);
  const std::vector<double> times = {200, 500};
  const CaptureTracks tracks =
      TrackFromWells(zoneRun.run, {CellAt(kWell.wellColumn, kWell.wellRow)}, {30, kCell, 10, 200000}, times);
  ASSERT_EQ(tracks.wells.size(), 1u);
  std::vector<CaptureZone> zones;
  std::string error;
  ASSERT_TRUE(BuildCaptureZones(state, tracks.wells[0], {times, kCell / 4, kCell, false}, zones, error)) << error;
  ASSERT_EQ(zones.size(), 3u);
  const CaptureZone& whole = zones.back();
  EXPECT_FALSE(whole.time);
  EXPECT_TRUE(whole.Complete());
  EXPECT_GT(whole.particles, 6 * 30 * 30);  // the face templates and the particles added between them

  const double wellX = state.XCENTER[kWell.wellColumn], wellY = state.YCENTER[kWell.wellRow];
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

// Water from a source cell in uniform flow moves downstream at the flux
// over the porosity: the zone of time T is the cell's strip stretched by
// that speed times T, and it never reaches upstream of the cell.
TEST(CaptureZones, ASourceInUniformFlowReachesDownstreamAtTheSeepageSpeed) {
  test::UniformFlowWell flow = kWell;
  flow.rate = 0;
  ModelState state = test::WellInUniformFlow(flow);
  ZoneRun zoneRun(state);
  const int column = 40, row = 81;
  const std::vector<double> times = {100, 300};
  WellRelease release{8, kCell, 10, 200000, true};
  const CaptureTracks tracks = TrackFromWells(zoneRun.run, {CellAt(column, row)}, release, times);
  std::vector<CaptureZone> zones;
  std::string error;
  ASSERT_TRUE(BuildCaptureZones(state, tracks.wells[0], {times, kCell / 4, kCell, true}, zones, error)) << error;
  ASSERT_EQ(zones.size(), 6u);  // all layers, then layer 1: the same model has one
  EXPECT_EQ(tracks.wells[0].paths.size(), 64u);  // the top face only: no pair parts
  const double speed = flow.flux / flow.porosity;
  const double cellLeft = state.XEDGE[column - 1], lastStart = state.XEDGE[column] - kCell / 16;
  const double rowY = state.YCENTER[row];
  for (std::size_t k = 0; k < times.size(); ++k) {
    SCOPED_TRACE(times[k]);
    const Span along = CrossingsOf(zones[k], false, rowY);
    EXPECT_NEAR(along.low, cellLeft, kCell / 4);
    EXPECT_NEAR(along.high, lastStart + speed * times[k], 0.01 * speed * times[k]);
    const Span across = CrossingsOf(zones[k], true, cellLeft + speed * times[k] / 2);
    EXPECT_NEAR(across.high - across.low, kCell, kCell / 4);
    EXPECT_TRUE(zones[k].Complete());
    EXPECT_NEAR(zones[k + 3].area, zones[k].area, 1e-6 * zones[k].area);
    EXPECT_EQ(zones[k + 3].layer, 1);
  }
  // Without a time, the water goes on to the fixed heads at the grid's edge.
  EXPECT_NEAR(CrossingsOf(zones[2], false, rowY).high, state.XEDGE[flow.columns - 1], kCell);
}

// A mask of unit pixels over x 0..20, y 0..20 (y down), with a margin of 5.
ZoneMask Mask() { return EmptyMask({0, 0}, {20, 20}, 5, 1); }

int MarkedInColumn(const ZoneMask& mask, double x) {
  const int column = static_cast<int>(x - mask.left);
  int count = 0;
  for (int row = 0; row < mask.rows; ++row) count += mask.Marked(column, row);
  return count;
}

TEST(ZoneMask, SegmentsMarkEveryPixelTheyCross) {
  ZoneMask mask = Mask();
  MarkSegment(mask, {2.5, 3.5}, {12.5, 3.5});
  EXPECT_DOUBLE_EQ(MarkedArea(mask), 11);
  ZoneMask diagonal = Mask();
  MarkSegment(diagonal, {0.5, 0.5}, {10.5, 10.5});
  EXPECT_GE(MarkedArea(diagonal), 11);
  for (int n = 0; n <= 10; ++n) EXPECT_TRUE(diagonal.Marked(n + 5, n + 5)) << n;
  ZoneMask point = Mask();
  MarkSegment(point, {4.2, 4.2}, {4.2, 4.2});
  EXPECT_DOUBLE_EQ(MarkedArea(point), 1);
  // A rectangle narrower than a pixel still marks the pixel of its centre.
  ZoneMask thin = Mask();
  MarkRectangle(thin, {6.1, 6.1}, {6.3, 6.3});
  EXPECT_TRUE(thin.Marked(11, 11));
  EXPECT_DOUBLE_EQ(MarkedArea(thin), 1);
}

TEST(ZoneMask, ClosingJoinsPathsNoFartherApartThanTheGap) {
  // Within a pixel: distances are taken between pixel centres.
  const struct {
    double apart;  // between two parallel paths
    double gap;
    bool joined;
  } cases[] = {{3, 3, true}, {3, 1, false}, {6, 8, true}, {6, 4, false}, {2, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.apart << " apart, gap " << c.gap);
    ZoneMask mask = Mask();
    MarkSegment(mask, {5.5, 2.5}, {5.5, 17.5});
    MarkSegment(mask, {5.5 + c.apart, 2.5}, {5.5 + c.apart, 17.5});
    CloseGaps(mask, c.gap);
    // Midway along, between the paths.
    const int row = static_cast<int>(10.5 - mask.top);
    const int between = static_cast<int>(5.5 + c.apart / 2 - mask.left);
    EXPECT_EQ(mask.Marked(between, row), c.joined);
  }
}

TEST(ZoneMask, ClosingKeepsASolidAreaAsItIs) {
  ZoneMask mask = Mask();
  MarkRectangle(mask, {4, 4}, {14, 9});
  const ZoneMask before = mask;
  CloseGaps(mask, 3);
  EXPECT_EQ(mask.marks, before.marks);
  EXPECT_EQ(MarkedInColumn(mask, 8.5), 5);
}

}  // namespace
}  // namespace kestra
