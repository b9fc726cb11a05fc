#include "tracking/pathline_writer.h"

#include "core/number_format.h"

namespace kestra {
namespace {

constexpr int kRecordDecimals = 11;  // the mask "0.00000000000E+00"

// Coordinates take 21 characters: four blanks, or three before a minus sign.
void AppendCoordinateField(std::string& out, float value) {
  out.append(value < 0 ? "   " : "    ");
  AppendScientificText(out, value, kRecordDecimals);
}

void AppendValueField(std::string& out, double value) {
  out.append("    ");
  AppendScientificText(out, value, kRecordDecimals);
}

}  // namespace

void AppendPathlineRecord(std::string& out, int particle, int direction, const PathPoint& point, float gridLengthY) {
  AppendIntegerMaskText(out, static_cast<std::int64_t>(direction) * particle);
  AppendCoordinateField(out, static_cast<float>(point.point.X));
  AppendCoordinateField(out, gridLengthY - static_cast<float>(point.point.Y));
  AppendValueField(out, point.localZ);
  AppendCoordinateField(out, static_cast<float>(point.point.Z));
  AppendValueField(out, point.time);
  for (const std::int16_t index : {point.cell.column, point.cell.row, point.cell.layer}) {
    out.push_back(' ');
    AppendIntegerMaskText(out, index);
  }
  out.append("\r\n");
}

std::string PathlineRecord(int particle, int direction, const PathPoint& point, float gridLengthY) {
  std::string record;
  AppendPathlineRecord(record, particle, direction, point, gridLengthY);
  return record;
}

}  // namespace kestra
