#include "cli/tracking_options.h"

#include <cmath>
#include <functional>
#include <map>

#include "cli/time_units.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "session/sink_cells.h"
#include "tracking/time_steps.h"

namespace kestra::cli {
namespace {

using ValueReader = std::function<bool(const std::string&, TrackingOptions&)>;

ValueReader Whole(std::optional<int> TrackingOptions::*field, int low, int high) {
  return [=](const std::string& text, TrackingOptions& o) {
    return (o.*field = ParseWholeNumber(text, low, high)).has_value();
  };
}

ValueReader Switch(std::optional<bool> TrackingOptions::*field) {
  return [=](const std::string& text, TrackingOptions& o) {
    if (text != "on" && text != "off") return false;
    o.*field = text == "on";
    return true;
  };
}

ValueReader WeakRule(std::optional<WeakCellRule> TrackingOptions::*field) {
  return [=](const std::string& text, TrackingOptions& o) {
    if (text != "pass" && text != "stop") return false;
    o.*field = text == "stop" ? WeakCellRule::Stop : WeakCellRule::PassThrough;
    return true;
  };
}

const std::map<std::string, ValueReader>& ValueOptions() {
  static const std::map<std::string, ValueReader> options = {
      {"--particles", [](const std::string& text, TrackingOptions& o) { return !(o.particles = text).empty(); }},
      {"--step-length",
       [](const std::string& text, TrackingOptions& o) {
         const auto value = ParseNumber(text);
         if (!value || !std::isfinite(*value) || !(*value > 0)) return false;
         o.stepLength = *value;
         return true;
       }},
      {"--time-unit",
       [](const std::string& text, TrackingOptions& o) {
         const int unit = ParseTimeUnit(text);
         if (unit >= 0) o.timeUnit = unit;
         return unit >= 0;
       }},
      {"--max-steps", Whole(&TrackingOptions::maxSteps, 1, 2147483647)},
      {"--stop-at-sinks",
       [](const std::string& text, TrackingOptions& o) {
         if (text != "on" && text != "off") return false;
         o.weakSinks = o.weakSources = text == "on" ? WeakCellRule::Stop : WeakCellRule::PassThrough;
         return true;
       }},
      {"--weak-sinks", WeakRule(&TrackingOptions::weakSinks)},
      {"--weak-sources", WeakRule(&TrackingOptions::weakSources)},
      {"--face-rule",
       [](const std::string& text, TrackingOptions& o) {
         if (text != "own" && text != "interpolated") return false;
         o.faceRule = text == "own" ? FaceVelocityRule::OwnCell : FaceVelocityRule::Interpolated;
         return true;
       }},
      {"--unsaved-steps",
       [](const std::string& text, TrackingOptions& o) {
         if (text != "refuse" && text != "hold") return false;
         o.unsavedSteps = text == "hold" ? UnsavedStepRule::HoldLastSaved : UnsavedStepRule::Refuse;
         return true;
       }},
      {"--stop-at-time-limit", Switch(&TrackingOptions::stopAtTimeLimit)},
      {"--time-marks", Switch(&TrackingOptions::timeMarks)},
      {"--sinks",
       [](const std::string& text, TrackingOptions& o) {
         if (text != "all" && text != "by-flow") return false;
         o.sinks = text == "all" ? BoundaryCellRule::AllAreSinks : BoundaryCellRule::SinksByFlowSign;
         return true;
       }},
      {"--release-time",
       [](const std::string& text, TrackingOptions& o) {
         if (text == "end") {
           o.releaseTime = -1;
           return true;
         }
         const auto value = ParseNumber(text);
         if (!value || !std::isfinite(*value) || !(*value >= 0)) return false;
         o.releaseTime = *value;
         return true;
       }},
      {"--recharge-faces", Whole(&TrackingOptions::rechargeFaces, 0, 3)},
      {"--et-faces", Whole(&TrackingOptions::etFaces, 0, 1)},
      {"--period",
       [](const std::string& text, TrackingOptions& o) {
         return (o.time.period = ParseWholeNumber(text, 1, 32767)).has_value();
       }},
      {"--step",
       [](const std::string& text, TrackingOptions& o) {
         return (o.time.step = ParseWholeNumber(text, 1, 32767)).has_value();
       }},
  };
  return options;
}

bool TakeFlag(const std::string& word, TrackingOptions& o) {
  if (word == "--forward") return o.forward = true;
  if (word == "--backward") return o.backward = true;
  if (word == "--pathlines") return o.pathlines = true;
  return false;
}

}  // namespace

bool TakeTrackingOptions(Arguments& args, TrackingOptions& options, const std::string& command, std::ostream& err) {
  const std::string prefix = "kestra-cli " + command + ": ";
  Arguments rest;
  for (std::size_t n = 0; n < args.size(); ++n) {
    const std::string& word = args[n];
    if (TakeFlag(word, options)) continue;
    const auto reader = ValueOptions().find(word);
    if (reader == ValueOptions().end()) {
      rest.push_back(word);
      continue;
    }
    if (n + 1 >= args.size() || !reader->second(args[n + 1], options)) {
      err << prefix << "bad or missing value for " << word << (n + 1 < args.size() ? ": " + args[n + 1] : "") << "\n";
      return false;
    }
    ++n;
  }
  args = rest;
  if (options.time.step && !options.time.period) {
    err << prefix << "--step needs --period\n";
    return false;
  }
  if (options.releaseTime && !options.pathlines) {
    err << prefix << "--release-time needs --pathlines\n";
    return false;
  }
  if (options.particles.empty() && (options.forward || options.backward)) {
    err << prefix << "--forward and --backward need --particles\n";
    return false;
  }
  if (!options.forward && !options.backward) options.forward = true;
  return true;
}

void ApplyTrackingOptions(const TrackingOptions& o, const StressPeriods& periods, TrackingSettings& t) {
  if (o.pathlines) t.SimulationMode = 2;
  if (o.timeUnit) t.TimeUnit = static_cast<std::int16_t>(*o.timeUnit);
  if (o.stepLength) t.StepLength = *o.stepLength * TimeUnitFactor(t.TimeUnit, periods.timeUnit);
  if (o.maxSteps) t.MaximumSteps = *o.maxSteps;
  if (o.weakSinks) t.WeakSinks = *o.weakSinks;
  if (o.weakSources) t.WeakSources = *o.weakSources;
  if (o.faceRule) t.FaceVelocities = *o.faceRule;
  if (o.unsavedSteps) t.UnsavedSteps = *o.unsavedSteps;
  if (o.stopAtTimeLimit) t.StopAtTimeLimit = *o.stopAtTimeLimit ? -1 : 0;
  if (o.rechargeFaces) t.RechargeAssignment = static_cast<std::int16_t>(*o.rechargeFaces);
  if (o.timeMarks) t.MarkOnTopView = t.MarkOnXsections = *o.timeMarks ? -1 : 0;
  if (o.etFaces) t.EvapotranspirationAssignment = static_cast<std::int16_t>(*o.etFaces);
  if (o.sinks) t.BoundaryCells = *o.sinks;
  if (o.releaseTime) t.ReleaseTime = *o.releaseTime < 0 ? SimulationEnd(periods) : *o.releaseTime;
}

int ApplyTrackingOptionsToModel(const TrackingOptions& options, Session& session, UserInterface& ui,
                                 const std::string& command, std::ostream& err) {
  ApplyTrackingOptions(options, session.periods, session.tracking);
  if (options.releaseTime && !WithinSimulation(session.periods, *session.tracking.ReleaseTime)) {
    err << "kestra-cli " << command << ": the release time lies beyond the end of the simulation,"
        << NumberText(SimulationEnd(session.periods)) << "\n";
    return 2;
  }
  // The open decided the sink cells by the settings' rule.
  if (options.sinks) LoadSinkCells(session.model, session.tracking.BoundaryCells, ui, true);
  return LoadChosenTimeStep(options.time, session, ui, command, err) ? 0 : 1;
}

}  // namespace kestra::cli
