// What the user chose of a model to open beyond its path.
#pragma once

#include <string>

#include "core/model_paths.h"
#include "settings/layer_porosity.h"
#include "settings/model_position.h"

namespace kestra {

struct OpenChoices {
  LayerPorosity layerPorosity;  // layers whose porosity replaces the model's
  std::string gwfModel;         // of a MODFLOW 6 simulation, the GWF model to open; empty: the first
  PositionChoice position;      // replaces the world position of the model and its settings file
  // A model whose heads or flow terms of the first time step did not load
  // opens only when the user says yes; otherwise it opens with what loaded.
  bool askWithoutResults = false;
};

// The layer porosities of the settings file of the model at `modelPath`
// (its path with ".ini" for its extension), those of the choices over them.
inline LayerPorosity ChosenLayerPorosity(const std::string& modelPath, const OpenChoices& choices) {
  return Overridden(ReadLayerPorosity(PathWithoutExtension(modelPath) + ".ini"), choices.layerPorosity);
}

}  // namespace kestra
