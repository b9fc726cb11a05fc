// One pass of a run over all particles, on one thread or several. Particles
// are independent within a pass, so every thread count gives the observer
// the same events in the same (particle) order and leaves the same records.
#pragma once

#include <vector>

#include "core/user_interface.h"
#include "tracking/particle_mover.h"

namespace kestra {

struct PassSummary {
  bool runEnds = false;   // a thickness fault or the stop button ended the run
  bool anyMoved = false;  // at least one particle moved
};

// Tracks particles 1..n in `context`. With more than one thread, each
// particle's reports are held until all earlier particles are reported; at
// most a few dozen particles per thread are held at once. A ParallelObserver
// takes the reports into its parts on the tracking threads; any other
// observer hears them on the calling thread. After a run-ending particle no
// later particle is changed or reported. The thickness message goes to `ui`.
PassSummary RunPass(const PassContext& context, std::vector<ParticleRecord>& particles,
                    std::vector<ParticleProgress>& progress, TrackObserver& observer, UserInterface& ui,
                    int threadCount);

// The message that a cell has no saturated thickness; `beeps` when it was
// found at the start of a move.
void ShowThicknessMessage(UserInterface& ui, CellIndex cell, bool beeps);

}  // namespace kestra
