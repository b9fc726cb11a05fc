// The semi-analytical step of the tracking scheme along one axis of a cell:
// the velocity varies linearly between the two opposite faces, so the time
// to reach a face and the position after a given time have closed forms.
// Every cell move takes three of each: they are defined here so that the
// move inlines them.
#pragma once

#include <cmath>

namespace kestra {

// Time for a particle that cannot leave along an axis.
inline constexpr double kNoExit = 1e100;

enum class ExitKind { Logarithmic = 0, Uniform = 1, NoFlow = 2 };

struct AxisExit {
  double dt = kNoExit;
  ExitKind kind = ExitKind::Logarithmic;
};

// Below this difference of the face velocities the field counts as uniform.
inline constexpr double kUniformDifference = 1e-20;

// Time to reach the face at `face` with velocity `vp` at the particle:
// ln(vface / vp) / gradient, written with log1p of the exact difference
// vface - vp = gradient (face - p) so that nearly uniform fields keep their
// precision.
inline double TimeToFace(double face, double gradient, double vp, double p) {
  return std::log1p(gradient * (face - p) / vp) / gradient;
}

// Time for a particle at `p` to reach the low (`xlow`) or high (`xhigh`) face
// of one axis; `vlow`, `vhigh` are the face velocities, `gradient` their
// difference over the cell width and `vp` the velocity at the particle.
// dt = kNoExit when the flow along the axis keeps the particle inside.
inline AxisExit ExitTime(double vlow, double vhigh, double gradient, double xlow, double xhigh, double vp, double p) {
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

// Position after `dt` of a particle at `p` with velocity `vp` in a field of
// the given gradient: p + vp (e^(gradient dt) - 1) / gradient, which is
// p + vp dt for a uniform field.
inline double PositionAfter(double p, double vp, double gradient, double dt) {
  if (gradient == 0) return p + vp * dt;
  return p + vp * std::expm1(gradient * dt) / gradient;
}

}  // namespace kestra
