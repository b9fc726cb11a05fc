#include "export/plot_annotation.h"

#include <algorithm>
#include <filesystem>

#include "core/number_format.h"
#include "core/round_numbers.h"
#include "core/world_position.h"
#include "tracking/time_steps.h"

namespace kestra {
namespace {

bool Filled(const DrawnContent& drawn, Colour colour) {
  return std::find(drawn.filledColours.begin(), drawn.filledColours.end(), colour) != drawn.filledColours.end();
}

std::string InUnit(const std::string& name, const std::string& unit) {
  return unit.empty() ? name : name + " (" + unit + ")";
}

PlanAxes AxesOf(const ModelState& model, const std::string& unit) {
  const double length = GridLengthOf(model);
  if (model.position && model.position->rotation == 0)
    return {InUnit("Easting", unit), InUnit("Northing", unit), model.position->xOrigin,
            model.position->yOrigin + length};
  // A turned grid is labelled in its own coordinates, with north shown by the arrow.
  return {InUnit("x", unit), InUnit("y", unit), 0, length};
}

}  // namespace

std::vector<LegendEntry> LegendEntries(const Settings& s, const DrawnContent& drawn) {
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
    if (IsOn(kind.shown) && Filled(drawn, kind.colour)) entries.push_back({kind.label, kind.colour, false});
  if (drawn.contours)
    entries.push_back({s.contourDataSource == 1 ? "Drawdown contours" : "Head contours", drawn.contourColour, true});
  if (drawn.vectors) entries.push_back({"Velocity vectors", s.vectorColor, true});
  if (drawn.forwardPathlines) entries.push_back({"Forward pathlines", drawn.forwardColour, true});
  if (drawn.backwardPathlines) entries.push_back({"Backward pathlines", s.backwardPathColor, true});
  return entries;
}

std::string DefaultFigureTitle(const ModelState& model, const StressPeriods& periods) {
  std::string title = std::filesystem::path(model.ModelPath).stem().string() + ": layer " +
                      std::to_string(model.CurrentLayer);
  const int period = model.CurrentPeriod, step = model.CurrentStep;
  if (period < 1 || period > periods.NPER || step < 1 || step > periods.NSTP[period]) return title;
  const double time = StepTimeWindow(periods, step, period).T1;
  title += ", period " + std::to_string(period) + ", step " + std::to_string(step) + ", " + PlainText(time);
  const int unit = periods.timeUnit;
  if (unit <= 0 || unit >= kTimeUnitCount) return title;
  return title + " " + (time == 1 ? SingularTimeUnitName(unit) : kTimeUnitNames[unit]);
}

std::string ExaggerationText(double exaggeration) { return TrimmedText(exaggeration, exaggeration < 10 ? 2 : 1); }

FigureFacts FactsOfFigure(const ModelState& model, const Settings& settings, const StressPeriods& periods,
                          const ViewLayout& layout, const std::string& title) {
  FigureFacts facts;
  facts.title = title.empty() ? DefaultFigureTitle(model, periods) : title;
  facts.unit = LengthUnitSymbol(model.lengthUnit);
  facts.plan = AxesOf(model, facts.unit);
  facts.elevationTitle = InUnit("Elevation", facts.unit);
  const std::string exaggeration = ", vertical exaggeration " + ExaggerationText(layout.Exaggeration);
  facts.rowCaption = "Row " + std::to_string(settings.sectionRow) + exaggeration;
  // The column section is narrow: the exaggeration, the same for both, is said under the row section.
  facts.columnCaption = "Column " + std::to_string(settings.sectionColumn);
  if (model.position) facts.northAngle = -model.position->rotation;
  return facts;
}

}  // namespace kestra
