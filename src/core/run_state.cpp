#include "core/run_state.h"

namespace kestra {

bool IsBusy(const ModelState& state, const BusyFlags& busy) { return !state.HasModel() || busy.Any(); }

void ResetModelDefaults(ModelState& state, BusyFlags& busy) {
  state.CurrentStep = 1;
  state.CurrentPeriod = 1;
  state.CurrentLayer = 1;
  state.flowTermsLoaded = false;
  busy = BusyFlags{};
}

}  // namespace kestra
