#include "results/layer_result_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/byte_order.h"

namespace kestra {
namespace {

// KSTP, KPER, PERTIM, TOTIM, TEXT, NCOL, NROW, ILAY: 44 bytes with 4-byte reals.
std::int64_t HeaderBytes(int realBytes) { return 36 + 2 * std::int64_t{realBytes}; }

void DecodeHeader(const std::byte* bytes, int realBytes, LayerResultHeader& header) {
  header.KSTP = Int32At(bytes);
  header.KPER = Int32At(bytes + 4);
  header.PERTIM = RealAt(bytes + 8, realBytes);
  header.TOTIM = RealAt(bytes + 8 + realBytes, realBytes);
  const std::byte* afterTimes = bytes + 8 + 2 * realBytes;
  header.TEXT = TextAt(afterTimes);
  header.NCOL = Int32At(afterTimes + 16);
  header.NROW = Int32At(afterTimes + 20);
  header.ILAY = Int32At(afterTimes + 24);
}

bool IsPlausible(const LayerResultHeader& header) {
  return header.KSTP >= 0 && header.KPER >= 0 && (header.ILAY >= 1 || header.ILAY == kSectionLayer) &&
         IsPrintableText(header.TEXT) &&
         PlausibleCellCount(header.NCOL, header.NROW, 1).has_value();
}

FileParse FirstLayerRecordsParse(ResultFile& result) {
  LayerResultHeader first;
  RecordSpan data;
  if (ReadLayerHeader(result, result.layout->FirstRecordOffset(), first) != RecordRead::Read) return FileParse::No;
  if (!LocateLayerData(result, first, data) || !result.layout->SkipRecord(result.file, data))
    return FileParse::FirstRecord;
  LayerResultHeader next;
  const RecordRead read = ReadLayerHeader(result, data.end, next);
  const bool followed = read == RecordRead::EndOfFile ||
                        (read == RecordRead::Read && next.NCOL == first.NCOL && next.NROW == first.NROW);
  return followed ? FileParse::Fully : FileParse::FirstRecord;
}

// MODFLOW can write heads and drawdowns into one file; TEXT tells them apart.
bool NamesOtherKind(const std::string& text, ResultKind kind) {
  return text.find(kind == ResultKind::Heads ? "DRAWDOWN" : "HEAD") != std::string::npos;
}

bool StepPassed(const LayerResultHeader& header, const LayerResultQuery& query) {
  return header.KPER > query.kper || (header.KPER == query.kper && header.KSTP > query.kstp);
}

bool Matches(const LayerResultHeader& header, const LayerResultQuery& query) {
  return header.KPER == query.kper && header.KSTP == query.kstp && header.ILAY == query.layer &&
         !NamesOtherKind(header.TEXT, query.kind);
}

bool ReadLayerValues(ResultFile& result, const RecordSpan& data, std::vector<float>& target) {
  const std::int64_t count = data.length / result.realBytes;
  target.resize(static_cast<std::size_t>(count));
  float* next = target.data();
  return ReadReals(result, data, 0, count, [&next](std::span<const float> piece) {
    next = std::copy(piece.begin(), piece.end(), next);
  }) && result.layout->SkipRecord(result.file, data);
}

// The first value of a layer, row 1 first, that is NaN or infinite.
std::optional<CellPlace> FirstNonFiniteValue(const std::vector<float>& values, const LayerResultQuery& query) {
  const auto found = std::find_if(values.begin(), values.end(), [](float value) { return !std::isfinite(value); });
  if (found == values.end()) return std::nullopt;
  const auto index = static_cast<int>(found - values.begin());
  return CellPlace{index % query.ncol + 1, index / query.ncol + 1, query.layer};
}

}  // namespace

RecordRead ReadLayerHeader(ResultFile& result, std::int64_t offset, LayerResultHeader& header) {
  std::vector<std::byte> bytes(static_cast<std::size_t>(HeaderBytes(result.realBytes)));
  RecordSpan span;
  const RecordRead read = ReadWholeRecord(result, offset, bytes, span);
  if (read != RecordRead::Read) return read;
  DecodeHeader(bytes.data(), result.realBytes, header);
  header.dataOffset = span.end;
  return IsPlausible(header) ? RecordRead::Read : RecordRead::Damaged;
}

bool LocateLayerData(ResultFile& result, const LayerResultHeader& header, RecordSpan& data) {
  const std::int64_t length = std::int64_t{header.NCOL} * header.NROW * result.realBytes;
  return result.layout->ReadRecordHeader(result.file, header.dataOffset, length, data);
}

bool HoldsSections(ResultFile& result) {
  LayerResultHeader first;
  return ReadLayerHeader(result, result.layout->FirstRecordOffset(), first) == RecordRead::Read &&
         first.ILAY == kSectionLayer;
}

ResultFileOpening OpenLayerResultFile(const std::string& path, ResultFile& result) {
  // A head file whose first records do not all read is taken as the first
  // record says: its search then reports the damaged record itself.
  const ResultFileOpening opening = OpenResultFile(path, FirstLayerRecordsParse, result);
  return opening == ResultFileOpening::Undecided ? ResultFileOpening::Opened : opening;
}

bool FindLayerResult(ResultFile& result, const LayerResultQuery& query, std::vector<float>& target,
                     std::int64_t& position, const ResultMessages& messages) {
  const std::string fileWord = ResultFileWord(query.kind);
  for (std::int64_t offset = SearchStartOffset(result, position);;) {
    LayerResultHeader header;
    const RecordRead read = ReadLayerHeader(result, offset, header);
    if (read == RecordRead::Damaged) {
      messages.DataProblem(LayerHeaderUnreadableText(query.kind, result.path, offset));
      return false;
    }
    if (read == RecordRead::Read && (header.NCOL != query.ncol || header.NROW != query.nrow)) {
      messages.DataProblem(DimensionMismatchText(fileWord));
      return false;
    }
    if (read == RecordRead::EndOfFile || StepPassed(header, query)) {
      messages.DataProblem(LayerNotFoundText(query.kind, query.layer, query.kstp, query.kper));
      return false;
    }
    RecordSpan data;
    const bool wanted = Matches(header, query);
    if (!LocateLayerData(result, header, data) ||
        !(wanted ? ReadLayerValues(result, data, target) : result.layout->SkipRecord(result.file, data))) {
      messages.DataProblem(
          LayerDataUnreadableText(query.kind, result.path, header.ILAY, header.KSTP, header.KPER, offset));
      return false;
    }
    if (wanted) {
      // MODFLOW writes HNOFLO and HDRY for cells without a result, never NaN
      // or infinity: such a value would make velocities and tracking
      // meaningless.
      if (const auto cell = FirstNonFiniteValue(target, query)) {
        messages.DataProblem(NonFiniteLayerValueText(query.kind, result.path, query.kstp, query.kper, *cell));
        return false;
      }
      position = data.end + 1;
      return true;
    }
    offset = data.end;
  }
}

bool ReadLayerResult(const LayerResultQuery& query, const std::string& path, std::vector<float>& target,
                     std::int64_t& position, UserInterface& ui, bool showMessages) {
  const ResultMessages messages{ui, showMessages};
  ResultFile result;
  return OpenReportingProblems(
             path, OpenLayerResultFile, ResultFileWord(query.kind),
             [&] { messages.DataProblem(LayerFileMissingText(query.kind, path)); }, messages, result) &&
         FindLayerResult(result, query, target, position, messages);
}

}  // namespace kestra
