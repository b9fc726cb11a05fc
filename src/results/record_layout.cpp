#include "results/record_layout.h"

#include "results/lahey_layout.h"
#include "results/powerstation_layout.h"
#include "results/sequential_layout.h"
#include "results/stream_layout.h"

namespace kestra {

const RecordLayout& LayoutOf(ResultFileFormat format) {
  static const PowerStationLayout powerStation;
  static const LaheyLayout lahey;
  static const SequentialLayout sequential;
  static const StreamLayout stream;
  switch (format) {
    case ResultFileFormat::PowerStation: return powerStation;
    case ResultFileFormat::Lahey: return lahey;
    case ResultFileFormat::Sequential: return sequential;
    case ResultFileFormat::Stream: break;
  }
  return stream;
}

std::string FormatName(ResultFileFormat format) {
  switch (format) {
    case ResultFileFormat::PowerStation: return "PowerStation";
    case ResultFileFormat::Lahey: return "Lahey";
    case ResultFileFormat::Sequential: return "sequential (4-byte markers)";
    case ResultFileFormat::Stream: break;
  }
  return "stream";
}

bool ContiguousRecordLayout::ReadRecordValues(BinaryFile& file, const RecordSpan& span, std::int64_t from,
                                              std::span<std::byte> dest) const {
  const auto count = static_cast<std::int64_t>(dest.size());
  if (from < 0 || count > span.length - from) return false;
  return file.ReadAt(span.dataStart + from, dest);
}

}  // namespace kestra
