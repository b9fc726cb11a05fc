// The MS-FORTRAN PowerStation record layout: file signature byte 75, then
// records split into blocks of at most 128 data bytes, each framed by the
// same length byte before and after it. A length byte of 129 frames 128
// bytes; any other value b frames b - 1 bytes and closes the record. A record
// whose length is an exact multiple of 128 ends with a block of 129 and
// nothing after it, so the reader takes the length from the record's header
// (4n + 2 ceil(n / 32) bytes for n 4-byte values).
#pragma once

#include "results/record_layout.h"

namespace kestra {

inline constexpr unsigned char kPowerStationSignature = 75;

class PowerStationLayout final : public RecordLayout {
 public:
  ResultFileFormat Format() const override { return ResultFileFormat::PowerStation; }
  std::int64_t FirstRecordOffset() const override { return 1; }
  bool ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length, RecordSpan& span) const override;
  bool ReadRecordValues(BinaryFile& file, const RecordSpan& span, std::int64_t from,
                        std::span<std::byte> dest) const override;
  bool SkipRecord(BinaryFile& file, const RecordSpan& span) const override;
  std::int64_t RecordSize(std::int64_t length) const override;
  std::string FileStart() const override { return std::string(1, static_cast<char>(kPowerStationSignature)); }
  void WriteRecord(std::ostream& out, std::span<const std::byte> data) const override;
};

}  // namespace kestra
