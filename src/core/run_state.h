// Busy flags of the long operations and the reset of the run state.
#pragma once

#include "core/model_state.h"

namespace kestra {

// Set while a long operation runs; every other command then only beeps.
struct BusyFlags {
  bool trackingRun = false;
  bool contourDrawing = false;
  bool redraw = false;
  bool layerEdit = false;
  bool positionEdit = false;
  bool particleRedraw = false;

  bool Any() const { return trackingRun || contourDrawing || redraw || layerEdit || positionEdit || particleRedraw; }
};

// True when no model is loaded or any busy flag is set.
bool IsBusy(const ModelState& state, const BusyFlags& busy);

// Back to the first time step and layer, no busy flag, flow terms not loaded.
void ResetModelDefaults(ModelState& state, BusyFlags& busy);

}  // namespace kestra
