#include "tracking/pathline_writer.h"

#include <cstring>

#include "core/number_fields.h"

namespace kestra {
namespace {

constexpr int kRecordDecimals = 11;  // the mask "0.00000000000E+00"
constexpr int kRecordNumbers = 5;
constexpr int kRecordIndices = 4;  // particle code, column, row, layer
constexpr int kLongestRecord =
    kRecordNumbers * (4 + ScientificTextMax(kRecordDecimals)) + kRecordIndices * (1 + kIntegerTextMax) + 2;

// One to four blanks.
char* WriteBlanks(char* p, int count) {
  std::memcpy(p, "    ", 4);
  return p + count;
}

// Coordinates take 21 characters: four blanks, or three before a minus sign.
char* WriteCoordinateField(char* p, float value) {
  return WriteScientificField(WriteBlanks(p, value < 0 ? 3 : 4), value, kRecordDecimals);
}

char* WriteValueField(char* p, double value) {
  return WriteScientificField(WriteBlanks(p, 4), value, kRecordDecimals);
}

char* WriteRecord(char* p, int particle, int direction, const PathPoint& point, float gridLengthY) {
  p = WriteIntegerField(p, static_cast<std::int64_t>(direction) * particle);
  p = WriteCoordinateField(p, static_cast<float>(point.point.X));
  p = WriteCoordinateField(p, gridLengthY - static_cast<float>(point.point.Y));
  p = WriteValueField(p, point.localZ);
  p = WriteCoordinateField(p, static_cast<float>(point.point.Z));
  p = WriteValueField(p, point.time);
  for (const std::int16_t index : {point.cell.column, point.cell.row, point.cell.layer})
    p = WriteIntegerField(WriteBlanks(p, 1), index);
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

}  // namespace

void AppendPathlineRecord(TextBuffer& out, int particle, int direction, const PathPoint& point, float gridLengthY) {
  out.EndAt(WriteRecord(out.Room(kLongestRecord), particle, direction, point, gridLengthY));
}

std::string PathlineRecord(int particle, int direction, const PathPoint& point, float gridLengthY) {
  char record[kLongestRecord];
  return {record, WriteRecord(record, particle, direction, point, gridLengthY)};
}

}  // namespace kestra
