// The entries of the environment options: filled from the display settings,
// checked and stored back when the user confirms.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/settings.h"

namespace kestra {

// The exaggerations the sections accept.
inline constexpr double kLeastExaggeration = 0.00001;
inline constexpr double kMostExaggeration = 1000;

// Grid, inactive cells, constant heads, general-head cells, discharge wells,
// recharge wells, drains, rivers, barriers, reservoirs and the water table.
inline constexpr int kPlanElementCount = 11;

// The shown switch and colour of each element, in that order.
inline constexpr std::array<std::int16_t Settings::*, kPlanElementCount> kElementSwitches = {
    &Settings::showMesh,      &Settings::showInactiveCells, &Settings::showFixedHeadCells, &Settings::showGhbCells,
    &Settings::showDischargeWells, &Settings::showRechargeWells, &Settings::showDrains,   &Settings::showRivers,
    &Settings::showBarriers,  &Settings::showReservoirs,    &Settings::showWaterTable};
inline constexpr std::array<std::int32_t Settings::*, kPlanElementCount> kElementColours = {
    &Settings::meshColor,     &Settings::inactiveCellColor, &Settings::fixedHeadCellColor, &Settings::ghbCellColor,
    &Settings::dischargeWellColor, &Settings::rechargeWellColor, &Settings::drainColor,   &Settings::riverColor,
    &Settings::barrierColor,  &Settings::reservoirColor,    &Settings::waterTableColor};

// What the dialog shows; numbers as typed.
struct EnvironmentEntries {
  std::string row, column, minElevation, maxElevation, exaggeration, vectorSize;
  std::array<bool, kPlanElementCount> shown{};
  std::array<std::int32_t, kPlanElementCount> colours{};
  bool sectionsVisible = true;
  bool sectionGrid = true;
  bool vectorsVisible = false;
  std::int32_t vectorColour = 0;
  bool contoursVisible = false;
  bool labelUphill = true;
  std::int16_t dataSource = 0;
};

// The field a refused entry sends the user back to.
enum class EnvironmentField { None, Row, Column, MinElevation, MaxElevation, Exaggeration, VectorSize };

struct EnvironmentCheck {
  EnvironmentField field = EnvironmentField::None;
  std::string message;  // empty when every entry is accepted
};

inline constexpr const char* kRealNumberMessage = "Please enter a real number";
inline constexpr const char* kElevationOrderMessage = "The maximum elevation must be greater than the minimum elevation";
inline constexpr const char* kExaggerationRangeMessage = "Valid range is 0.00001 to 1000";
inline constexpr const char* kVectorSizeMessage = "Valid range is 1 to 32767";

// "Valid range is 1 to" and the count in the number-to-text form.
std::string CountRangeMessage(int lowest, int highest);

// The entries for the settings and the elevation range shown on the sections.
EnvironmentEntries EnvironmentEntriesFrom(const Settings& settings, float minElevation, float maxElevation);

// The first refused entry, in this order: projection row (1..nrow), column
// (1..ncol), both elevations numbers, maximum above minimum, exaggeration
// 0.00001..1000, vector size 1..32767.
EnvironmentCheck CheckEnvironmentEntries(const EnvironmentEntries& entries, int ncol, int nrow);

// Stores checked entries into the settings (the contour switch into both
// CONTOURS switches) and the elevation range.
void StoreEnvironmentEntries(const EnvironmentEntries& entries, Settings& settings, float& minElevation,
                             float& maxElevation);

}  // namespace kestra
