// A colour flood of the plan: every cell of the layer filled in the colour of
// its head, drawdown or speed on one colour ramp, with the range a colour bar
// labels.
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "graphics/picture.h"
#include "settings/settings.h"

namespace kestra {

enum class FloodQuantity { Head, Drawdown, Velocity };

struct ColourFlood {
  FloodQuantity quantity = FloodQuantity::Head;
  int layer = 1;
  // One value per cell of the layer, column fastest; NaN where the cell has
  // no result and stays unfilled.
  std::vector<float> values;
  double low = 0;   // the colour ramp's first colour
  double high = 0;  // and its last
  bool Empty() const { return !(high >= low) || values.empty(); }
};

// The flood of `layer`: heads and drawdowns of active and fixed-head cells
// with a result head, speeds (the length of the cell's velocity) of active
// ones. The range spans the values of every layer, so that the plan of any
// layer and the sections share one scale; empty when no cell of `layer` has
// a value.
ColourFlood FloodOfLayer(const ModelState& model, const Settings& settings, FloodQuantity quantity, int layer);

// The value that the flood gives cell (j, i, k); NaN for none.
float FloodCellValue(const ModelState& model, const Settings& settings, FloodQuantity quantity, int j, int i, int k);

// The ramp's colour at `fraction` 0..1 (clamped): dark violet through blue
// and green to yellow, readable in grey and by most colour-blind readers.
Colour FloodColour(double fraction);

// The flood's colour classes: cells are filled in one of this many colours.
inline constexpr int kFloodClasses = 48;
// The class of a value; -1 for a value without colour.
int FloodClass(const ColourFlood& flood, float value);
// The colour the cells of class `n` are filled in.
Colour FloodClassColour(int n);

// "Head", "Drawdown", "Speed" with the unit of the model ("Head (m)",
// "Speed (m/day)" for the time unit "day"), as the colour bar is titled.
std::string FloodTitle(FloodQuantity quantity, const std::string& lengthUnit, const std::string& timeUnit);

}  // namespace kestra
