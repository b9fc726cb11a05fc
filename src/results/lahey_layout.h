// The Lahey-Fortran record layout: file signature byte 253, then records of
// header marker, data, trailer marker. A marker of 1 to 4 bytes carries the
// count of its further bytes in the two lowest bits of the byte nearest the
// data's outside (the header's first byte, the trailer's last byte) and a
// value in the remaining bits: the data length in the header, the data
// length plus the header marker's size in the trailer, which reads backwards.
#pragma once

#include "results/record_layout.h"

namespace kestra {

inline constexpr unsigned char kLaheySignature = 253;
// The largest value a 4-byte marker holds (30 significant bits).
inline constexpr std::int64_t kLaheyLargestMarkerValue = (std::int64_t{1} << 30) - 1;

// Bytes of the shortest marker that holds `value`: 1 up to 63, 2 up to 16383,
// 3 up to 4194303, 4 beyond.
int LaheyMarkerSize(std::int64_t value);

class LaheyLayout final : public ContiguousRecordLayout {
 public:
  ResultFileFormat Format() const override { return ResultFileFormat::Lahey; }
  std::int64_t FirstRecordOffset() const override { return 1; }
  bool ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length, RecordSpan& span) const override;
  bool SkipRecord(BinaryFile& file, const RecordSpan& span) const override;
  std::int64_t RecordSize(std::int64_t length) const override;
  std::string FileStart() const override { return std::string(1, static_cast<char>(kLaheySignature)); }
  // `data` must be shorter than kLaheyLargestMarkerValue - 4 bytes.
  void WriteRecord(std::ostream& out, std::span<const std::byte> data) const override;
};

}  // namespace kestra
