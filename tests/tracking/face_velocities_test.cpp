// The velocities on a cell's faces and the closed forms that move a
// particle through the linear field between them, and the cache of cell records.
#include "tracking/face_velocities.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "session/open_model.h"
#include "session/session.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "tracking/exit_time.h"
#include "tracking/cell_record_cache.h"
#include "tracking/particle_set.h"
#include "tracking_models.h"

namespace kestra {
namespace {

using test::BoxModel;

// Face velocities are 32-bit floats computed from 32-bit flows.
constexpr float kFloatRelative = 1e-6f;

struct Field {
  Field() : state(BoxModel(3, 3, 3, 10, 20, 5, 0.25f)) {}
  FaceVelocities At(int j, int i, int k) const { return GetFaceVelocities(state, settings, tracking, j, i, k); }
  ModelState state;
  Settings settings;
  TrackingSettings tracking;
};

TEST(GetFaceVelocities, UniformFlowGivesFlowOverAreaAndPorosity) {
  Field f;
  f.state.QRIGHT(1, 2, 2) = 30;  // face area DELC * b = 20 * 5
  f.state.QRIGHT(2, 2, 2) = 30;
  f.state.QFRONT(2, 1, 2) = -12;  // face area DELR * b = 10 * 5
  const FaceVelocities v = f.At(2, 2, 2);
  EXPECT_NEAR(v.VX1, 30 / (20 * 5 * 0.25), 1.2 * kFloatRelative);
  EXPECT_FLOAT_EQ(v.VX2, v.VX1);
  EXPECT_NEAR(v.VY1, -12 / (10 * 5 * 0.25), 1e-6);
  EXPECT_EQ(v.VY2, 0);
}

TEST(GetFaceVelocities, EachSideOfAFaceUsesItsOwnCellOrTheInterpolatedMedium) {
  // Column 2 is three times as wide and more porous; layer 1 is
  // unconfined, column 2's water table 2 m lower (thickness 3 against 5).
  // The face lies 15 m from the centre of column 2 and 5 m from that of
  // column 1: column 1 weighs 0.75 in the interpolated values.
  const double interpolatedPorosity = 0.25 * 0.4 + 0.75 * 0.25;
  const double interpolatedThickness = 0.25 * 3 + 0.75 * 5;
  const struct {
    FaceVelocityRule rule;
    double column1Side;  // VX2 of column 1
    double column2Side;  // VX1 of column 2
  } cases[] = {
      {FaceVelocityRule::OwnCell, 10 / 0.25 / 20 / 5, 10 / 0.4 / 20 / 3},
      {FaceVelocityRule::Interpolated, 10 / interpolatedPorosity / 20 / interpolatedThickness,
       10 / interpolatedPorosity / 20 / interpolatedThickness},
  };
  for (const auto& c : cases) {
    Field f;
    f.tracking.FaceVelocities = c.rule;
    f.state.DELR = {0, 10, 30, 10};
    ComputeGridGeometry(f.state);
    f.state.LAYCON[1] = 1;
    f.state.HEAD(1, 1, 1) = f.state.BOT(1, 1, 1) + 5;
    f.state.HEAD(2, 1, 1) = f.state.BOT(2, 1, 1) + 3;
    f.state.POROSITY(2, 1, 1) = 0.4f;
    f.state.QRIGHT(1, 1, 1) = 10;
    EXPECT_NEAR(f.At(1, 1, 1).VX2, c.column1Side, c.column1Side * kFloatRelative) << static_cast<int>(c.rule);
    EXPECT_NEAR(f.At(2, 1, 1).VX1, c.column2Side, c.column2Side * kFloatRelative) << static_cast<int>(c.rule);
  }
}

TEST(GetFaceVelocities, VerticalFacesUseTheCellsOwnPorosityUnlessInterpolated) {
  for (const FaceVelocityRule rule : {FaceVelocityRule::OwnCell, FaceVelocityRule::Interpolated}) {
    Field f;
    f.tracking.FaceVelocities = rule;
    f.state.POROSITY(2, 2, 1) = 0.1f;  // above the cell, equal thicknesses
    f.state.QLOWER(2, 2, 1) = 8;
    const double porosity = rule == FaceVelocityRule::OwnCell ? 0.25 : (0.25 + 0.1) / 2;
    EXPECT_NEAR(f.At(2, 2, 2).VZ2, -8 / (200 * porosity), 1e-6) << static_cast<int>(rule);
  }
}

TEST(GetFaceVelocities, ClosedFacesCarryNoLateralFlow) {
  Field f;
  for (int j = 1; j <= 3; ++j) f.state.QRIGHT(j, 2, 2) = 5;
  f.state.IBOUND(1, 2, 2) = 0;           // inactive
  f.state.HEAD(3, 2, 2) = f.settings.HDRY;  // dry
  EXPECT_EQ(f.At(2, 2, 2).VX1, 0);
  EXPECT_EQ(f.At(2, 2, 2).VX2, 0);
  EXPECT_EQ(f.At(3, 2, 2).VX2, 0);  // grid edge
  f.state.HEAD(3, 2, 2) = 0;
  f.state.IBOUND(3, 2, 2) = -1;  // a fixed-head neighbour takes flow
  EXPECT_GT(f.At(2, 2, 2).VX2, 0);
  EXPECT_EQ(f.At(1, 2, 2).VX2, 0) << "an inactive cell has no velocities";
  EXPECT_GT(f.At(3, 2, 2).VX1, 0) << "a fixed-head cell carries its own flows";
  f.tracking.FaceVelocities = FaceVelocityRule::Interpolated;
  EXPECT_EQ(f.At(3, 2, 2).VX1, 0) << "between cells a fixed-head cell bounds the tracked region";
}

TEST(GetFaceVelocities, RechargeUsesTopOrBottomBySignAndEvapotranspirationTheTopUnlessDistributed) {
  const double face = 0.5 / (200 * 0.25);  // the top layer has no upper neighbour
  const struct {
    float recharge, evapotranspiration;
    std::int16_t rechargeAssignment, evapotranspirationAssignment;
    double vz1, vz2;
  } cases[] = {
      {0.5f, 0, 2, 0, 0, -face},  {-0.5f, 0, 2, 0, -face, 0}, {-0.5f, 0, 3, 0, 0, 0},  // 3: distributed, no face
      {0, -1, 2, 0, 0, 2 * face}, {0, -1, 2, 1, 0, 0},
  };
  for (const auto& c : cases) {
    Field f;
    f.state.QRECH(2, 2, 1) = c.recharge;
    f.state.QET(2, 2, 1) = c.evapotranspiration;
    f.tracking.RechargeAssignment = c.rechargeAssignment;
    f.tracking.EvapotranspirationAssignment = c.evapotranspirationAssignment;
    SCOPED_TRACE(testing::Message() << c.recharge << " " << c.evapotranspiration << " " << c.rechargeAssignment);
    EXPECT_NEAR(f.At(2, 2, 1).VZ1, c.vz1, 1e-9);
    EXPECT_NEAR(f.At(2, 2, 1).VZ2, c.vz2, 1e-9);
  }
}

// Water entering the aquifer through a face (a boundary flow with IFACE)
// moves away from that face, into the cell; no other face sees it.
TEST(GetFaceVelocities, FlowOnAFaceEntersThroughThatFace) {
  const double lateralX = 10 / (20 * 5 * 0.25), lateralY = 10 / (10 * 5 * 0.25), vertical = 10 / (200 * 0.25);
  const struct {
    int face;
    float FaceVelocities::*component;
    double velocity;  // positive along growing column, row and elevation
  } cases[] = {
      {1, &FaceVelocities::VX1, lateralX},  {2, &FaceVelocities::VX2, -lateralX},
      {3, &FaceVelocities::VY2, -lateralY}, {4, &FaceVelocities::VY1, lateralY},
      {5, &FaceVelocities::VZ1, vertical},  {6, &FaceVelocities::VZ2, -vertical},
  };
  for (const auto& c : cases) {
    for (AssignedFaceFlows ModelState::*table : {&ModelState::BoundaryFaceFlows, &ModelState::ArealFaceFlows}) {
      Field f;
      (f.state.*table).Add(f.state.Shape(), 2, 2, 2, c.face, 10);
      const FaceVelocities v = f.At(2, 2, 2);
      for (const auto& other : cases)
        EXPECT_NEAR(v.*other.component, other.face == c.face ? c.velocity : 0, std::abs(c.velocity) * kFloatRelative)
            << "face " << c.face << ", velocity of face " << other.face;
    }
  }
}

TEST(SaturatedThickness, FollowsTheLayerType) {
  // Layer 1: bottom 10, top 15; unknown codes and heads above the top take the top.
  const struct {
    int laycon;
    float head;
    double thickness;
  } cases[] = {{0, 12, 5}, {1, 12, 2}, {3, 12, 2}, {3, 17, 5}, {7, 17, 5}};
  for (const auto& c : cases) {
    Field f;
    f.state.LAYCON[1] = c.laycon;
    f.state.HEAD(1, 1, 1) = c.head;
    EXPECT_EQ(SaturatedThickness(f.state, 1, 1, 1), c.thickness) << "LAYCON " << c.laycon << ", head " << c.head;
  }
}

TEST(ComputeCellVelocities, CentreVelocityIsTheMeanOfTheFacesAndMaxSpeedTheLargest) {
  Field f;
  f.state.QRIGHT(1, 2, 2) = 10;
  f.state.QRIGHT(2, 2, 2) = 30;
  f.state.IBOUND(3, 3, 3) = 0;
  f.state.VX(3, 3, 3) = 42;
  const float maxSpeed = ComputeCellVelocities(f.state, f.settings, f.tracking);
  // Column 2 has faces of 0.4 and 1.2, column 3 of 1.2 and a closed edge.
  EXPECT_FLOAT_EQ(f.state.VX(2, 2, 2), 0.8f);
  EXPECT_FLOAT_EQ(maxSpeed, 0.8f);
  EXPECT_FLOAT_EQ(f.state.VX(3, 2, 2), 0.6f);
  EXPECT_EQ(f.state.VX(3, 3, 3), 42) << "inactive cells keep their values";
}

// Velocity at p in a linear field from vlow at 0 to vhigh at 10.
AxisExit Exit(double vlow, double vhigh, double p) {
  const double gradient = (vhigh - vlow) / 10;
  return ExitTime(vlow, vhigh, gradient, 0, 10, vlow + gradient * p, p);
}

TEST(ExitTime, UniformFlowTakesDistanceOverVelocityLinearFlowTheLogarithmAndOnlyFlowAwayLeaves) {
  const struct {
    double vlow, vhigh, p, dt;
  } cases[] = {
      // From 1 at the low face to 3 at the high one; at p = 5 the velocity is 2.
      {2, 2, 4, 3}, {-2, -2, 4, 2}, {1, 3, 5, std::log(3.0 / 2) / 0.2}, {-3, -1, 5, std::log(-3.0 / -2) / 0.2},
      // Diverging flow leaves on the side the particle moves to; at the divide it stays.
      {-1, 1, 7, std::log(1 / 0.4) / 0.2}, {-1, 1, 2, std::log(-1 / -0.6) / 0.2}, {-1, 1, 5, kNoExit},
      {0, 2, 5, std::log(2.0 / 1) / 0.2},
      // Converging or still flow keeps the particle.
      {0, 2, 0, kNoExit}, {1, -1, 3, kNoExit}, {1, 0, 3, kNoExit}, {0, -1, 3, kNoExit}, {0, 0, 3, kNoExit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.vlow << " to " << c.vhigh << " at " << c.p);
    if (c.dt == kNoExit) {
      EXPECT_EQ(Exit(c.vlow, c.vhigh, c.p).dt, kNoExit);
    } else {
      EXPECT_NEAR(Exit(c.vlow, c.vhigh, c.p).dt, c.dt, 1e-14);
    }
  }
  EXPECT_EQ(Exit(2, 2, 4).kind, ExitKind::Uniform);
  EXPECT_EQ(Exit(0, 0, 3).kind, ExitKind::NoFlow);
  // A difference of 1e-12 between the faces: the logarithm of a ratio
  // next to 1 would lose half the digits.
  EXPECT_NEAR(Exit(1, 1 + 1e-12, 0).dt, 10, 1e-9);
}

TEST(PositionAfter, MovesExponentiallyInALinearField) {
  const double v1 = 1, gradient = 0.2, p = 5, vp = v1 + gradient * p;
  EXPECT_NEAR(PositionAfter(p, vp, gradient, 1.5), (vp * std::exp(gradient * 1.5) - v1) / gradient, 1e-12);
  EXPECT_DOUBLE_EQ(PositionAfter(p, 2, 0, 1.5), 8);
  // Moving for the exit time ends on the face.
  EXPECT_NEAR(PositionAfter(p, vp, gradient, Exit(1, 3, 5).dt), 10, 1e-12);
}

// The record of a cell equals, bit for bit, what the model gives directly.
bool SameRecord(const CellRecord& record, const ModelState& m, const Settings& s, const TrackingSettings& t,
                CellIndex c) {
  const int j = c.column, i = c.row, k = c.layer;
  const FaceVelocities faces = GetFaceVelocities(m, s, t, j, i, k);
  return std::memcmp(&record.faces, &faces, sizeof faces) == 0 &&
         std::bit_cast<std::uint64_t>(record.saturatedThickness) ==
             std::bit_cast<std::uint64_t>(SaturatedThickness(m, j, i, k)) &&
         std::bit_cast<std::uint64_t>(record.thickness) == std::bit_cast<std::uint64_t>(MovingThickness(m, s, j, i, k)) &&
         record.top == m.TOP(j, i, k) && record.bottom == m.BOT(j, i, k) && record.ibound == m.IBOUND(j, i, k) &&
         record.sinkCode == m.SINKCODE(j, i, k) && record.flowCell == IsFlowCell(m, s, j, i, k);
}

TEST(CellRecordCache, ThreadsFillingOneCacheAllSeeTheComputedRecordsBitForBitOnFirstAndLaterVisits) {
  // The example: unconfined and convertible layers, inactive cells, wells,
  // a river, recharge and evapotranspiration.
  Session s;
  test::RecordingInterface ui;
  NoViews views;
  ASSERT_TRUE(ImportNameFile((test::ExamplesDir() / "mixed3d" / "mixed3d.nam").string(), s, ui, views));
  std::vector<CellIndex> cells;  // every cell of the grid, from the last to the first
  for (std::int16_t k = s.model.NLAY; k >= 1; --k)
    for (std::int16_t i = s.model.NROW; i >= 1; --i)
      for (std::int16_t j = s.model.NCOL; j >= 1; --j) cells.push_back({j, i, k});
  for (const int recharge : {0, 1, 2, 3}) {
    s.tracking.RechargeAssignment = recharge;
    s.tracking.EvapotranspirationAssignment = recharge % 2;
    CellRecordCache cache(s.model, s.settings, s.tracking);
    std::vector<int> mismatches(4, 0), nonZero(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < mismatches.size(); ++t)
      threads.emplace_back([&, t] {
        // Each thread starts elsewhere, so that first visits race; every
        // thread then visits cells that others have filled.
        CellRecord scratch;
        for (std::size_t n = 0; n < cells.size(); ++n) {
          const CellIndex c = cells[(n + t * cells.size() / 8) % cells.size()];
          const CellRecord& record = cache.At(c.column, c.row, c.layer, scratch);
          mismatches[t] += !SameRecord(record, s.model, s.settings, s.tracking, c);
          nonZero[t] += record.faces.VX1 != 0 || record.faces.VZ2 != 0;
        }
      });
    for (std::thread& thread : threads) thread.join();
    for (std::size_t t = 0; t < mismatches.size(); ++t) {
      EXPECT_EQ(mismatches[t], 0) << "recharge " << recharge << ", thread " << t;
      EXPECT_GT(nonZero[t], 0) << "recharge " << recharge << ", thread " << t;
    }
  }
}

}  // namespace
}  // namespace kestra
