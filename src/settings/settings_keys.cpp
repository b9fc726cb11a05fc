#include "settings/settings_keys.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/number_format.h"
#include "settings/ini_file.h"

namespace kestra {
namespace {

constexpr int kMaxLabelDecimals = 15;  // beyond this a 32-bit level shows only noise

template <typename State, typename Value>
using Accessor = Value State::*;

template <typename Value>
std::optional<Value> FromNumber(double number) {
  if constexpr (std::is_same_v<Value, float>) {
    if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(number);
  } else if constexpr (std::is_same_v<Value, double>) {
    if (!std::isfinite(number)) return std::nullopt;
    return number;
  } else if constexpr (std::is_same_v<Value, std::int32_t>) {
    return RoundToInt32(number);
  } else {
    return RoundToInt16(number);
  }
}

// A number read as text and converted by the leading-number parse.
template <typename State, typename Value>
KeyOf<State> TextNumber(const char* section, const char* key, const char* defaultText, Accessor<State, Value> at,
                        bool written = true) {
  return {section, key, key, ReadForm::Text, defaultText, written,
          [at](State& s, const std::string& text) {
            if (auto value = FromNumber<Value>(LeadingNumber(text))) s.*at = *value;
          },
          [at](const State& s) { return NumberText(s.*at); }};
}

// A 16-bit integer read as a profile integer.
template <typename State>
KeyOf<State> ProfileInt16(const char* section, const char* key, std::int16_t defaultValue,
                          Accessor<State, std::int16_t> at, bool written = true) {
  return {section, key, key, ReadForm::Integer, std::to_string(defaultValue), written,
          [at](State& s, const std::string& text) {
            const long long value = ProfileInteger(text);
            if (value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max())
              s.*at = static_cast<std::int16_t>(value);
          },
          [at](const State& s) { return NumberText(s.*at); }};
}

// The file's reader trims a value unless it is in double quotes, as a
// prefix or suffix with its own blank (" m") is written.
SettingKey Text(const char* section, const char* key, Accessor<Settings, std::string> at) {
  return {section, key, key, ReadForm::Text, "", true, [at](Settings& s, const std::string& text) { s.*at = text; },
          [at](const Settings& s) { return QuotedIniValue(s.*at); }};
}

// Guards against values that would divide by zero or index nothing later.
template <typename Value>
void KeepPositive(SettingKey& key, Accessor<Settings, Value> at, Value fallback) {
  key.assign = [inner = key.assign, at, fallback](Settings& s, const std::string& text) {
    inner(s, text);
    if (!(s.*at > 0)) s.*at = fallback;
  };
}

std::vector<SettingKey> MapKeys(int n) {
  const std::string digit = std::to_string(n);
  std::vector<SettingKey> keys;
  auto textKey = [&](const std::string& name, const char* defaultText, ReadForm form,
                     std::function<void(DxfMapEntry&, const std::string&)> assign,
                     std::function<std::string(const DxfMapEntry&)> text) {
    keys.push_back({"DXF_MAPS", name, name, form, defaultText, true,
                    [n, assign](Settings& s, const std::string& value) { assign(s.dxfMaps[n], value); },
                    [n, text](const Settings& s) { return text(s.dxfMaps[n]); }});
  };
  auto floatAssign = [](float DxfMapEntry::*member) {
    return [member](DxfMapEntry& e, const std::string& text) {
      if (auto value = FromNumber<float>(LeadingNumber(text))) e.*member = *value;
    };
  };
  auto floatText = [](float DxfMapEntry::*member) {
    return [member](const DxfMapEntry& e) { return NumberText(e.*member); };
  };
  textKey("FILE#" + digit, "", ReadForm::Text, [](DxfMapEntry& e, const std::string& t) { e.file = t; },
          [](const DxfMapEntry& e) { return e.file; });
  textKey("SHIFT_X" + digit, "0", ReadForm::Text, floatAssign(&DxfMapEntry::shiftX), floatText(&DxfMapEntry::shiftX));
  textKey("SHIFT_Y" + digit, "0", ReadForm::Text, floatAssign(&DxfMapEntry::shiftY), floatText(&DxfMapEntry::shiftY));
  textKey("FACTOR" + digit, "0", ReadForm::Text, floatAssign(&DxfMapEntry::factor), floatText(&DxfMapEntry::factor));
  textKey("DISPLAY" + digit, "0", ReadForm::Integer,
          [](DxfMapEntry& e, const std::string& t) {
            const long long value = ProfileInteger(t);
            if (value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max())
              e.display = static_cast<std::int16_t>(value);
          },
          [](const DxfMapEntry& e) { return NumberText(e.display); });
  textKey("COLOR" + digit, "0", ReadForm::Text,
          [](DxfMapEntry& e, const std::string& t) {
            if (auto value = RoundToInt32(LeadingNumber(t))) e.color = *value;
          },
          [](const DxfMapEntry& e) { return NumberText(e.color); });
  return keys;
}


std::vector<SettingKey> BuildSettingKeys() {
  using I16 = std::int16_t;
  std::vector<SettingKey> keys = {
      TextNumber("OPTIONS", "HNOFLO", "-999.99", &Settings::HNOFLO, false),
      TextNumber("OPTIONS", "HDRY", "-1E+30", &Settings::HDRY, false),
      TextNumber("COLOR", "MESH", "12632256", &Settings::meshColor),
      TextNumber("COLOR", "INACTIVE_CELL", "8421504", &Settings::inactiveCellColor),
      TextNumber("COLOR", "FIXEDHEAD_CELL", "8388608", &Settings::fixedHeadCellColor),
      TextNumber("COLOR", "GHB_CELL", "16448", &Settings::ghbCellColor),
      TextNumber("COLOR", "DISCHARGE_WELL", "255", &Settings::dischargeWellColor),
      TextNumber("COLOR", "RECHARGE_WELL", "16711680", &Settings::rechargeWellColor),
      TextNumber("COLOR", "DRAIN", "8454143", &Settings::drainColor),
      TextNumber("COLOR", "RIVER", "16776960", &Settings::riverColor),
      TextNumber("COLOR", "Horizontal-Flow-Barriers", "0", &Settings::barrierColor),
      TextNumber("COLOR", "Bores", "0", &Settings::boresColor),
      TextNumber("COLOR", "Contours", "255", &Settings::contoursColor),
      TextNumber("COLOR", "RESERVOIR", "8404992", &Settings::reservoirColor),
      TextNumber("COLOR", "WaterTable", " 8388608", &Settings::waterTableColor),
      TextNumber("COLOR", "Particles", "40960", &Settings::particleColor),
      TextNumber("COLOR", "BackwardPaths", "16711680", &Settings::backwardPathColor),
      // Held as whole colours: a 7-digit float text would turn white into 16777220.
      TextNumber("COLOR", "MinContour", " 8388608", &Settings::minContourColor),
      TextNumber("COLOR", "MaxContour", "0", &Settings::maxContourColor),
      ProfileInt16("RES1", "OPTION", 2, &Settings::reservoirOption, false),
      ProfileInt16("GRID_APPEARANCE", "MESH", kOn, &Settings::showMesh),
      ProfileInt16("GRID_APPEARANCE", "INACTIVE_CELL", kOn, &Settings::showInactiveCells),
      ProfileInt16("GRID_APPEARANCE", "FIXEDHEAD_CELL", kOn, &Settings::showFixedHeadCells),
      ProfileInt16("GRID_APPEARANCE", "GHB_CELL", kOn, &Settings::showGhbCells),
      ProfileInt16("GRID_APPEARANCE", "DISCHARGE_WELL", kOn, &Settings::showDischargeWells),
      ProfileInt16("GRID_APPEARANCE", "RECHARGE_WELL", kOn, &Settings::showRechargeWells),
      ProfileInt16("GRID_APPEARANCE", "DRAIN", kOn, &Settings::showDrains),
      ProfileInt16("GRID_APPEARANCE", "RIVER", kOn, &Settings::showRivers),
      ProfileInt16("GRID_APPEARANCE", "Horizontal-Flow-Barriers", kOn, &Settings::showBarriers),
      ProfileInt16("GRID_APPEARANCE", "RESERVOIR", kOn, &Settings::showReservoirs),
      ProfileInt16("GRID_APPEARANCE", "WaterTable", kOff, &Settings::showWaterTable),
      ProfileInt16("GRID_APPEARANCE", "CONTOURS", kOff, &Settings::showContours),
      ProfileInt16("VelocityVectors", "Visible", kOff, &Settings::vectorsVisible),
      ProfileInt16("VelocityVectors", "Size", 25, &Settings::vectorSize),
      TextNumber("VelocityVectors", "Color", "8388736", &Settings::vectorColor),
      ProfileInt16("CONTOURS", "LabelStyle", 1, &Settings::labelStyle),
      ProfileInt16("CONTOURS", "DataSource", 0, &Settings::contourDataSource),
      ProfileInt16("CONTOURS", "Decimal", 2, &Settings::labelDecimals),
      Text("CONTOURS", "LabelPrefix", &Settings::labelPrefix),
      Text("CONTOURS", "LabelSuffix", &Settings::labelSuffix),
      ProfileInt16("CONTOURS", "LabelUphill", kOn, &Settings::labelUphill),
      ProfileInt16("ImageSettings", "Center_on_page", 1, &Settings::centerOnPage),
      ProfileInt16("ImageSettings", "Use_full_page", 1, &Settings::useFullPage),
      TextNumber("ImageSettings", "Width", "", &Settings::imageWidth),
      TextNumber("ImageSettings", "Height", "", &Settings::imageHeight),
      TextNumber("ImageSettings", "Top", "", &Settings::imageTop),
      TextNumber("ImageSettings", "Left", "", &Settings::imageLeft),
      ProfileInt16("SavePlotAs", "IncludeLowerXsection", 1, &Settings::includeLowerXsection),
      ProfileInt16("SavePlotAs", "IncludeRightXsection", 1, &Settings::includeRightXsection),
      ProfileInt16("CROSS_SECTIONS", "COLUMN", 1, &Settings::sectionColumn),
      ProfileInt16("CROSS_SECTIONS", "ROW", 1, &Settings::sectionRow),
      TextNumber("CROSS_SECTIONS", "EXAGGERATION", "1", &Settings::exaggeration),
      ProfileInt16("CROSS_SECTIONS", "VISIBLE", kOn, &Settings::sectionsVisible),
      ProfileInt16("CROSS_SECTIONS", "SHOW_GRID", kOn, &Settings::sectionGrid),
  };
  for (auto& key : keys) {
    if (key.section == "VelocityVectors" && key.key == "Color") key.writtenName = "color";
    if (key.section == "GRID_APPEARANCE" && key.key == "CONTOURS")
      key.assign = [inner = key.assign](Settings& s, const std::string& text) {
        inner(s, text);
        s.contourDisplay = s.showContours;
      };
    if (key.section == "SavePlotAs")
      key.assign = [inner = key.assign](Settings& s, const std::string& text) {
        inner(s, text);
        s.includeLowerXsection = static_cast<std::int16_t>(std::abs(s.includeLowerXsection));
        s.includeRightXsection = static_cast<std::int16_t>(std::abs(s.includeRightXsection));
      };
    if (key.key == "EXAGGERATION") KeepPositive(key, &Settings::exaggeration, 1.0f);
    if (key.key == "COLUMN") KeepPositive(key, &Settings::sectionColumn, I16{1});
    if (key.key == "ROW") KeepPositive(key, &Settings::sectionRow, I16{1});
    if (key.key == "Decimal")
      key.assign = [inner = key.assign](Settings& s, const std::string& text) {
        inner(s, text);
        s.labelDecimals = std::clamp<std::int16_t>(s.labelDecimals, 0, kMaxLabelDecimals);
      };
  }
  for (int n = 1; n <= kDxfMapCount; ++n) {
    auto mapKeys = MapKeys(n);
    keys.insert(keys.end(), mapKeys.begin(), mapKeys.end());
  }
  return keys;
}



// One year in each time unit, as the default step length is written.
const char* OneYearText(int unit) {
  constexpr const char* kOneYear[kTimeUnitCount] = {"31557600", "31557600", "525960", "8766", "365.25", "1"};
  return kOneYear[unit >= 0 && unit < kTimeUnitCount ? unit : 1];
}

// "Boundary cells": 0 sinks by flow sign, 1 every boundary cell a sink; a
// missing key or any other value keeps the rule by flow sign.
TimeKey BoundaryCellsKey() {
  return {"TIME", "Boundary cells", "Boundary cells", ReadForm::Integer, "0", true,
          [](TrackingSettings& s, const std::string& text) {
            s.BoundaryCells = ProfileInteger(text) == static_cast<long long>(BoundaryCellRule::AllAreSinks)
                                  ? BoundaryCellRule::AllAreSinks
                                  : BoundaryCellRule::SinksByFlowSign;
          },
          [](const TrackingSettings& s) { return NumberText(static_cast<std::int16_t>(s.BoundaryCells)); }};
}

// A TRACKING key holding a rule by its code; a missing key or a code the
// rule does not have gives `fallback`.
template <typename Rule>
TimeKey RuleKey(const char* name, Rule TrackingSettings::*field, Rule fallback, Rule other) {
  const auto code = [](Rule rule) { return static_cast<std::int16_t>(rule); };
  return {"TRACKING", name, name, ReadForm::Integer, NumberText(code(fallback)), true,
          [=](TrackingSettings& s, const std::string& text) {
            s.*field = ProfileInteger(text) == code(other) ? other : fallback;
          },
          [=](const TrackingSettings& s) { return NumberText(code(s.*field)); }};
}

}  // namespace

long long ProfileInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  long long value = 0;
  constexpr long long kLimit = 1LL << 40;  // far beyond any 32-bit value; stops overflow
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && value < kLimit)
    value = value * 10 + (text[pos++] - '0');
  return negative ? -value : value;
}

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = BuildSettingKeys();
  return keys;
}

std::vector<TimeKey> TimeKeys(int modelTimeUnit, int currentUnit) {
  using I16 = std::int16_t;
  std::vector<TimeKey> keys = {
      ProfileInt16<TrackingSettings>("TIME", "Current UNIT", static_cast<I16>(modelTimeUnit), &TrackingSettings::TimeUnit),
      TextNumber("TIME", "STEP LENGHT", OneYearText(currentUnit), &TrackingSettings::StepLength),
      TextNumber("TIME", "Maximum Steps", "100", &TrackingSettings::MaximumSteps),
      TextNumber("TIME", "Mark Interval", "1", &TrackingSettings::MarkInterval),
      TextNumber("TIME", "Mark Size on Top View", "10", &TrackingSettings::MarkSizeTopView),
      TextNumber("TIME", "Mark Size on Xsections", "3", &TrackingSettings::MarkSizeXsections),
      ProfileInt16<TrackingSettings>("TIME", "Mark on Top View", 0, &TrackingSettings::MarkOnTopView),
      ProfileInt16<TrackingSettings>("TIME", "Mark on Xsections", 0, &TrackingSettings::MarkOnXsections),
      BoundaryCellsKey(),
      RuleKey("Face velocities", &TrackingSettings::FaceVelocities, FaceVelocityRule::OwnCell,
              FaceVelocityRule::Interpolated),
      RuleKey("Weak sinks", &TrackingSettings::WeakSinks, WeakCellRule::Stop, WeakCellRule::PassThrough),
      RuleKey("Weak sources", &TrackingSettings::WeakSources, WeakCellRule::PassThrough, WeakCellRule::Stop),
      RuleKey("Unsaved steps", &TrackingSettings::UnsavedSteps, UnsavedStepRule::Refuse,
              UnsavedStepRule::HoldLastSaved),
  };
  // A unit outside the table, a step length or mark interval of zero would
  // stall or divide the tracking by zero: they fall back to their defaults.
  keys[0].assign = [inner = keys[0].assign, modelTimeUnit](TrackingSettings& s, const std::string& text) {
    inner(s, text);
    if (s.TimeUnit < 0 || s.TimeUnit >= kTimeUnitCount) s.TimeUnit = static_cast<I16>(modelTimeUnit);
  };
  keys[1].assign = [inner = keys[1].assign, currentUnit](TrackingSettings& s, const std::string& text) {
    inner(s, text);
    if (!(s.StepLength > 0)) s.StepLength = LeadingNumber(OneYearText(currentUnit));
  };
  keys[3].assign = [inner = keys[3].assign](TrackingSettings& s, const std::string& text) {
    inner(s, text);
    if (!(s.MarkInterval > 0)) s.MarkInterval = 1;
  };
  return keys;
}

}  // namespace kestra
