// Travel times as a user types them: "50,365,1825" in the model's time unit,
// or each with its own unit ("50d,1y,5y").
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestra {

// The travel times of a comma-separated list in the model's time unit
// `modelUnit` (a code 0..5); an empty list gives none. Nothing, with the
// reason in `problem`, for an item that is no time, a unit the model cannot
// convert to, or times that are not positive and increasing.
std::optional<std::vector<double>> ParseTravelTimes(const std::string& list, int modelUnit, std::string& problem);

// "365.25 days", or "365.25" for a model without a time unit.
std::string TravelTimeText(double time, int modelUnit);

}  // namespace kestra
