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

namespace {

struct LegendKind {
  std::int16_t Settings::*shownBy;
  const char* label;
  std::int32_t Settings::*colour;
};

// The cell kinds in drawing order.
constexpr LegendKind kCellKinds[] = {
    {&Settings::showInactiveCells, "Inactive cells", &Settings::inactiveCellColor},
    {&Settings::showFixedHeadCells, "Fixed heads", &Settings::fixedHeadCellColor},
    {&Settings::showGhbCells, "General heads", &Settings::ghbCellColor},
    {&Settings::showDischargeWells, "Pumping wells", &Settings::dischargeWellColor},
    {&Settings::showRechargeWells, "Injection wells", &Settings::rechargeWellColor},
    {&Settings::showDrains, "Drains", &Settings::drainColor},
    {&Settings::showRivers, "Rivers", &Settings::riverColor},
    {&Settings::showReservoirs, "Reservoirs", &Settings::reservoirColor},
    {&Settings::showBarriers, "Barriers", &Settings::barrierColor},
};

// Contours, vectors, the water table and pathlines as `content` has them,
// each with the switch that shows it.
std::vector<LegendItem> LineItems(const Settings& s, const DrawnContent& content) {
  std::vector<LegendItem> items;
  if (content.contours)
    items.push_back({{s.contourDataSource == 1 ? "Drawdown contours" : "Head contours", content.contourColour, true},
                     &Settings::contourDisplay});
  if (content.vectors) items.push_back({{"Velocity vectors", s.vectorColor, true}, &Settings::vectorsVisible});
  if (content.waterTable) items.push_back({{"Water table", s.waterTableColor, true}, &Settings::showWaterTable});
  if (content.forwardPathlines) items.push_back({{"Forward pathlines", content.forwardColour, true}});
  if (content.backwardPathlines) items.push_back({{"Backward pathlines", s.backwardPathColor, true}});
  return items;
}

}  // namespace

std::vector<LegendEntry> LegendEntries(const Settings& s, const DrawnContent& drawn) {
  std::vector<LegendEntry> entries;
  for (const LegendKind& kind : kCellKinds)
    if (IsOn(s.*kind.shownBy) && Filled(drawn, s.*kind.colour)) entries.push_back({kind.label, s.*kind.colour, false});
  for (const LegendItem& item : LineItems(s, drawn)) entries.push_back(item.entry);
  return entries;
}

std::vector<LegendItem> LegendItems(const Settings& s, const DrawnContent& offered) {
  std::vector<LegendItem> items{{{"Grid lines", s.meshColor, true}, &Settings::showMesh}};
  for (const LegendKind& kind : kCellKinds)
    if (Filled(offered, s.*kind.colour)) items.push_back({{kind.label, s.*kind.colour, false}, kind.shownBy});
  for (LegendItem& item : LineItems(s, offered)) items.push_back(item);
  for (LegendItem& item : items) item.shown = !item.shownBy || IsOn(s.*item.shownBy);
  return items;
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
