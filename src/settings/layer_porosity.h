// Porosities the user sets per layer, in the model's settings file (section
// "POROSITY", keys "Layer1", "Layer2", ...) or on the command line. They
// replace the porosity a model gives in their layers.
#pragma once

#include <map>
#include <string>

#include "core/cell_array.h"
#include "core/user_interface.h"

namespace kestra {

struct LayerPorosity {
  std::map<int, float> byLayer;  // layer number (from 1) to its porosity
  float everyLayer = 0;          // above 0: the porosity of every layer byLayer leaves out

  // The porosity set for `layer`, 0 when none is.
  float Of(int layer) const;
  bool operator==(const LayerPorosity&) const = default;
};

// Only a porosity above 0 and at most 1 describes pore space.
bool IsValidPorosity(double value);

// `over` in every layer it sets, `base` in the others.
LayerPorosity Overridden(const LayerPorosity& base, const LayerPorosity& over);

// The POROSITY section of the settings file `path`; a missing file or
// section, other keys and values that are not a valid porosity set nothing.
LayerPorosity ReadLayerPorosity(const std::string& path);

// The note naming each entry of that section that sets nothing in a model of
// `nlay` layers, with its reason; empty when every entry counts.
std::string IgnoredLayerPorosityText(const std::string& path, int nlay);

// Writes one "LayerN" key per entry of `porosity.byLayer` (everyLayer is a
// command-line value and is not stored); other sections and keys stay. False,
// with a message saying why, when the file could not be written (it is then
// unchanged).
bool WriteLayerPorosity(const std::string& path, const LayerPorosity& porosity, UserInterface& ui);

// Fills every cell of each layer of `target` that `porosity` sets. True when
// some layer is left as it was.
bool ApplyLayerPorosity(const LayerPorosity& porosity, CellArray<float>& target);

}  // namespace kestra
