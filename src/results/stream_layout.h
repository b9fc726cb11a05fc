// Unformatted stream files (ACCESS='STREAM'), the default of current
// MODFLOW-2005, MODFLOW-NWT and MODFLOW-USG builds: the data of one record
// after the other, no markers, so every record length comes from the header
// the reader has already decoded.
#pragma once

#include "results/record_layout.h"

namespace kestra {

class StreamLayout final : public ContiguousRecordLayout {
 public:
  ResultFileFormat Format() const override { return ResultFileFormat::Stream; }
  std::int64_t FirstRecordOffset() const override { return 0; }
  bool ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length, RecordSpan& span) const override {
    span = {start, start, length, start + length};
    return file.Holds(start, length);
  }
  bool SkipRecord(BinaryFile&, const RecordSpan&) const override { return true; }
  std::int64_t RecordSize(std::int64_t length) const override { return length; }
  std::string FileStart() const override { return {}; }
  void WriteRecord(std::ostream& out, std::span<const std::byte> data) const override {
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
};

}  // namespace kestra
