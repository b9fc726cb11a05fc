#include "tracking/pathline_writer.h"

#include "core/number_format.h"

namespace kestra {
namespace {

constexpr int kRecordDecimals = 11;  // the mask "0.00000000000E+00"

// Coordinates take 21 characters: four blanks, or three before a minus sign.
std::string CoordinateField(float value) {
  return (value < 0 ? "   " : "    ") + ScientificText(value, kRecordDecimals);
}

std::string ValueField(double value) { return "    " + ScientificText(value, kRecordDecimals); }

}  // namespace

std::string PathlineRecord(int particle, int direction, const PathPoint& point, float gridLengthY) {
  const float x = static_cast<float>(point.point.X);
  const float y = gridLengthY - static_cast<float>(point.point.Y);
  const float z = static_cast<float>(point.point.Z);
  return IntegerMaskText(static_cast<std::int64_t>(direction) * particle) + CoordinateField(x) + CoordinateField(y) +
         ValueField(point.localZ) + CoordinateField(z) + ValueField(point.time) + " " +
         IntegerMaskText(point.cell.column) + " " + IntegerMaskText(point.cell.row) + " " +
         IntegerMaskText(point.cell.layer) + "\r\n";
}

}  // namespace kestra
