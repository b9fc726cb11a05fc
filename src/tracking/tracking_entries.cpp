#include "tracking/tracking_entries.h"

#include <algorithm>

#include "core/number_format.h"
#include "modelset/layer_files.h"
#include "tracking/time_steps.h"

namespace kestra {
namespace {

constexpr const char* kIntegerRangeMessage = "Please enter an integer between 1 and ";

// A typed whole number, halves to even; 0 when it does not fit.
std::int32_t TypedInteger(const std::string& text) { return RoundToInt32(LeadingNumber(text)).value_or(0); }

std::string IntegerRangeMessage(int highest) { return kIntegerRangeMessage + NumberText(highest); }

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

bool SingleTimeStep(const StressPeriods& periods) { return periods.NPER == 1 && periods.NSTP[1] == 1; }

}  // namespace

TrackingEntries TrackingEntriesFrom(const TrackingSettings& tracking, const StressPeriods& periods,
                                    const ModelState& state) {
  TrackingEntries e;
  e.stressPeriod = NumberText(state.CurrentPeriod);
  e.timeStep = NumberText(state.CurrentStep);
  e.stepLength = NumberText(tracking.StepLength * TimeUnitFactor(periods.timeUnit, tracking.TimeUnit));
  e.markInterval = NumberText(tracking.MarkInterval);
  e.arrowSize = NumberText(tracking.MarkSizeTopView);
  e.sectionMarkSize = NumberText(tracking.MarkSizeXsections);
  e.maximumSteps = NumberText(tracking.MaximumSteps);
  e.timeUnit = tracking.TimeUnit;
  e.markOnTopView = tracking.MarkOnTopView != 0;
  e.markOnXsections = tracking.MarkOnXsections != 0;
  e.simulationMode = SingleTimeStep(periods) ? 1 : tracking.SimulationMode;
  e.stopAtWeakSinks = tracking.WeakSinks == WeakCellRule::Stop;
  e.stopAtWeakSources = tracking.WeakSources == WeakCellRule::Stop;
  e.interpolatedFaces = tracking.FaceVelocities == FaceVelocityRule::Interpolated;
  e.stopAtTimeLimit = tracking.StopAtTimeLimit != 0;
  e.holdUnsavedSteps = tracking.UnsavedSteps == UnsavedStepRule::HoldLastSaved;
  e.rechargeAssignment = tracking.RechargeAssignment;
  e.evapotranspirationAssignment = tracking.EvapotranspirationAssignment;
  e.useLayerColors = tracking.UseLayerColors != 0;
  e.allBoundaryCellsAreSinks = tracking.BoundaryCells == BoundaryCellRule::AllAreSinks;
  if (tracking.ReleaseTime) e.releaseTime = NumberText(*tracking.ReleaseTime);
  for (int k = 1; k < static_cast<int>(state.LayerProperties.size()); ++k)
    e.layerColors.push_back(LayerColor(state.LayerProperties[k]));
  return e;
}

std::string ConvertedStepLength(const std::string& shown, int fromUnit, int toUnit) {
  return NumberText(LeadingNumber(shown) * TimeUnitFactor(fromUnit, toUnit));
}

TrackingCheck CheckTrackingEntries(const TrackingEntries& entries, const StressPeriods& periods) {
  const std::int32_t period = TypedInteger(entries.stressPeriod);
  if (period < 1 || period > periods.NPER) return {TrackingField::StressPeriod, IntegerRangeMessage(periods.NPER)};
  const std::int32_t step = TypedInteger(entries.timeStep);
  if (step < 1 || step > periods.NSTP[period]) return {TrackingField::TimeStep, IntegerRangeMessage(periods.NSTP[period])};
  if (LeadingNumber(entries.stepLength) <= 0) return {TrackingField::StepLength, kStepLengthMessage};
  if (TypedInteger(entries.arrowSize) < 1) return {TrackingField::ArrowSize, kMarkSizeMessage};
  if (TypedInteger(entries.sectionMarkSize) < 1) return {TrackingField::SectionMarkSize, kMarkSizeMessage};
  for (std::size_t k = 0; k < entries.layerPorosity.size(); ++k) {
    const std::string& typed = entries.layerPorosity[k];
    if (!IsBlank(typed) && !IsValidPorosity(LeadingNumber(typed)))
      return {TrackingField::Porosity, kPorosityMessage, static_cast<int>(k) + 1};
  }
  if (!IsBlank(entries.releaseTime) && !WithinSimulation(periods, LeadingNumber(entries.releaseTime)))
    return {TrackingField::ReleaseTime, kReleaseTimeMessage + NumberText(SimulationEnd(periods))};
  return {};
}

void StoreTrackingEntries(const TrackingEntries& entries, const StressPeriods& periods, TrackingSettings& tracking,
                          ModelState& state) {
  for (std::size_t k = 0; k < entries.layerColors.size() && k + 1 < state.LayerProperties.size(); ++k)
    SetLayerColor(state.LayerProperties[k + 1], entries.layerColors[k]);
  state.CurrentPeriod = TypedInteger(entries.stressPeriod);
  state.CurrentStep = TypedInteger(entries.timeStep);
  const double interval = LeadingNumber(entries.markInterval);
  tracking.MarkInterval = interval == 0 ? 1 : interval;
  tracking.MarkOnTopView = entries.markOnTopView ? -1 : 0;
  tracking.MarkOnXsections = entries.markOnXsections ? -1 : 0;
  tracking.MarkSizeTopView = TypedInteger(entries.arrowSize);
  tracking.MarkSizeXsections = TypedInteger(entries.sectionMarkSize);
  tracking.TimeUnit = static_cast<std::int16_t>(entries.timeUnit);
  tracking.StepLength = LeadingNumber(entries.stepLength) * TimeUnitFactor(entries.timeUnit, periods.timeUnit);
  tracking.MaximumSteps = TypedInteger(entries.maximumSteps);
  tracking.SimulationMode = static_cast<std::int16_t>(entries.simulationMode == 1 ? 1 : 2);
  tracking.WeakSinks = entries.stopAtWeakSinks ? WeakCellRule::Stop : WeakCellRule::PassThrough;
  tracking.WeakSources = entries.stopAtWeakSources ? WeakCellRule::Stop : WeakCellRule::PassThrough;
  tracking.FaceVelocities = entries.interpolatedFaces ? FaceVelocityRule::Interpolated : FaceVelocityRule::OwnCell;
  tracking.StopAtTimeLimit = entries.stopAtTimeLimit ? -1 : 0;
  tracking.UnsavedSteps = entries.holdUnsavedSteps ? UnsavedStepRule::HoldLastSaved : UnsavedStepRule::Refuse;
  tracking.RechargeAssignment = static_cast<std::int16_t>(entries.rechargeAssignment);
  tracking.EvapotranspirationAssignment = static_cast<std::int16_t>(entries.evapotranspirationAssignment);
  tracking.UseLayerColors = entries.useLayerColors ? -1 : 0;
  tracking.BoundaryCells =
      entries.allBoundaryCellsAreSinks ? BoundaryCellRule::AllAreSinks : BoundaryCellRule::SinksByFlowSign;
  tracking.ReleaseTime.reset();
  if (!IsBlank(entries.releaseTime)) tracking.ReleaseTime = LeadingNumber(entries.releaseTime);
}

LayerPorosity LayerPorosityOf(const TrackingEntries& entries) {
  LayerPorosity porosity;
  for (std::size_t k = 0; k < entries.layerPorosity.size(); ++k) {
    const std::string& typed = entries.layerPorosity[k];
    if (IsBlank(typed)) continue;
    porosity.byLayer[static_cast<int>(k) + 1] = static_cast<float>(LeadingNumber(typed));
  }
  return porosity;
}

std::vector<std::string> LayerPorosityEntries(const LayerPorosity& porosity, int layerCount) {
  std::vector<std::string> entries(static_cast<std::size_t>(std::max(layerCount, 0)));
  for (const auto& [layer, value] : porosity.byLayer)
    if (layer >= 1 && layer <= layerCount) entries[layer - 1] = GeneralNumberText(value);
  return entries;
}

std::vector<std::string> ModelLayerPorosityTexts(const ModelState& state) {
  std::vector<std::string> texts;
  for (int k = 1; k <= state.NLAY; ++k) {
    const float first = state.POROSITY(1, 1, k);
    bool uniform = true;
    for (int i = 1; i <= state.NROW && uniform; ++i)
      for (int j = 1; j <= state.NCOL && uniform; ++j) uniform = state.POROSITY(j, i, k) == first;
    texts.push_back(uniform ? GeneralNumberText(first) : std::string());
  }
  return texts;
}

}  // namespace kestra
