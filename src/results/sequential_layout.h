// Sequential unformatted files of gfortran and Intel Fortran builds: every
// record framed by a 4-byte little-endian marker holding its data length, the
// same before and after the data. No signature byte.
#pragma once

#include "results/record_layout.h"

namespace kestra {

class SequentialLayout final : public ContiguousRecordLayout {
 public:
  ResultFileFormat Format() const override { return ResultFileFormat::Sequential; }
  std::int64_t FirstRecordOffset() const override { return 0; }
  // Records of 2 GiB and more (split into subrecords by gfortran) are refused.
  bool ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length, RecordSpan& span) const override;
  bool SkipRecord(BinaryFile& file, const RecordSpan& span) const override;
  std::int64_t RecordSize(std::int64_t length) const override { return length + 8; }
  std::string FileStart() const override { return {}; }
  void WriteRecord(std::ostream& out, std::span<const std::byte> data) const override;
};

}  // namespace kestra
