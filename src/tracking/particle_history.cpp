#include "tracking/particle_history.h"

#include <algorithm>

namespace kestra {
namespace {

bool SameRelease(const ParticleRecord& a, const ParticleRecord& b) {
  return a.startCell == b.startCell && a.startLocal == b.startLocal && a.StartElevation == b.StartElevation &&
         a.ParticleColor == b.ParticleColor && a.PenWidth == b.PenWidth && a.Retardation == b.Retardation;
}

// True when the first `count` particles of both lists are released alike.
bool SamePrefix(const std::vector<ParticleRecord>& a, const std::vector<ParticleRecord>& b, std::size_t count) {
  return std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(count), b.begin(), SameRelease);
}

}  // namespace

Restored RestoreParticles(ParticleSet& set, const std::vector<ParticleRecord>& particles) {
  std::vector<ParticleRecord>& current = set.Particles;
  const std::size_t shared = std::min(current.size(), particles.size());
  if (!SamePrefix(current, particles, shared)) {
    set.Particles = particles;
    ResetParticleTimes(set);
    ResetParticlePositions(set);
    return Restored::Replaced;
  }
  if (particles.size() == current.size()) return Restored::Nothing;
  if (particles.size() < current.size()) {
    current.resize(particles.size());
    return Restored::Shortened;
  }
  ParticleSet added;
  added.Particles.assign(particles.begin() + static_cast<std::ptrdiff_t>(shared), particles.end());
  ResetParticleTimes(added);
  ResetParticlePositions(added);
  current.insert(current.end(), added.Particles.begin(), added.Particles.end());
  return Restored::Lengthened;
}

void ParticleHistory::Record(std::vector<ParticleRecord> before) {
  undo_.push_back({std::move(before), current_});
  if (undo_.size() > kDepth) undo_.erase(undo_.begin());
  redo_.clear();
  current_ = next_++;
}

Restored ParticleHistory::Undo(ParticleSet& set) { return Move(undo_, redo_, set); }
Restored ParticleHistory::Redo(ParticleSet& set) { return Move(redo_, undo_, set); }

// The last step of `from` becomes the set; the set as it is goes onto `to`.
Restored ParticleHistory::Move(std::vector<Step>& from, std::vector<Step>& to, ParticleSet& set) {
  if (from.empty()) return Restored::Nothing;
  Step step = std::move(from.back());
  from.pop_back();
  to.push_back({set.Particles, current_});
  current_ = step.state;
  return RestoreParticles(set, step.particles);
}

}  // namespace kestra
