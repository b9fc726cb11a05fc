// What the user chose of a model to open beyond its path.
#pragma once

#include <string>

#include "settings/layer_porosity.h"

namespace kestra {

struct OpenChoices {
  LayerPorosity layerPorosity;  // layers whose porosity replaces the model's
  std::string gwfModel;         // of a MODFLOW 6 simulation, the GWF model to open; empty: the first
};

}  // namespace kestra
