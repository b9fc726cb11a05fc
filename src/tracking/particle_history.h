// Undo and redo of the particle edits (a particle set, a group placed, a
// deletion, Delete All, a particle file loaded), and whether the particles
// differ from the last file saved or loaded.
#pragma once

#include <cstdint>
#include <vector>

#include "tracking/particle_set.h"

namespace kestra {

// How an undo or redo changed the set, so that the runs of the particles
// it kept can stay: particles dropped from the end, particles added at the
// end (at their release points), or a different set (every run starts again).
enum class Restored { Nothing, Shortened, Lengthened, Replaced };

class ParticleHistory {
 public:
  // After an edit: `before` is what the set held before it.
  void Record(std::vector<ParticleRecord> before);
  // Back to the particles before the last edit (or forward again); the
  // particles the set keeps in the same order keep where they are.
  Restored Undo(ParticleSet& set);
  Restored Redo(ParticleSet& set);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  // The set now is the content of a particle file.
  void MarkSaved() { saved_ = current_; }
  // True when `set` holds particles that no file holds.
  bool Unsaved(const ParticleSet& set) const { return !set.Particles.empty() && current_ != saved_; }
  // A new model: nothing to undo, nothing unsaved.
  void Clear() { *this = ParticleHistory(); }

 private:
  // The most edits kept for undo: 5000 particles are about 0.5 MB a step.
  static constexpr std::size_t kDepth = 100;
  struct Step {
    std::vector<ParticleRecord> particles;
    std::uint64_t state;  // the number of the set's state these particles are
  };
  Restored Move(std::vector<Step>& from, std::vector<Step>& to, ParticleSet& set);

  std::vector<Step> undo_, redo_;
  std::uint64_t current_ = 0;  // numbers the states of the set: 0 is the state at the open
  std::uint64_t next_ = 1;
  std::uint64_t saved_ = 0;
};

// Replaces the particles of `set` by `particles`: when one list begins with
// the other (same releases, same order) the set is only shortened or
// lengthened, the new particles at their release points.
Restored RestoreParticles(ParticleSet& set, const std::vector<ParticleRecord>& particles);

}  // namespace kestra
