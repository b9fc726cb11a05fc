#include "modpath/mp7_run_plan.h"

#include <algorithm>
#include <map>

#include "tracking/face_velocities.h"
#include "tracking/placement.h"
#include "tracking/time_steps.h"

namespace kestra {
namespace {

constexpr int kForward = 1;
constexpr int kStopOption = 2;  // weak sink and source options: 1 pass through, 2 stop

WeakCellRule WeakRule(int option) { return option == kStopOption ? WeakCellRule::Stop : WeakCellRule::PassThrough; }

// The uppermost cell with water at or below `cell` in its column; `cell` itself when there is none.
CellIndex DrapedCell(const ModelState& state, const Settings& settings, CellIndex cell) {
  for (int k = cell.layer; k <= state.NLAY; ++k)
    if (IsFlowCell(state, settings, cell.column, cell.row, k))
      return {cell.column, cell.row, static_cast<std::int16_t>(k)};
  return cell;
}

}  // namespace

std::vector<Mp7Release> Mp7Releases(const Mp7Simulation& simulation) {
  std::map<double, Mp7Release> byTime;
  int sequence = 0;
  for (std::size_t g = 0; g < simulation.groups.size(); ++g)
    for (const double releaseTime : simulation.groups[g].releaseTimes)
      for (std::size_t n = 0; n < simulation.particles.size(); ++n) {
        const Mp7Particle& p = simulation.particles[n];
        if (p.group != static_cast<int>(g)) continue;
        const double time = releaseTime + p.timeOffset;
        Mp7Release& release = byTime[time];
        release.trackingTime = time;
        release.locations.push_back(n);
        release.labels.push_back({++sequence, p.group + 1, p.id, time});
      }
  std::vector<Mp7Release> releases;
  for (auto& [time, release] : byTime) releases.push_back(std::move(release));
  return releases;
}

double Mp7ReferenceTime(const Mp7Simulation& simulation, const StressPeriods& periods) {
  if (simulation.referenceTimeOption == 1 || periods.NPER < 1) return simulation.referenceTime;
  const int period = std::clamp(simulation.referencePeriod, 1, periods.NPER);
  const int step = std::clamp(simulation.referenceStep, 1, static_cast<int>(periods.NSTP[period]));
  const TimeWindow window = StepTimeWindow(periods, step, period);
  return window.T0 + simulation.referenceFraction * (window.T1 - window.T0);
}

double Mp7StopTime(const Mp7Simulation& simulation, const StressPeriods& periods, double referenceTime) {
  switch (simulation.stopTimeOption) {
    case 1: return simulation.trackingDirection == kForward ? SimulationEnd(periods) - referenceTime : referenceTime;
    case 3: return simulation.stopTime;
    default: return kMp7NoStopTime;
  }
}

void ApplyMp7Options(const Mp7Simulation& simulation, const StressPeriods& periods, double referenceTime,
                     double trackingTime, TrackingSettings& tracking) {
  const int direction = simulation.trackingDirection == kForward ? 1 : -1;
  tracking.SimulationMode = 2;
  tracking.ReleaseTime = referenceTime + direction * trackingTime;
  tracking.FaceVelocities = FaceVelocityRule::OwnCell;
  tracking.WeakSinks = WeakRule(simulation.weakSinkOption);
  tracking.WeakSources = WeakRule(simulation.weakSourceOption);
  tracking.BoundaryCells = BoundaryCellRule::SinksByFlowSign;
  tracking.StopAtTimeLimit = simulation.stopTimeOption == 1 ? -1 : 0;
  const double stopTime = Mp7StopTime(simulation, periods, referenceTime);
  tracking.StepLength = stopTime >= kMp7NoStopTime ? kMp7NoStopTime : std::max(0.0, stopTime - trackingTime);
  tracking.MaximumSteps = 1;
  tracking.MarkOnTopView = tracking.MarkOnXsections = 0;
  tracking.TimePoints.clear();
  for (const double point : simulation.timePoints) tracking.TimePoints.push_back(point - trackingTime);
}

namespace {

// The default face of the first of `labels` that the model gives one.
int DefaultFaceOfTerm(const ModelFamily& family, std::initializer_list<const char*> labels) {
  for (const char* label : labels)
    if (const int face = family.DefaultFace(label); face != 0) return face;
  return 0;
}

}  // namespace

void ApplyMp7DefaultFaces(const ModelFamily& family, TrackingSettings& tracking) {
  constexpr int kTop = 6, kBottom = 5;
  const int recharge = DefaultFaceOfTerm(family, {"RECHARGE", "RCH", "RCHA"});
  tracking.RechargeAssignment = recharge == kTop ? 0 : recharge == kBottom ? 1 : 3;
  const int evapotranspiration = DefaultFaceOfTerm(family, {"ET", "EVT", "EVTA"});
  tracking.EvapotranspirationAssignment = evapotranspiration == kTop ? 0 : 1;
}

ParticleSet Mp7ReleaseParticles(const Mp7Simulation& simulation, const Mp7Release& release, const ModelState& state,
                                const Settings& settings, float retardation) {
  ParticleSet set;
  set.DefaultRetardation = retardation;
  for (const std::size_t location : release.locations) {
    const Mp7Particle& p = simulation.particles[location];
    const CellIndex cell = p.drape ? DrapedCell(state, settings, p.cell) : p.cell;
    const LocalPoint local{p.local.x, 1 - p.local.y, p.local.z};
    ParticleRecord record = NewParticle(set, cell, local, ElevationOfLocalHeight(state, settings, cell, local.z));
    record.Retardation = retardation;
    set.Particles.push_back(record);
  }
  return set;
}

std::optional<float> Mp7UniformRetardation(const Mp7Simulation& simulation) {
  if (simulation.retardationOption == 1) return 1.0f;
  if (simulation.retardation.empty()) return std::nullopt;
  const Mp7LayerArray& first = simulation.retardation.front();
  for (const Mp7LayerArray& layer : simulation.retardation)
    if (layer.kind != Mp7LayerArray::Kind::Constant || layer.constant != first.constant) return std::nullopt;
  if (!(first.constant > 0)) return std::nullopt;
  return static_cast<float>(first.constant);
}

std::vector<std::string> Mp7UnusedOptions(const Mp7Simulation& s) {
  std::vector<std::string> unused;
  unused.push_back("the listing file " + s.listingFile + " (not written)");
  if (s.traceMode == 1) unused.push_back("the trace file " + s.traceFile + " (not written)");
  if (!s.budgetCells.empty()) unused.push_back("the budget cells (not listed)");
  if (s.zoneDataOption == 2 && s.stopZone > 0) unused.push_back("stop zone " + std::to_string(s.stopZone) + " (particles do not stop there)");
  if (s.zoneDataOption == 2) unused.push_back("the zone arrays (the end points give zone 1)");
  if (!Mp7UniformRetardation(s)) unused.push_back("retardation factors that vary between cells (1 is used)");
  return unused;
}

Mp7Labels Mp7ReleaseLabels(const Mp7Simulation& simulation, const Mp7Release& release) {
  Mp7Labels labels;
  for (const Mp7ParticleGroup& group : simulation.groups) labels.groupNames.push_back(group.name);
  labels.particles = release.labels;
  return labels;
}

}  // namespace kestra
