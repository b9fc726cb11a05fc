#include "export/plot_annotation.h"

#include <cmath>

#include "core/number_format.h"

namespace kestra {

std::vector<LegendEntry> LegendEntries(const Settings& s, bool pathlines, Colour pathlineColour) {
  const struct {
    std::int16_t shown;
    const char* label;
    std::int32_t colour;
  } kinds[] = {
      {s.showInactiveCells, "Inactive cells", s.inactiveCellColor},
      {s.showFixedHeadCells, "Fixed heads", s.fixedHeadCellColor},
      {s.showGhbCells, "General heads", s.ghbCellColor},
      {s.showDischargeWells, "Pumping wells", s.dischargeWellColor},
      {s.showRechargeWells, "Injection wells", s.rechargeWellColor},
      {s.showDrains, "Drains", s.drainColor},
      {s.showRivers, "Rivers", s.riverColor},
      {s.showReservoirs, "Reservoirs", s.reservoirColor},
      {s.showBarriers, "Barriers", s.barrierColor},
  };
  std::vector<LegendEntry> entries;
  for (const auto& kind : kinds)
    if (IsOn(kind.shown)) entries.push_back({kind.label, kind.colour, false});
  if (pathlines) {
    entries.push_back({"Forward pathlines", pathlineColour, true});
    entries.push_back({"Backward pathlines", s.backwardPathColor, true});
  }
  return entries;
}

double TickStep(double span, int maxTicks) {
  if (!(span > 0) || maxTicks < 1) return 0;
  const double rough = span / maxTicks;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= rough) return factor * power;
  return 10 * power;
}

std::vector<double> TickValues(double low, double high, double step) {
  std::vector<double> values;
  if (!(step > 0) || high < low) return values;
  for (double n = std::ceil(low / step - 1e-9); n * step <= high + step * 1e-9; ++n) values.push_back(n * step);
  return values;
}

std::string TickLabel(double value) {
  // Round-off of the multiples (0.30000000000000004) must not show.
  return GeneralNumberText(static_cast<float>(std::round(value * 1e9) / 1e9));
}

}  // namespace kestra
