#include "tracking/particle_set.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/number_format.h"

namespace kestra {
namespace {

constexpr const char* kTooManyParticlesMessage = "Too many particles, the maximum number of particles is ";

void ResetToRelease(ParticleRecord& particle) {
  for (TrackState* state : {&particle.forward, &particle.backward}) {
    state->cell = particle.startCell;
    state->local = particle.startLocal;
    state->stopped = false;
    state->lastElevation = particle.StartElevation;
  }
}

}  // namespace

ParticleRecord NewParticle(const ParticleSet& set, CellIndex cell, LocalPoint local, float elevation) {
  ParticleRecord particle;
  particle.startCell = cell;
  particle.startLocal = local;
  particle.StartElevation = elevation;
  particle.ParticleColor = set.DefaultParticleColor;
  particle.PenWidth = 1;
  particle.Retardation = static_cast<float>(set.DefaultRetardation);
  ResetToRelease(particle);
  return particle;
}

bool CheckParticleCount(int count, UserInterface& ui) {
  if (count <= kMaxParticles) return false;
  Complain(ui, kTooManyParticlesMessage + NumberText(kMaxParticles), MessageIcon::Exclamation, kErrorTitle);
  return true;
}

bool AddParticle(ParticleSet& set, CellIndex cell, LocalPoint local, float elevation, UserInterface& ui) {
  return AddParticleGroup(set, {NewParticle(set, cell, local, elevation)}, ui);
}

bool AddParticleGroup(ParticleSet& set, const std::vector<ParticleRecord>& group, UserInterface& ui) {
  if (CheckParticleCount(set.ParticleCount() + static_cast<int>(group.size()), ui)) return false;
  set.Particles.insert(set.Particles.end(), group.begin(), group.end());
  return true;
}

ParticleRenumbering::ParticleRenumbering(std::vector<int> formerNumbers) : former_(std::move(formerNumbers)) {
  const int highest = former_.empty() ? 0 : *std::max_element(former_.begin(), former_.end());
  newOf_.assign(static_cast<std::size_t>(highest) + 1, 0);
  for (std::size_t i = 0; i < former_.size(); ++i) newOf_[static_cast<std::size_t>(former_[i])] = static_cast<int>(i) + 1;
}

int ParticleRenumbering::NewNumber(int former) const {
  return former > 0 && static_cast<std::size_t>(former) < newOf_.size() ? newOf_[static_cast<std::size_t>(former)] : 0;
}

void ResetParticlePositions(ParticleSet& set) {
  for (ParticleRecord& particle : set.Particles) ResetToRelease(particle);
}

void ResetParticleTimes(ParticleSet& set) {
  for (ParticleRecord& particle : set.Particles)
    for (TrackState* state : {&particle.forward, &particle.backward}) {
      state->time = state->timeLimit = 0;
      state->released = false;
    }
}

void PrepareReplay(ParticleSet& set) {
  ResetParticlePositions(set);
  for (ParticleRecord& particle : set.Particles) particle.forward.time = particle.backward.time = 0;
}

}  // namespace kestra
