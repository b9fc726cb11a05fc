#include "settings/environment_entries.h"

#include <cmath>
#include <optional>

#include "core/number_format.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr int kLargestVectorSize = 32767;

// The whole field as a number, blanks around it allowed (the fields show
// numbers with their leading blank).
std::optional<double> Number(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(" \t");
  const auto value = ParseNumber(text.substr(first, last - first + 1));
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

bool IntegerWithin(const std::string& text, int lowest, int highest) {
  const auto value = Number(text);
  return value && *value == std::floor(*value) && *value >= lowest && *value <= highest;
}

std::int16_t Switch(bool on) { return on ? kOn : kOff; }

}  // namespace

std::string CountRangeMessage(int lowest, int highest) {
  return "Valid range is" + NumberText(lowest) + " to" + NumberText(highest);
}

EnvironmentEntries EnvironmentEntriesFrom(const Settings& s, float minElevation, float maxElevation) {
  EnvironmentEntries e;
  e.row = NumberText(s.sectionRow);
  e.column = NumberText(s.sectionColumn);
  e.minElevation = NumberText(minElevation);
  e.maxElevation = NumberText(maxElevation);
  e.exaggeration = NumberText(s.exaggeration);
  e.vectorSize = NumberText(s.vectorSize);
  for (int n = 0; n < kPlanElementCount; ++n) {
    e.shown[n] = IsOn(s.*kElementSwitches[n]);
    e.colours[n] = s.*kElementColours[n];
  }
  e.sectionsVisible = IsOn(s.sectionsVisible);
  e.sectionGrid = IsOn(s.sectionGrid);
  e.vectorsVisible = IsOn(s.vectorsVisible);
  e.vectorColour = s.vectorColor;
  e.contoursVisible = IsOn(s.contourDisplay);
  e.labelUphill = IsOn(s.labelUphill);
  e.dataSource = s.contourDataSource;
  return e;
}

EnvironmentCheck CheckEnvironmentEntries(const EnvironmentEntries& e, int ncol, int nrow) {
  if (!IntegerWithin(e.row, 1, nrow)) return {EnvironmentField::Row, CountRangeMessage(1, nrow)};
  if (!IntegerWithin(e.column, 1, ncol)) return {EnvironmentField::Column, CountRangeMessage(1, ncol)};
  const auto low = Number(e.minElevation);
  if (!low) return {EnvironmentField::MinElevation, kRealNumberMessage};
  const auto high = Number(e.maxElevation);
  if (!high) return {EnvironmentField::MaxElevation, kRealNumberMessage};
  if (!(static_cast<float>(*high) > static_cast<float>(*low)))
    return {EnvironmentField::MaxElevation, kElevationOrderMessage};
  const auto exaggeration = Number(e.exaggeration);
  if (!exaggeration || *exaggeration < kLeastExaggeration || *exaggeration > kMostExaggeration)
    return {EnvironmentField::Exaggeration, kExaggerationRangeMessage};
  if (!IntegerWithin(e.vectorSize, 1, kLargestVectorSize)) return {EnvironmentField::VectorSize, kVectorSizeMessage};
  return {};
}

void StoreEnvironmentEntries(const EnvironmentEntries& e, Settings& s, float& minElevation, float& maxElevation) {
  for (int n = 0; n < kPlanElementCount; ++n) {
    s.*kElementSwitches[n] = Switch(e.shown[n]);
    s.*kElementColours[n] = e.colours[n];
  }
  s.exaggeration = static_cast<float>(LeadingNumber(e.exaggeration));
  s.sectionsVisible = Switch(e.sectionsVisible);
  s.sectionGrid = Switch(e.sectionGrid);
  minElevation = static_cast<float>(LeadingNumber(e.minElevation));
  maxElevation = static_cast<float>(LeadingNumber(e.maxElevation));
  s.sectionColumn = static_cast<std::int16_t>(LeadingNumber(e.column));
  s.sectionRow = static_cast<std::int16_t>(LeadingNumber(e.row));
  s.vectorsVisible = Switch(e.vectorsVisible);
  s.vectorColor = e.vectorColour;
  s.vectorSize = static_cast<std::int16_t>(LeadingNumber(e.vectorSize));
  s.labelUphill = Switch(e.labelUphill);
  s.contourDisplay = s.showContours = Switch(e.contoursVisible);
  s.contourDataSource = e.dataSource;
}

}  // namespace kestra
