// The particles: where each was released, how far it has been tracked in
// each direction, and the defaults given to new particles.
#pragma once

#include <cstdint>
#include <vector>

#include "core/user_interface.h"

namespace kestra {

inline constexpr int kMaxParticles = 5000;

// A cell (column, row, layer), 1-based.
struct CellIndex {
  std::int16_t column = 0;
  std::int16_t row = 0;
  std::int16_t layer = 0;
  bool operator==(const CellIndex&) const = default;
};

// A position inside a cell, each coordinate 0..1 from the low-column face,
// the low-row face and the bottom.
struct LocalPoint {
  float x = 0;
  float y = 0;
  float z = 0;
  bool operator==(const LocalPoint&) const = default;
};

// The particles left after a deletion, numbered anew: for each, in its new
// order, the number it had before.
class ParticleRenumbering {
 public:
  explicit ParticleRenumbering(std::vector<int> formerNumbers);
  const std::vector<int>& FormerNumbers() const { return former_; }
  // The number now of the particle that had number `former`; 0 when it is gone.
  int NewNumber(int former) const;

 private:
  std::vector<int> former_;
  std::vector<int> newOf_;  // by former number
};

// Where a particle stands in one tracking direction.
struct TrackState {
  CellIndex cell;
  LocalPoint local;
  bool stopped = false;   // tracking in this direction has ended for good
  double time = 0;        // travel time reached, model time units from the release
  double timeLimit = 0;   // time reached at the end of the last run (replay limit)
  float lastElevation = 0;  // where the last drawn segment ended
  bool released = false;    // a run in this direction has started it since its times were reset
};

// Forward and backward state are kept apart and never mix; the stored file
// fields of the record are the release cell, point, elevation, colour and
// retardation.
struct ParticleRecord {
  CellIndex startCell;     // StartColumn, StartRow, StartLayer
  LocalPoint startLocal;   // StartX, StartY, StartZ
  TrackState forward;      // ForwardCell, ForwardLocal, ForwardStopped, ForwardTime, ...
  TrackState backward;     // BackwardCell, BackwardLocal, BackwardStopped, BackwardTime, ...
  std::int32_t ParticleColor = 0;  // RGB, red in the low byte
  std::int16_t PenWidth = 1;
  float Retardation = 1;  // velocities are divided by it
  float StartElevation = 0;

  TrackState& State(int direction) { return direction > 0 ? forward : backward; }
  const TrackState& State(int direction) const { return direction > 0 ? forward : backward; }
};

struct ParticleSet {
  std::vector<ParticleRecord> Particles;  // particle number i is Particles[i - 1]
  std::int32_t DefaultParticleColor = 40960;  // green, as the settings' default
  double DefaultRetardation = 1.0;

  int ParticleCount() const { return static_cast<int>(Particles.size()); }
};

// A record released at `cell` and `local`, both directions at the release
// point, times zero, with the set's default colour and retardation.
ParticleRecord NewParticle(const ParticleSet& set, CellIndex cell, LocalPoint local, float elevation);

// True (too many) when `count` exceeds kMaxParticles, after telling the user.
bool CheckParticleCount(int count, UserInterface& ui);

// Appends one new particle; false (set unchanged) when the set is full.
bool AddParticle(ParticleSet& set, CellIndex cell, LocalPoint local, float elevation, UserInterface& ui);

// Appends all of `group` or, when the set would exceed its limit, none of it
// (the user is told). True when added.
bool AddParticleGroup(ParticleSet& set, const std::vector<ParticleRecord>& group, UserInterface& ui);

// Both directions back to the release cell, point and elevation, not stopped.
// Times are left as they are.
void ResetParticlePositions(ParticleSet& set);

// Times and time limits of both directions back to 0.
void ResetParticleTimes(ParticleSet& set);

// Positions reset and times zeroed for a replay; the time limits, which say
// how far each particle is to be retraced, are kept.
void PrepareReplay(ParticleSet& set);

}  // namespace kestra
