// The time step loader of benchmarks on hand-built models: their one flow
// field is set once and never reloaded.
#pragma once

#include "tracking/track_particles.h"

namespace kestra {

class NoLoader : public TimeStepLoader {
 public:
  bool LoadFlowField(ModelState&) override { return true; }
  void RestoreTimeStep(ModelState&) override {}
  bool ReloadFlowTerms(ModelState&) override { return true; }
};

}  // namespace kestra
