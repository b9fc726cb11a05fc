#include "graphics/contour_table.h"

#include <algorithm>
#include <cmath>

#include "core/atomic_file.h"
#include "core/binary_values.h"
#include "core/byte_order.h"
#include "core/round_numbers.h"
#include "graphics/contour_table_edits.h"

namespace kestra {
namespace {

constexpr std::size_t kCountBytes = 2;
constexpr std::size_t kRecordBytes = 30;
constexpr int kDefaultSteps = 10;

ContourLevel LevelAt(const std::byte* record) {
  ContourLevel level;
  level.value = Float32At(record);
  level.colour = Int32At(record + 4);
  level.label = Int16At(record + 8);
  level.labelHeight = Float32At(record + 10);
  level.labelSpacing = Float32At(record + 14);
  std::transform(record + 18, record + kRecordBytes, level.reserved.begin(),
                 [](std::byte b) { return static_cast<std::uint8_t>(b); });
  return level;
}

}  // namespace

ValueRange ResultRange(const ModelState& state, const CellArray<float>& values) {
  ValueRange range;
  const int layer = state.CurrentLayer;
  if (layer < 1 || layer > state.NLAY) return range;
  for (int i = 1; i <= state.NROW; ++i)
    for (int j = 1; j <= state.NCOL; ++j) {
      if (state.IBOUND(j, i, layer) == 0) continue;
      range.minimum = std::min(range.minimum, values(j, i, layer));
      range.maximum = std::max(range.maximum, values(j, i, layer));
    }
  return range;
}

namespace {

std::vector<double> DefaultLevelValues(const ValueRange& range) {
  const double span = static_cast<double>(range.maximum) - range.minimum;
  const double step = RoundStep(span, kDefaultSteps, true);
  if (step > 0) {
    std::vector<double> values = MultiplesWithin(range.minimum, range.maximum, step);
    if (!values.empty()) return values;
  }
  // No range to divide (one value, or none loaded): every level at its low end.
  return std::vector<double>(kDefaultSteps + 1, range.minimum);
}

}  // namespace

ContourTable DefaultContourTable(const ValueRange& range, float diagonal) {
  ContourTable table;
  for (const double value : DefaultLevelValues(range)) {
    ContourLevel level;
    level.value = static_cast<float>(value);
    level.label = 1;
    level.labelHeight = diagonal / 100;
    level.labelSpacing = diagonal / 10;
    table.levels.push_back(level);
  }
  return table;
}

void UseReadableLabels(Settings& settings, const ContourTable& table, const std::string& unit) {
  if (settings.labelFormatStored) return;
  settings.labelStyle = 0;
  settings.labelDecimals = 0;
  if (table.levels.size() >= 2)
    settings.labelDecimals = static_cast<std::int16_t>(
        DecimalsOfStep(std::fabs(static_cast<double>(table.levels[1].value) - table.levels[0].value)));
  settings.labelPrefix.clear();
  settings.labelSuffix = unit.empty() ? "" : " " + unit;
}

bool ReadContourTable(const std::string& path, ContourTable& table, std::string& problem) {
  problem.clear();
  BinaryFile file;
  if (!file.Open(path)) return false;
  const auto count = ReadInt16At(file, 0);
  if (!count || *count < 0 || *count >= kMostContourLevels) {
    problem = "The contour file " + path + " has no valid level count; the default contour levels are used";
    return false;
  }
  const std::size_t records = static_cast<std::size_t>(*count) + 1;
  std::vector<std::byte> bytes;
  if (!ReadBytesAt(file, kCountBytes, records * kRecordBytes, bytes)) {
    problem = "The contour file " + path + " holds fewer levels than it counts; the default contour levels are used";
    return false;
  }
  ContourTable read;
  for (std::size_t n = 0; n < records; ++n) read.levels.push_back(LevelAt(bytes.data() + n * kRecordBytes));
  table = std::move(read);
  return true;
}

bool WriteContourTable(const std::string& path, const ContourTable& table, std::string& error) {
  std::string bytes;
  AppendInt16(bytes, static_cast<std::int16_t>(table.ContourCount()));
  for (const ContourLevel& level : table.levels) {
    AppendFloat(bytes, level.value);
    AppendInt32(bytes, level.colour);
    AppendInt16(bytes, level.label);
    AppendFloat(bytes, level.labelHeight);
    AppendFloat(bytes, level.labelSpacing);
    bytes.append(level.reserved.begin(), level.reserved.end());
  }
  return WriteFileAtomically(path, bytes, error);
}

ContourTable ReadContourLevels(const std::string& path, const ModelState& state, const Settings& settings,
                               bool drawdownsLoaded, UserInterface& ui) {
  ContourTable table =
      DefaultContourTable(DefaultLevelRange(state, settings, drawdownsLoaded), GridDiagonal(state));
  std::string problem;
  if (!ReadContourTable(path, table, problem) && !problem.empty()) Complain(ui, problem, MessageIcon::Exclamation);
  return table;
}

}  // namespace kestra
