#include "tracking/travel_times.h"

#include <algorithm>

#include "core/round_numbers.h"
#include "core/text_reader.h"
#include "settings/tracking_settings.h"
#include "tracking/time_steps.h"

namespace kestra {
namespace {

// The time unit codes 1..5 of the suffixes s, min, h, d and y (years of 365.25 days).
std::optional<int> TimeUnitOfSuffix(const std::string& suffix) {
  if (suffix == "s") return 1;
  if (suffix == "min") return 2;
  if (suffix == "h") return 3;
  if (suffix == "d") return 4;
  if (suffix == "y") return 5;
  return std::nullopt;
}

bool KnownUnit(int unit) { return unit > 0 && unit < kTimeUnitCount; }

}  // namespace

std::optional<std::vector<double>> ParseTravelTimes(const std::string& list, int modelUnit, std::string& problem) {
  std::vector<double> times;
  if (list.empty()) return times;
  for (const std::string& field : SplitText(list, ',')) {
    const std::string item = Trimmed(field);
    const std::size_t digits = item.find_last_of("0123456789.") + 1;
    const auto value = ParseFiniteNumber(item.substr(0, digits));
    const std::string suffix = digits < item.size() ? Trimmed(item.substr(digits)) : "";
    const auto unit = suffix.empty() ? std::optional<int>(modelUnit) : TimeUnitOfSuffix(suffix);
    if (!value || !unit || item.empty()) {
      problem = "'" + item + "' is no time (a number, or one with s, min, h, d or y)";
      return std::nullopt;
    }
    if (!suffix.empty() && !KnownUnit(modelUnit)) {
      problem = "the model states no time unit; give the times in its own unit, without a suffix";
      return std::nullopt;
    }
    const double time = *value * TimeUnitFactor(*unit, modelUnit);
    if (!(time > 0) || (!times.empty() && !(time > times.back()))) {
      problem = "the travel times must be positive and increasing";
      return std::nullopt;
    }
    times.push_back(time);
  }
  return times;
}

std::string TravelTimeText(double time, int modelUnit) {
  return PlainText(time) + (KnownUnit(modelUnit) ? std::string(" ") + kTimeUnitNames[modelUnit] : "");
}

}  // namespace kestra
