#include "tracking/face_velocities.h"

#include <cmath>

namespace kestra {
namespace {

// Stands in for a zero porosity so that a face never divides by zero.
constexpr double kSmallestPorosity = 1e-20;

double UsablePorosity(double porosity) { return porosity == 0 ? kSmallestPorosity : porosity; }

// Thickness and porosity on a face shared with a lateral neighbour,
// interpolated linearly between the two cell centres; `neighbourWeight` is
// the share of the neighbour, the own cell gets the rest.
struct FaceMedium {
  double thickness;
  double porosity;
};

FaceMedium Interpolate(const ModelState& state, int column, int row, int layer, double ownThickness, int nColumn,
                       int nRow, double neighbourWeight) {
  const double own = 1.0 - neighbourWeight;
  const double thickness =
      own * ownThickness + neighbourWeight * SaturatedThickness(state, nColumn, nRow, layer);
  const double porosity =
      own * state.POROSITY(column, row, layer) + neighbourWeight * state.POROSITY(nColumn, nRow, layer);
  return {thickness, UsablePorosity(porosity)};
}

// Velocity through a lateral face of width `faceWidth`; none through a face
// without saturated thickness.
float LateralVelocity(double flow, const FaceMedium& medium, double faceWidth) {
  if (medium.thickness == 0 || flow == 0) return 0;
  return static_cast<float>(flow / medium.porosity / faceWidth / medium.thickness);
}

// Weight of the vertical neighbour on the shared face: the own cell's share
// of the two saturated thicknesses, as linear interpolation between the two
// cell centres gives. Two cells without thickness have no defined weight;
// the engine reports them before tracking in them, and the plain mean serves.
double VerticalNeighbourWeight(double ownThickness, double neighbourThickness) {
  const double sum = ownThickness + neighbourThickness;
  return sum == 0 ? 0.5 : ownThickness / sum;
}

struct AssignedFlows {
  double topRecharge = 0;
  double bottomRecharge = 0;
  double topEvapotranspiration = 0;
};

AssignedFlows AssignRechargeAndEvapotranspiration(const ModelState& state, const TrackingSettings& tracking,
                                                  int column, int row, int layer) {
  const double recharge = state.QRECH(column, row, layer);
  AssignedFlows flows;
  switch (tracking.RechargeAssignment) {
    case 0: flows.topRecharge = recharge; break;
    case 1: flows.bottomRecharge = recharge; break;
    case 2:
      // Recharge enters through the top; a negative recharge (a loss) leaves
      // through the bottom.
      if (recharge > 0) flows.topRecharge = recharge; else flows.bottomRecharge = recharge;
      break;
    default: break;  // distributed source: shows only as the imbalance of the faces
  }
  if (tracking.EvapotranspirationAssignment == 0) flows.topEvapotranspiration = state.QET(column, row, layer);
  return flows;
}

// The boundary and areal flows that cross each face of the cell.
FaceFlows FaceFlowsOf(const ModelState& state, int column, int row, int layer) {
  FaceFlows sum{};
  for (const AssignedFaceFlows* flows : {&state.BoundaryFaceFlows, &state.ArealFaceFlows})
    if (const FaceFlows* cell = flows->Of(state.Shape(), column, row, layer))
      for (std::size_t face = 0; face < sum.size(); ++face) sum[face] += (*cell)[face];
  return sum;
}

// The medium of each face of one cell under the tracking's face rule.
class FaceMedia {
 public:
  FaceMedia(const ModelState& state, const TrackingSettings& tracking, int column, int row, int layer)
      : state_(state),
        interpolated_(tracking.FaceVelocities == FaceVelocityRule::Interpolated),
        j_(column),
        i_(row),
        k_(layer),
        ownThickness_(SaturatedThickness(state, column, row, layer)),
        ownPorosity_(UsablePorosity(state.POROSITY(column, row, layer))) {}

  double OwnThickness() const { return ownThickness_; }
  double OwnPorosity() const { return ownPorosity_; }

  // The face shared with the lateral neighbour (nColumn, nRow);
  // `neighbourWeight` is the neighbour's share when interpolating.
  FaceMedium Lateral(int nColumn, int nRow, double neighbourWeight) const {
    if (!interpolated_) return {ownThickness_, ownPorosity_};
    return Interpolate(state_, j_, i_, k_, ownThickness_, nColumn, nRow, neighbourWeight);
  }

  // Porosity of the face shared with the cell of layer `nLayer` above or below.
  double VerticalPorosity(int nLayer) const {
    if (!interpolated_) return ownPorosity_;
    const double w = VerticalNeighbourWeight(ownThickness_, SaturatedThickness(state_, j_, i_, nLayer));
    return UsablePorosity((1 - w) * state_.POROSITY(j_, i_, k_) + w * state_.POROSITY(j_, i_, nLayer));
  }

 private:
  const ModelState& state_;
  const bool interpolated_;
  const int j_, i_, k_;
  const double ownThickness_;
  const double ownPorosity_;
};

}  // namespace

FaceVelocities GetFaceVelocities(const ModelState& state, const Settings& settings, const TrackingSettings& tracking,
                                 int column, int row, int layer) {
  FaceVelocities v;
  // Under each cell's own rule a fixed-head cell carries its flows like any
  // other; between cells it is a boundary of the tracked region.
  const int ibound = state.IBOUND(column, row, layer);
  if (ibound == 0 || (ibound < 0 && tracking.FaceVelocities == FaceVelocityRule::Interpolated)) return v;
  const int j = column, i = row, k = layer;
  auto usable = [&](int nj, int ni, int nk) { return IsFlowCell(state, settings, nj, ni, nk); };
  const double delr = state.DELR[j];
  const double delc = state.DELC[i];
  const FaceMedia media(state, tracking, j, i, k);

  // Flows on a face enter (or leave) through it: into the cell through a
  // low face is towards the higher column, row or layer top.
  const FaceFlows q = FaceFlowsOf(state, j, i, k);
  const FaceMedium own{media.OwnThickness(), media.OwnPorosity()};

  if (j > 1 && usable(j - 1, i, k)) {
    const double w = delr / (state.DELR[j - 1] + delr);
    v.VX1 = LateralVelocity(state.QRIGHT(j - 1, i, k) + q[0], media.Lateral(j - 1, i, w), delc);
  } else {
    v.VX1 = LateralVelocity(q[0], own, delc);
  }
  if (j < state.NCOL && usable(j + 1, i, k)) {
    const double w = delr / (delr + state.DELR[j + 1]);
    v.VX2 = LateralVelocity(state.QRIGHT(j, i, k) - q[1], media.Lateral(j + 1, i, w), delc);
  } else {
    v.VX2 = LateralVelocity(-q[1], own, delc);
  }
  if (i > 1 && usable(j, i - 1, k)) {
    const double w = delc / (state.DELC[i - 1] + delc);
    v.VY1 = LateralVelocity(state.QFRONT(j, i - 1, k) + q[3], media.Lateral(j, i - 1, w), delr);
  } else {
    v.VY1 = LateralVelocity(q[3], own, delr);
  }
  if (i < state.NROW && usable(j, i + 1, k)) {
    const double w = delc / (delc + state.DELC[i + 1]);
    v.VY2 = LateralVelocity(state.QFRONT(j, i, k) - q[2], media.Lateral(j, i + 1, w), delr);
  } else {
    v.VY2 = LateralVelocity(-q[2], own, delr);
  }

  // Vertical faces divide by the plan area; QLOWER is positive downward, so
  // the upward velocity takes the opposite sign.
  const double area = delr * delc;
  const AssignedFlows assigned = AssignRechargeAndEvapotranspiration(state, tracking, j, i, k);
  const double topSources = assigned.topRecharge + assigned.topEvapotranspiration + q[5];
  const double bottomSources = assigned.bottomRecharge + q[4];
  if (k > 1 && usable(j, i, k - 1)) {
    v.VZ2 = static_cast<float>(-(state.QLOWER(j, i, k - 1) + topSources) / area / media.VerticalPorosity(k - 1));
  } else {
    v.VZ2 = static_cast<float>(-topSources / area / media.OwnPorosity());
  }
  if (k < state.NLAY && usable(j, i, k + 1)) {
    v.VZ1 = static_cast<float>(-(state.QLOWER(j, i, k) - bottomSources) / area / media.VerticalPorosity(k + 1));
  } else {
    v.VZ1 = static_cast<float>(bottomSources / area / media.OwnPorosity());
  }
  return v;
}

float ComputeCellVelocities(ModelState& state, const Settings& settings, const TrackingSettings& tracking) {
  float maxSpeed = -1e30f;
  for (int k = 1; k <= state.NLAY; ++k)
    for (int i = 1; i <= state.NROW; ++i)
      for (int j = 1; j <= state.NCOL; ++j) {
        if (state.IBOUND(j, i, k) <= 0 || !HasResultHead(state, settings, j, i, k)) continue;
        const FaceVelocities v = GetFaceVelocities(state, settings, tracking, j, i, k);
        const float vx = (v.VX1 + v.VX2) / 2;
        const float vy = (v.VY1 + v.VY2) / 2;
        const float vz = (v.VZ1 + v.VZ2) / 2;
        state.VX(j, i, k) = vx;
        state.VY(j, i, k) = vy;
        state.VZ(j, i, k) = vz;
        const float speed = std::sqrt(vx * vx + vy * vy + vz * vz);
        if (speed > maxSpeed) maxSpeed = speed;
      }
  return maxSpeed;
}

}  // namespace kestra
