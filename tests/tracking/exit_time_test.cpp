#include "tracking/exit_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestra {
namespace {

// Velocity at p in a linear field from vlow at 0 to vhigh at 10.
AxisExit Exit(double vlow, double vhigh, double p) {
  const double gradient = (vhigh - vlow) / 10;
  return ExitTime(vlow, vhigh, gradient, 0, 10, vlow + gradient * p, p);
}

TEST(ExitTime, UniformFlowTakesDistanceOverVelocity) {
  EXPECT_DOUBLE_EQ(Exit(2, 2, 4).dt, 3);
  EXPECT_EQ(Exit(2, 2, 4).kind, ExitKind::Uniform);
  EXPECT_DOUBLE_EQ(Exit(-2, -2, 4).dt, 2);
}

TEST(ExitTime, LinearFlowTakesTheLogarithm) {
  // From 1 at the low face to 3 at the high one; at p = 5 the velocity is 2.
  EXPECT_NEAR(Exit(1, 3, 5).dt, std::log(3.0 / 2) / 0.2, 1e-14);
  EXPECT_NEAR(Exit(-3, -1, 5).dt, std::log(-3.0 / -2) / 0.2, 1e-14);
}

TEST(ExitTime, DivergingFlowLeavesOnTheSideTheParticleMovesTo) {
  EXPECT_NEAR(Exit(-1, 1, 7).dt, std::log(1 / 0.4) / 0.2, 1e-14);
  EXPECT_NEAR(Exit(-1, 1, 2).dt, std::log(-1 / -0.6) / 0.2, 1e-14);
  EXPECT_EQ(Exit(-1, 1, 5).dt, kNoExit);  // at the divide
  EXPECT_NEAR(Exit(0, 2, 5).dt, std::log(2.0 / 1) / 0.2, 1e-14);
  EXPECT_EQ(Exit(0, 2, 0).dt, kNoExit);
}

TEST(ExitTime, ConvergingOrStillFlowKeepsTheParticle) {
  EXPECT_EQ(Exit(1, -1, 3).dt, kNoExit);
  EXPECT_EQ(Exit(1, 0, 3).dt, kNoExit);
  EXPECT_EQ(Exit(0, -1, 3).dt, kNoExit);
  EXPECT_EQ(Exit(0, 0, 3).dt, kNoExit);
  EXPECT_EQ(Exit(0, 0, 3).kind, ExitKind::NoFlow);
}

TEST(ExitTime, NearlyUniformFlowKeepsItsPrecision) {
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

}  // namespace
}  // namespace kestra
