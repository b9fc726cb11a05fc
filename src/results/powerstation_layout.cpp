#include "results/powerstation_layout.h"

#include <algorithm>
#include <cstring>

namespace kestra {
namespace {

constexpr std::int64_t kBlockData = 128;
constexpr std::int64_t kBlockSize = kBlockData + 2;

std::int64_t BlockCount(std::int64_t length) { return length == 0 ? 1 : (length + kBlockData - 1) / kBlockData; }

std::int64_t BlockBytes(std::int64_t length, std::int64_t block) {
  return std::min(kBlockData, length - block * kBlockData);
}

std::uint8_t LengthByte(std::int64_t length, std::int64_t block) {
  return static_cast<std::uint8_t>(BlockBytes(length, block) + 1);
}

bool ByteIs(BinaryFile& file, std::int64_t offset, std::uint8_t expected) {
  std::byte value{};
  return file.ReadAt(offset, std::span(&value, 1)) && static_cast<std::uint8_t>(value) == expected;
}

}  // namespace

bool PowerStationLayout::ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length,
                                          RecordSpan& span) const {
  if (length < 0) return false;
  span.start = start;
  span.dataStart = start + 1;
  span.length = length;
  span.end = start + RecordSize(length);
  return file.Holds(start, span.end - start) && ByteIs(file, start, LengthByte(length, 0));
}

bool PowerStationLayout::ReadRecordValues(BinaryFile& file, const RecordSpan& span, std::int64_t from,
                                          std::span<std::byte> dest) const {
  const auto count = static_cast<std::int64_t>(dest.size());
  if (from < 0 || count > span.length - from) return false;
  if (count == 0) return true;
  const std::int64_t firstBlock = from / kBlockData;
  const std::int64_t lastBlock = (from + count - 1) / kBlockData;
  const std::int64_t rawStart = span.start + firstBlock * kBlockSize;
  const std::int64_t rawEnd = span.start + lastBlock * kBlockSize + BlockBytes(span.length, lastBlock) + 2;
  file.scratch.resize(static_cast<std::size_t>(rawEnd - rawStart));
  if (!file.ReadAt(rawStart, file.scratch)) return false;
  for (std::int64_t block = firstBlock; block <= lastBlock; ++block) {
    const std::byte* raw = file.scratch.data() + (block - firstBlock) * kBlockSize;
    const std::int64_t bytes = BlockBytes(span.length, block);
    const auto lengthByte = static_cast<std::uint8_t>(raw[0]);
    if (lengthByte != LengthByte(span.length, block) || static_cast<std::uint8_t>(raw[bytes + 1]) != lengthByte)
      return false;
    const std::int64_t blockFirst = block * kBlockData;
    const std::int64_t copyFrom = std::max(from, blockFirst);
    const std::int64_t copyTo = std::min(from + count, blockFirst + bytes);
    std::memcpy(dest.data() + (copyFrom - from), raw + 1 + (copyFrom - blockFirst),
                static_cast<std::size_t>(copyTo - copyFrom));
  }
  return true;
}

bool PowerStationLayout::SkipRecord(BinaryFile& file, const RecordSpan& span) const {
  return ByteIs(file, span.end - 1, LengthByte(span.length, BlockCount(span.length) - 1));
}

std::int64_t PowerStationLayout::RecordSize(std::int64_t length) const { return length + 2 * BlockCount(length); }

void PowerStationLayout::WriteRecord(std::ostream& out, std::span<const std::byte> data) const {
  const auto length = static_cast<std::int64_t>(data.size());
  for (std::int64_t block = 0; block < BlockCount(length); ++block) {
    const char lengthByte = static_cast<char>(LengthByte(length, block));
    out.put(lengthByte);
    out.write(reinterpret_cast<const char*>(data.data() + block * kBlockData),
              static_cast<std::streamsize>(BlockBytes(length, block)));
    out.put(lengthByte);
  }
}

}  // namespace kestra
