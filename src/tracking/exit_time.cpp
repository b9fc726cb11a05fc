#include "tracking/exit_time.h"

#include <cmath>

namespace kestra {
namespace {

// Below this difference of the face velocities the field counts as uniform.
constexpr double kUniformDifference = 1e-20;

// Time to reach the face at `face` with velocity `vp` at the particle:
// ln(vface / vp) / gradient, written with log1p of the exact difference
// vface - vp = gradient (face - p) so that nearly uniform fields keep their
// precision.
double TimeToFace(double face, double gradient, double vp, double p) {
  return std::log1p(gradient * (face - p) / vp) / gradient;
}

}  // namespace

AxisExit ExitTime(double vlow, double vhigh, double gradient, double xlow, double xhigh, double vp, double p) {
  AxisExit exit;
  const bool uniform = std::fabs(vlow - vhigh) < kUniformDifference;
  if (vlow > 0 && vhigh > 0) {
    if (uniform) {
      exit.dt = std::fabs(xhigh - p) / vp;
      exit.kind = ExitKind::Uniform;
    } else {
      exit.dt = TimeToFace(xhigh, gradient, vp, p);
    }
  } else if (vlow < 0 && vhigh < 0) {
    if (uniform) {
      exit.dt = std::fabs(xlow - p) / std::fabs(vp);
      exit.kind = ExitKind::Uniform;
    } else {
      exit.dt = TimeToFace(xlow, gradient, vp, p);
    }
  } else if (vlow == 0 && vhigh == 0) {
    exit.kind = ExitKind::NoFlow;
  } else if (vlow <= 0 && vhigh >= 0) {
    // Flow diverges from inside the cell (or from one closed face): the
    // particle leaves on the side its own velocity points to.
    if (vp > 0 && vhigh > 0) exit.dt = TimeToFace(xhigh, gradient, vp, p);
    if (vp < 0 && vlow < 0) exit.dt = TimeToFace(xlow, gradient, vp, p);
  }
  // Converging flow (vlow >= 0 >= vhigh, not both zero) keeps the particle.
  return exit;
}

double PositionAfter(double p, double vp, double gradient, double dt) {
  if (gradient == 0) return p + vp * dt;
  return p + vp * std::expm1(gradient * dt) / gradient;
}

}  // namespace kestra
