// The semi-analytical step of the tracking scheme along one axis of a cell:
// the velocity varies linearly between the two opposite faces, so the time
// to reach a face and the position after a given time have closed forms.
#pragma once

namespace kestra {

// Time for a particle that cannot leave along an axis.
inline constexpr double kNoExit = 1e100;

enum class ExitKind { Logarithmic = 0, Uniform = 1, NoFlow = 2 };

struct AxisExit {
  double dt = kNoExit;
  ExitKind kind = ExitKind::Logarithmic;
};

// Time for a particle at `p` to reach the low (`xlow`) or high (`xhigh`) face
// of one axis; `vlow`, `vhigh` are the face velocities, `gradient` their
// difference over the cell width and `vp` the velocity at the particle.
// dt = kNoExit when the flow along the axis keeps the particle inside.
AxisExit ExitTime(double vlow, double vhigh, double gradient, double xlow, double xhigh, double vp, double p);

// Position after `dt` of a particle at `p` with velocity `vp` in a field of
// the given gradient: p + vp (e^(gradient dt) - 1) / gradient, which is
// p + vp dt for a uniform field.
double PositionAfter(double p, double vp, double gradient, double dt);

}  // namespace kestra
