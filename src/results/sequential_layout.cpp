#include "results/sequential_layout.h"

#include <array>

#include "core/byte_order.h"

namespace kestra {
namespace {

constexpr std::int64_t kMarkerBytes = 4;

bool MarkerIs(BinaryFile& file, std::int64_t offset, std::int64_t length) {
  std::array<std::byte, kMarkerBytes> marker{};
  return file.ReadAt(offset, marker) && Int32At(marker.data()) == length;
}

}  // namespace

bool SequentialLayout::ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length,
                                        RecordSpan& span) const {
  if (length < 0 || length > INT32_MAX) return false;
  span.start = start;
  span.dataStart = start + kMarkerBytes;
  span.length = length;
  span.end = start + RecordSize(length);
  return file.Holds(start, span.end - start) && MarkerIs(file, start, length);
}

bool SequentialLayout::SkipRecord(BinaryFile& file, const RecordSpan& span) const {
  return MarkerIs(file, span.end - kMarkerBytes, span.length);
}

void SequentialLayout::WriteRecord(std::ostream& out, std::span<const std::byte> data) const {
  std::string marker;
  AppendInt32(marker, static_cast<std::int32_t>(data.size()));
  out.write(marker.data(), kMarkerBytes);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.write(marker.data(), kMarkerBytes);
}

}  // namespace kestra
