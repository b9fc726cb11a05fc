// An open result file whose record layout and precision have been found:
// the common ground of the head, drawdown and budget readers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/binary_file.h"
#include "core/cell_array.h"
#include "results/record_layout.h"
#include "results/result_messages.h"

namespace kestra {

// The search start the callers pass for "from the first record". In the
// legacy layouts byte 1 is the signature and the first record starts at
// position 2; the newer layouts start at position 1, and no record of theirs
// can start at position 2, so 2 (or 1) means the first record in every layout.
inline constexpr std::int64_t kFirstRecordPosition = 2;

struct ResultFile {
  BinaryFile file;
  std::string path;  // as opened, for messages
  const RecordLayout* layout = nullptr;
  int realBytes = 4;  // 4 or 8, as the MODFLOW build was compiled
  // Buffers of ReadReals, kept for the next record.
  std::vector<float> pieceValues;
  std::vector<std::byte> pieceBytes;
  // A budget term is read into this array and then swapped with its target,
  // so a damaged term leaves the target as it was and the memory of one
  // term serves the next.
  CellArray<float> spareCells;

  ResultFileFormat Format() const { return layout->Format(); }
};

// Undecided: no candidate parsed fully, and the first whose first header
// parses has been taken; the caller decides whether to trust that guess.
enum class ResultFileOpening { Opened, Missing, Incompatible, Undecided };

// How well the start of a file reads as a candidate layout and precision.
enum class FileParse {
  No,
  FirstRecord,  // the first header reads, what follows it does not
  Fully,        // the first header, its data and the next header (or the end of the file)
};

// Opens `path` and finds its layout and precision. Candidates are the legacy
// layout its first byte names (75, 253), then sequential, then stream, each
// with 4-byte and then 8-byte reals; `parses` is the caller's check of the
// first records. The first candidate that parses fully is taken, else the
// first whose first header parses, returning Undecided. Missing when the
// file cannot be opened, Incompatible when no candidate fits; `result` is
// then unusable.
ResultFileOpening OpenResultFile(const std::string& path, const std::function<FileParse(ResultFile&)>& parses,
                                 ResultFile& result);

using ResultFileOpener = ResultFileOpening (*)(const std::string& path, ResultFile& result);

// Opens `path` (empty or absent counts as missing) with `open`. False after
// calling `reportMissing` for a missing or unreadable file, or after showing
// the compatibility message of `fileWord` for a file of no known layout or
// the undecided-precision message for an Undecided one.
bool OpenReportingProblems(const std::string& path, ResultFileOpener open, const std::string& fileWord,
                           const std::function<void()>& reportMissing, const ResultMessages& messages,
                           ResultFile& result);

// The 0-based offset where a search from 1-based `position` starts.
std::int64_t SearchStartOffset(const ResultFile& result, std::int64_t position);

enum class RecordRead { Read, EndOfFile, Damaged };

// Reads the whole record at `offset` into `bytes` (sized by the caller to
// the record's data length) and checks its closing marker. EndOfFile when
// `offset` is at or past the end of the file.
RecordRead ReadWholeRecord(ResultFile& result, std::int64_t offset, std::span<std::byte> bytes, RecordSpan& span);

// Hands `count` reals of the record, from its value number `first`, to `take`
// in file order, in pieces converted to float. False when the record is
// damaged or too short; pieces already handed over stay with the caller.
bool ReadReals(ResultFile& result, const RecordSpan& span, std::int64_t first, std::int64_t count,
               const std::function<void(std::span<const float>)>& take);

inline constexpr std::size_t kTextBytes = 16;

// The 16 characters of a TEXT field as written.
std::string TextAt(const std::byte* bytes);
// True for text of printable ASCII only: a TEXT field of a real record.
bool IsPrintableText(std::string_view text);
// NCOL x NROW x NLAY when every dimension is at least 1 and the grid is not
// absurdly large (a damaged header); empty otherwise.
std::optional<std::int64_t> PlausibleCellCount(std::int64_t ncol, std::int64_t nrow, std::int64_t nlay);

}  // namespace kestra
