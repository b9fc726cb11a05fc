// What a picture plot for a report carries besides the views: a legend of
// the cell types and boundary packages shown, and coordinate ticks at round
// numbers.
#pragma once

#include <string>
#include <vector>

#include "graphics/picture.h"
#include "settings/settings.h"

namespace kestra {

struct LegendEntry {
  std::string label;
  Colour colour = 0;
  bool line = false;  // drawn as a line (pathlines), else as a filled box
};

// The cell types and packages the settings show, in drawing order, then the
// pathlines when there are any.
std::vector<LegendEntry> LegendEntries(const Settings& settings, bool pathlines, Colour pathlineColour);

// A round tick spacing (1, 2 or 5 times a power of ten) that puts at most
// `maxTicks` ticks on `span`; 0 for a span that is not positive.
double TickStep(double span, int maxTicks);

// The tick values from the first multiple of `step` at or above `low` up to `high`.
std::vector<double> TickValues(double low, double high, double step);

// A tick label: the value without needless digits ("250", "1.5", "-20").
std::string TickLabel(double value);

}  // namespace kestra
