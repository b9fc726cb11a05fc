#include "results/lahey_layout.h"

#include <algorithm>
#include <array>

#include "core/byte_order.h"

namespace kestra {
namespace {

constexpr int kLargestMarker = 4;
constexpr int kCountBits = 2;
constexpr std::uint64_t kCountMask = 3;

std::uint64_t EncodedMarker(std::int64_t value, int size) {
  return (static_cast<std::uint64_t>(value) << kCountBits) | static_cast<std::uint64_t>(size - 1);
}

}  // namespace

int LaheyMarkerSize(std::int64_t value) {
  if (value <= 63) return 1;
  if (value <= 16383) return 2;
  if (value <= 4194303) return 3;
  return 4;
}

bool LaheyLayout::ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length,
                                   RecordSpan& span) const {
  std::array<std::byte, kLargestMarker> marker{};
  const auto available = std::min<std::int64_t>(kLargestMarker, file.Size() - start);
  if (available < 1 || !file.ReadAt(start, std::span(marker.data(), static_cast<std::size_t>(available))))
    return false;
  const int markerSize = 1 + static_cast<int>(static_cast<std::uint8_t>(marker[0]) & kCountMask);
  if (markerSize > available) return false;
  const auto value = static_cast<std::int64_t>(LittleEndianUnsigned(marker.data(), markerSize) >> kCountBits);
  if (value != length) return false;
  span.start = start;
  span.dataStart = start + markerSize;
  span.length = length;
  span.end = span.dataStart + length + LaheyMarkerSize(length + markerSize);
  return file.Holds(start, span.end - start);
}

bool LaheyLayout::SkipRecord(BinaryFile& file, const RecordSpan& span) const {
  const std::int64_t expected = span.length + (span.dataStart - span.start);
  const int trailerSize = LaheyMarkerSize(expected);
  std::array<std::byte, kLargestMarker> trailer{};
  if (!file.ReadAt(span.end - trailerSize, std::span(trailer.data(), static_cast<std::size_t>(trailerSize))))
    return false;
  // Read backwards: the last byte is the lowest.
  std::reverse(trailer.begin(), trailer.begin() + trailerSize);
  const std::uint64_t encoded = LittleEndianUnsigned(trailer.data(), trailerSize);
  return (encoded & kCountMask) == static_cast<std::uint64_t>(trailerSize - 1) &&
         static_cast<std::int64_t>(encoded >> kCountBits) == expected;
}

std::int64_t LaheyLayout::RecordSize(std::int64_t length) const {
  const int headerSize = LaheyMarkerSize(length);
  return headerSize + length + LaheyMarkerSize(length + headerSize);
}

void LaheyLayout::WriteRecord(std::ostream& out, std::span<const std::byte> data) const {
  const auto length = static_cast<std::int64_t>(data.size());
  const int headerSize = LaheyMarkerSize(length);
  std::string header;
  AppendLittleEndian(header, EncodedMarker(length, headerSize), headerSize);
  const std::int64_t trailerValue = length + headerSize;
  const int trailerSize = LaheyMarkerSize(trailerValue);
  std::string trailer;
  AppendLittleEndian(trailer, EncodedMarker(trailerValue, trailerSize), trailerSize);
  std::reverse(trailer.begin(), trailer.end());
  out.write(header.data(), static_cast<std::streamsize>(header.size()));
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.write(trailer.data(), static_cast<std::streamsize>(trailer.size()));
}

}  // namespace kestra
