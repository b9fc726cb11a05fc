#include "results/result_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "core/byte_order.h"
#include "results/lahey_layout.h"
#include "results/powerstation_layout.h"

namespace kestra {
namespace {

// Values read at a time: a piece of doubles and its floats stay in the
// second-level cache while they are converted and taken.
constexpr std::int64_t kValuesPerPiece = 32 * 1024;
// 2^40 cells: far beyond any groundwater model, well inside 64-bit sizes.
constexpr double kLargestCellCount = 1099511627776.0;

std::vector<ResultFileFormat> CandidateFormats(BinaryFile& file) {
  std::vector<ResultFileFormat> candidates;
  std::byte first{};
  if (file.Size() > 0 && file.ReadAt(0, std::span(&first, 1))) {
    const auto firstByte = static_cast<std::uint8_t>(first);
    if (firstByte == kPowerStationSignature) candidates.push_back(ResultFileFormat::PowerStation);
    if (firstByte == kLaheySignature) candidates.push_back(ResultFileFormat::Lahey);
  }
  candidates.push_back(ResultFileFormat::Sequential);
  candidates.push_back(ResultFileFormat::Stream);
  return candidates;
}

// The reals of a piece as floats. Doubles in the host's own order, what a
// MODFLOW build in double precision writes, take a loop the compiler makes
// packed conversions of.
void ConvertReals(const std::byte* bytes, int realBytes, std::vector<float>& values) {
  if (realBytes == 8 && kHostIsLittleEndian) {
    for (std::size_t v = 0; v < values.size(); ++v) {
      double value;
      std::memcpy(&value, bytes + v * 8, sizeof value);
      values[v] = static_cast<float>(value);
    }
    return;
  }
  for (std::size_t v = 0; v < values.size(); ++v)
    values[v] = static_cast<float>(RealAt(bytes + v * realBytes, realBytes));
}

}  // namespace

ResultFileOpening OpenResultFile(const std::string& path, const std::function<FileParse(ResultFile&)>& parses,
                                 ResultFile& result) {
  if (!result.file.Open(path)) return ResultFileOpening::Missing;
  result.path = path;
  const RecordLayout* partialLayout = nullptr;
  int partialRealBytes = 4;
  for (const ResultFileFormat format : CandidateFormats(result.file)) {
    result.layout = &LayoutOf(format);
    // A file holding no record at all is a valid, empty file of its layout.
    if (result.file.Size() == result.layout->FirstRecordOffset()) return ResultFileOpening::Opened;
    for (const int realBytes : {4, 8}) {
      result.realBytes = realBytes;
      const FileParse parse = parses(result);
      if (parse == FileParse::Fully) return ResultFileOpening::Opened;
      if (parse == FileParse::FirstRecord && partialLayout == nullptr) {
        partialLayout = result.layout;
        partialRealBytes = realBytes;
      }
    }
  }
  if (partialLayout == nullptr) return ResultFileOpening::Incompatible;
  result.layout = partialLayout;
  result.realBytes = partialRealBytes;
  return ResultFileOpening::Undecided;
}

bool OpenReportingProblems(const std::string& path, ResultFileOpener open, const std::string& fileWord,
                           const std::function<void()>& reportMissing, const ResultMessages& messages,
                           ResultFile& result) {
  // A name too long or a loop of links is as good as missing.
  std::error_code error;
  const bool exists = !path.empty() && std::filesystem::exists(path, error);
  const ResultFileOpening opening = exists ? open(path, result) : ResultFileOpening::Missing;
  if (opening == ResultFileOpening::Missing) reportMissing();
  if (opening == ResultFileOpening::Incompatible) messages.DataProblem(IncompatibleFormatText(fileWord, path));
  if (opening == ResultFileOpening::Undecided) messages.DataProblem(UndecidedPrecisionText(fileWord, path));
  return opening == ResultFileOpening::Opened;
}

std::int64_t SearchStartOffset(const ResultFile& result, std::int64_t position) {
  return position <= kFirstRecordPosition ? result.layout->FirstRecordOffset() : position - 1;
}

RecordRead ReadWholeRecord(ResultFile& result, std::int64_t offset, std::span<std::byte> bytes, RecordSpan& span) {
  if (offset >= result.file.Size()) return RecordRead::EndOfFile;
  const RecordLayout& layout = *result.layout;
  const bool read = layout.ReadRecordHeader(result.file, offset, static_cast<std::int64_t>(bytes.size()), span) &&
                    layout.ReadRecordValues(result.file, span, 0, bytes) && layout.SkipRecord(result.file, span);
  return read ? RecordRead::Read : RecordRead::Damaged;
}

bool ReadReals(ResultFile& result, const RecordSpan& span, std::int64_t first, std::int64_t count,
               const std::function<void(std::span<const float>)>& take) {
  const int realBytes = result.realBytes;
  const bool copyAsIs = realBytes == 4 && kHostIsLittleEndian;
  for (std::int64_t done = 0; done < count;) {
    const std::int64_t piece = std::min(kValuesPerPiece, count - done);
    result.pieceValues.resize(static_cast<std::size_t>(piece));
    const std::int64_t from = (first + done) * realBytes;
    if (copyAsIs) {
      if (!result.layout->ReadRecordValues(result.file, span, from, std::as_writable_bytes(std::span(result.pieceValues))))
        return false;
    } else {
      result.pieceBytes.resize(static_cast<std::size_t>(piece * realBytes));
      if (!result.layout->ReadRecordValues(result.file, span, from, result.pieceBytes)) return false;
      ConvertReals(result.pieceBytes.data(), realBytes, result.pieceValues);
    }
    take(result.pieceValues);
    done += piece;
  }
  return true;
}

std::string TextAt(const std::byte* bytes) { return std::string(reinterpret_cast<const char*>(bytes), kTextBytes); }

bool IsPrintableText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

std::optional<std::int64_t> PlausibleCellCount(std::int64_t ncol, std::int64_t nrow, std::int64_t nlay) {
  if (ncol < 1 || nrow < 1 || nlay < 1) return std::nullopt;
  if (static_cast<double>(ncol) * static_cast<double>(nrow) * static_cast<double>(nlay) > kLargestCellCount)
    return std::nullopt;
  return ncol * nrow * nlay;
}

}  // namespace kestra
