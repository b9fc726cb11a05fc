#include "graphics/contour_table_edits.h"

#include <cmath>

namespace kestra {
namespace {

constexpr int kChannelShift[3] = {0, 8, 16};

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

float GridDiagonal(const ModelState& model) {
  const float width = model.NCOL > 0 ? model.XEDGE[model.NCOL] : 0.0f;
  const float length = model.NROW > 0 ? model.YEDGE[model.NROW] : 0.0f;
  return std::sqrt(width * width + length * length);
}

ValueRange DefaultLevelRange(const ModelState& model, const Settings& settings, bool drawdownsLoaded) {
  if (settings.contourDataSource != kDrawdownDataSource) return ResultRange(model, model.HEAD);
  return drawdownsLoaded ? ResultRange(model, model.DRAWDOWN) : ValueRange{0, 0};
}

std::optional<int> LevelCountOfRange(float minimum, float maximum, float interval) {
  if (!(interval > 0) || !(minimum <= maximum)) return std::nullopt;
  const double steps = (static_cast<double>(maximum) - minimum) / interval;
  if (!(steps < kMostContourLevels)) return std::nullopt;
  const int count = RoundHalfEven(steps);
  if (count >= kMostContourLevels) return std::nullopt;
  return count;
}

bool RebuildLevels(ContourTable& table, float minimum, float maximum, float interval, float diagonal) {
  const std::optional<int> count = LevelCountOfRange(minimum, maximum, interval);
  if (!count) return false;
  table.levels.assign(static_cast<std::size_t>(*count) + 1, ContourLevel{});
  float value = minimum;
  for (ContourLevel& level : table.levels) {
    level.value = value;
    level.label = 1;
    level.labelHeight = diagonal / 100;
    level.labelSpacing = diagonal / 10;
    value += interval;
  }
  return true;
}

void SpreadContourColors(ContourTable& table, Colour minimum, Colour maximum) {
  const int n = table.ContourCount();
  if (n <= 0) return;
  double channel[3], step[3];
  for (int c = 0; c < 3; ++c) {
    const int low = (minimum >> kChannelShift[c]) & 0xFF;
    const int high = (maximum >> kChannelShift[c]) & 0xFF;
    channel[c] = low;
    step[c] = static_cast<double>(high - low) / n;
  }
  for (ContourLevel& level : table.levels) {
    level.colour = RgbColour(RoundHalfEven(channel[0]), RoundHalfEven(channel[1]), RoundHalfEven(channel[2]));
    for (int c = 0; c < 3; ++c) channel[c] += step[c];
  }
}

void SetLabelRule(ContourTable& table, int first, int frequency) {
  int next = first;
  int position = 1;
  for (ContourLevel& level : table.levels) {
    const bool labelled = first > 0 && position == next;
    level.label = labelled ? 1 : 0;
    if (labelled) next = frequency > 0 ? next + frequency : 0;
    ++position;
  }
}

void SetLabelHeights(ContourTable& table, float height) {
  for (ContourLevel& level : table.levels) level.labelHeight = height;
}

void SetLabelSpacings(ContourTable& table, float spacing) {
  for (ContourLevel& level : table.levels) level.labelSpacing = spacing;
}

}  // namespace kestra
