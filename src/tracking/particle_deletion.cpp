#include "tracking/particle_deletion.h"

#include <algorithm>
#include <utility>

namespace kestra {

int DeleteParticlesInside(ParticleSet& set, const ModelState& state, PlanRectangle r, int layer,
                          ParticleRenumbering* renumbering) {
  const float xa = std::min(r.Xa, r.Xb), xb = std::max(r.Xa, r.Xb);
  const float ya = std::min(r.Ya, r.Yb), yb = std::max(r.Ya, r.Yb);
  const auto inside = [&](const ParticleRecord& p) {
    const CellIndex c = p.startCell;
    if (c.layer != layer || c.column < 1 || c.column > state.NCOL || c.row < 1 || c.row > state.NROW) return false;
    const float x = state.XEDGE[c.column - 1] + p.startLocal.x * state.DELR[c.column];
    const float y = state.YEDGE[c.row - 1] + p.startLocal.y * state.DELC[c.row];
    return xa <= x && x <= xb && ya <= y && y <= yb;
  };
  const auto before = set.Particles.size();
  std::vector<ParticleRecord> kept;
  std::vector<int> formerNumbers;
  for (std::size_t i = 0; i < before; ++i) {
    if (inside(set.Particles[i])) continue;
    kept.push_back(set.Particles[i]);
    formerNumbers.push_back(static_cast<int>(i) + 1);
  }
  set.Particles = std::move(kept);
  if (renumbering) *renumbering = ParticleRenumbering(std::move(formerNumbers));
  return static_cast<int>(before - set.Particles.size());
}

}  // namespace kestra
