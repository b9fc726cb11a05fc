// The contour level table of a model and its contour file (".ctr"): a 16-bit
// count, then count + 1 records of 30 bytes, little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "settings/settings.h"

namespace kestra {

// CONTOURS/DataSource: 0 contours the heads, 1 the drawdowns.
inline constexpr std::int16_t kHeadDataSource = 0;
inline constexpr std::int16_t kDrawdownDataSource = 1;

struct ContourLevel {
  float value = 0;
  std::int32_t colour = 0;  // RGB, red in the low byte
  std::int16_t label = 0;   // 1: the line carries labels
  float labelHeight = 0;    // model length units
  float labelSpacing = 0;   // model length units
  std::array<std::uint8_t, 12> reserved{};  // carried from the file and back unchanged
  bool operator==(const ContourLevel&) const = default;
};

// Levels 0..ContourCount, drawn in table order.
struct ContourTable {
  std::vector<ContourLevel> levels;
  int ContourCount() const { return static_cast<int>(levels.size()) - 1; }
  bool operator==(const ContourTable&) const = default;
};

struct ValueRange {
  float minimum = 1.0E+30f;
  float maximum = -1.0E+30f;
};

// Minimum and maximum of `values` over the cells of CurrentLayer whose IBOUND
// is not 0; (1E+30, -1E+30) when there is none.
ValueRange ResultRange(const ModelState& state, const CellArray<float>& values);

// Labelled levels at the round values (1, 2, 2.5 or 5 times a power of ten
// apart) that put about ten steps on the range; eleven levels at the
// minimum for a range without width. Colour 0, label height diagonal/100,
// spacing diagonal/10.
ContourTable DefaultContourTable(const ValueRange& range, float diagonal);

// For settings that store no label format: fixed labels with the decimals
// the table's step needs and the length unit after them ("41.5 m").
void UseReadableLabels(Settings& settings, const ContourTable& table, const std::string& unit);

// The most levels a contour file may hold: its count is a 16-bit number of
// levels less one.
inline constexpr int kMostContourLevels = 32767;

// False (table unchanged) when the file is missing, or, with the reason in
// `problem`, when its count is negative, above 32766 or promises more
// records than the file holds.
bool ReadContourTable(const std::string& path, ContourTable& table, std::string& problem);
// Replaces the file whole (core/atomic_file.h); false, with the reason in
// `error`, when it could not be written.
bool WriteContourTable(const std::string& path, const ContourTable& table, std::string& error);

// The table of `path` when it reads, else the default table over the heads
// (DataSource 0) or the drawdowns (DataSource 1; all levels 0 when the
// drawdowns are not loaded) of CurrentLayer. A damaged file is reported.
ContourTable ReadContourLevels(const std::string& path, const ModelState& state, const Settings& settings,
                               bool drawdownsLoaded, UserInterface& ui);

}  // namespace kestra
