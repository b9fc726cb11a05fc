// Particle files: read into the particle set of a small model, written and
// read back.
#include <algorithm>

#include "core/model_state.h"
#include "fuzz_support.h"
#include "tracking/particle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string path = fuzz::WriteInput("particles.par", data, size);
  ModelState state;
  DimensionModel(state, 5, 4, 3);
  std::fill(state.DELR.begin() + 1, state.DELR.end(), 10.0f);
  std::fill(state.DELC.begin() + 1, state.DELC.end(), 10.0f);
  ComputeGridGeometry(state);
  for (int k = 1; k <= 3; ++k)
    for (int i = 1; i <= 4; ++i)
      for (int j = 1; j <= 5; ++j) {
        state.TOP(j, i, k) = 30.0f - 10.0f * k + 10.0f;
        state.BOT(j, i, k) = 30.0f - 10.0f * k;
        state.IBOUND(j, i, k) = 1;
      }
  fuzz::SilentInterface ui;
  ParticleSet set;
  if (!ReadParticleFile(path, state, set, ui)) return 0;
  const std::string copy = fuzz::WriteInput("copy.par", nullptr, 0);
  if (!WriteParticleFile(copy, set, ui)) return 0;
  ParticleSet again;
  ReadParticleFile(copy, state, again, ui);
  return 0;
}
