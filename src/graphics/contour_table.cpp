#include "graphics/contour_table.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "input/random_access_file.h"

namespace kestra {
namespace {

constexpr std::size_t kCountBytes = 2;
constexpr std::size_t kRecordBytes = 30;
constexpr int kDefaultSteps = 10;
constexpr std::int16_t kDrawdownSource = 1;

ContourLevel LevelAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  ContourLevel level;
  level.value = FloatAt(bytes, offset);
  level.colour = Int32At(bytes, offset + 4);
  level.label = Int16At(bytes, offset + 8);
  level.labelHeight = FloatAt(bytes, offset + 10);
  level.labelSpacing = FloatAt(bytes, offset + 14);
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset + 18), level.reserved.size(), level.reserved.begin());
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

ContourTable DefaultContourTable(const ValueRange& range, float diagonal) {
  ContourTable table;
  const float step = (range.maximum - range.minimum) / kDefaultSteps;
  for (int k = 0; k <= kDefaultSteps; ++k) {
    ContourLevel level;
    level.value = range.minimum + static_cast<float>(k) * step;
    level.label = 1;
    level.labelHeight = diagonal / 100;
    level.labelSpacing = diagonal / 10;
    table.levels.push_back(level);
  }
  return table;
}

bool ReadContourTable(const std::string& path, ContourTable& table) {
  RandomAccessFile file;
  if (!file.Open(path)) return false;
  const auto count = file.ReadInt16(0);
  if (!count || *count < 0) return false;
  const std::size_t records = static_cast<std::size_t>(*count) + 1;
  std::vector<std::uint8_t> bytes;
  if (!file.ReadBytes(kCountBytes, records * kRecordBytes, bytes)) return false;
  ContourTable read;
  for (std::size_t n = 0; n < records; ++n) read.levels.push_back(LevelAt(bytes, n * kRecordBytes));
  table = std::move(read);
  return true;
}

bool WriteContourTable(const std::string& path, const ContourTable& table) {
  std::vector<std::uint8_t> bytes;
  PutInt16(bytes, static_cast<std::int16_t>(table.ContourCount()));
  for (const ContourLevel& level : table.levels) {
    PutFloat(bytes, level.value);
    PutInt32(bytes, level.colour);
    PutInt16(bytes, level.label);
    PutFloat(bytes, level.labelHeight);
    PutFloat(bytes, level.labelSpacing);
    bytes.insert(bytes.end(), level.reserved.begin(), level.reserved.end());
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

ContourTable ReadContourLevels(const std::string& path, const ModelState& state, const Settings& settings,
                               bool drawdownsLoaded) {
  const float width = state.NCOL > 0 ? state.XEDGE[state.NCOL] : 0.0f;
  const float height = state.NROW > 0 ? state.YEDGE[state.NROW] : 0.0f;
  const float diagonal = std::sqrt(width * width + height * height);
  ValueRange range = ResultRange(state, state.HEAD);
  if (settings.contourDataSource == kDrawdownSource)
    range = drawdownsLoaded ? ResultRange(state, state.DRAWDOWN) : ValueRange{0, 0};
  ContourTable table = DefaultContourTable(range, diagonal);
  ReadContourTable(path, table);
  return table;
}

}  // namespace kestra
