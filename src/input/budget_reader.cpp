#include "input/budget_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <vector>

#include "input/byte_order.h"

namespace kestra {
namespace {

constexpr std::size_t kHeaderBytes = 36;
constexpr std::int64_t kIntBytes = 4;
constexpr std::int64_t kTextBytes = 16;
// IMETH codes of a compact term.
constexpr std::int32_t kFullArrayOld = 0;
constexpr std::int32_t kFullArray = 1;
constexpr std::int32_t kList = 2;
constexpr std::int32_t kLayerIndicator = 3;
constexpr std::int32_t kLayerOne = 4;
constexpr std::int32_t kListWithAuxiliary = 5;
// NVAL of a list with auxiliary values (1 + number of auxiliary variables);
// MODFLOW allows a handful, so anything beyond this is a damaged record.
constexpr std::int32_t kLargestValueCount = 100;

std::int64_t LayerCells(const BudgetHeader& header) { return std::int64_t{header.NCOL} * header.NROW; }
std::int64_t GridCells(const BudgetHeader& header) { return LayerCells(header) * header.NLAY; }

bool IsPlausible(const BudgetHeader& header) {
  return header.KSTP >= 0 && header.KPER >= 0 && IsPrintableText(header.TEXT) &&
         PlausibleCellCount(header.NCOL, header.NROW, header.NLAY).has_value() && header.method >= kFullArrayOld &&
         header.method <= kListWithAuxiliary;
}

bool ReadCompactRecord(ResultFile& result, BudgetHeader& header) {
  const int realBytes = result.realBytes;
  std::vector<std::byte> bytes(static_cast<std::size_t>(kIntBytes + 3 * realBytes));
  RecordSpan span;
  if (ReadWholeRecord(result, header.dataOffset, bytes, span) != RecordRead::Read) return false;
  header.method = Int32At(bytes.data());
  header.DELT = RealAt(bytes.data() + kIntBytes, realBytes);
  header.PERTIM = RealAt(bytes.data() + kIntBytes + realBytes, realBytes);
  header.TOTIM = RealAt(bytes.data() + kIntBytes + 2 * realBytes, realBytes);
  header.dataOffset = span.end;
  return true;
}

bool ReadInt32Record(ResultFile& result, std::int64_t& offset, std::int32_t& value) {
  std::array<std::byte, kIntBytes> bytes{};
  RecordSpan span;
  if (ReadWholeRecord(result, offset, bytes, span) != RecordRead::Read) return false;
  value = Int32At(bytes.data());
  offset = span.end;
  return true;
}

bool SkipRecords(ResultFile& result, std::int64_t offset, std::initializer_list<std::int64_t> lengths,
                 std::int64_t& next) {
  for (const std::int64_t length : lengths) {
    RecordSpan span;
    if (!result.layout->ReadRecordHeader(result.file, offset, length, span) ||
        !result.layout->SkipRecord(result.file, span))
      return false;
    offset = span.end;
  }
  next = offset;
  return true;
}

// Where the entries of a list term lie: one record per entry (cell number,
// value and any auxiliary values) after the list's count records.
struct ListShape {
  std::int64_t firstEntry = 0;
  std::int64_t entries = 0;
  std::int64_t entryBytes = 0;
};

bool ReadListShape(ResultFile& result, const BudgetHeader& header, ListShape& list) {
  std::int64_t offset = header.dataOffset;
  std::int32_t valueCount = 1;
  if (header.method == kListWithAuxiliary) {
    if (!ReadInt32Record(result, offset, valueCount) || valueCount < 1 || valueCount > kLargestValueCount)
      return false;
    if (valueCount > 1 && !SkipRecords(result, offset, {(valueCount - 1) * kTextBytes}, offset)) return false;
  }
  std::int32_t entries = 0;
  if (!ReadInt32Record(result, offset, entries) || entries < 0) return false;
  list = {offset, entries, kIntBytes + valueCount * std::int64_t{result.realBytes}};
  // Compared by division so that an absurd count cannot overflow.
  return list.entries <= (result.file.Size() - offset) / result.layout->RecordSize(list.entryBytes);
}

// Puts values handed over in file order into the rows of `target`: layer 1
// first, row 1 first within a layer, columns 1..NCOL within a row.
struct RowFiller {
  CellArray<float>& target;
  int ncol;
  int nrow;
  std::int64_t done = 0;

  void operator()(std::span<const float> piece) {
    while (!piece.empty()) {
      const std::int64_t rowNumber = done / ncol;
      const auto column = static_cast<int>(done % ncol);
      const auto row = static_cast<int>(rowNumber % nrow) + 1;
      const auto layer = static_cast<int>(rowNumber / nrow) + 1;
      const auto count = std::min<std::size_t>(static_cast<std::size_t>(ncol - column), piece.size());
      std::copy_n(piece.begin(), count, &target(column + 1, row, layer));
      piece = piece.subspan(count);
      done += static_cast<std::int64_t>(count);
    }
  }
};

// Moves the rows of a layer, read packed to the layer's first cell, apart to
// their places and clears the border columns the packed rows covered.
void SpreadPackedRows(CellArray<float>& target, int layer) {
  const int ncol = target.shape.ncol;
  float* first = &target(1, 1, layer);
  for (int row = target.shape.nrow; row >= 2; --row)
    std::memmove(first + std::ptrdiff_t(row - 1) * (ncol + 2), first + std::ptrdiff_t(row - 1) * ncol,
                 sizeof(float) * static_cast<std::size_t>(ncol));
  for (int row = 1; row <= target.shape.nrow; ++row) {
    target(0, row, layer) = 0;
    target(ncol + 1, row, layer) = 0;
  }
}

// 4-byte reals in the host's byte order go straight from the file into the
// target, a layer at a time: no copy through a buffer.
bool ReadLayersInPlace(ResultFile& result, const RecordSpan& span, int layers, CellArray<float>& target) {
  const std::int64_t layerBytes = std::int64_t{target.shape.ncol} * target.shape.nrow * 4;
  for (int layer = 1; layer <= layers; ++layer) {
    const std::span<std::byte> packed(reinterpret_cast<std::byte*>(&target(1, 1, layer)),
                                      static_cast<std::size_t>(layerBytes));
    if (!result.layout->ReadRecordValues(result.file, span, (layer - 1) * layerBytes, packed)) return false;
    SpreadPackedRows(target, layer);
  }
  return true;
}

bool ReadArray(ResultFile& result, const BudgetHeader& header, int layers, CellArray<float>& target,
               std::int64_t& next) {
  const std::int64_t count = LayerCells(header) * layers;
  RecordSpan span;
  if (!result.layout->ReadRecordHeader(result.file, header.dataOffset, count * result.realBytes, span))
    return false;
  RowFiller filler{target, header.NCOL, header.NROW};
  const bool read = result.realBytes == 4 && kHostIsLittleEndian
                        ? ReadLayersInPlace(result, span, layers, target)
                        : ReadReals(result, span, 0, count, std::ref(filler));
  if (!read || !result.layout->SkipRecord(result.file, span)) return false;
  next = span.end;
  return true;
}

bool ReadLayerIndicated(ResultFile& result, const BudgetHeader& header, CellArray<float>& target,
                        std::int64_t& next) {
  const std::int64_t cells = LayerCells(header);
  std::vector<std::byte> layerBytes(static_cast<std::size_t>(cells * kIntBytes));
  RecordSpan layerSpan;
  if (ReadWholeRecord(result, header.dataOffset, layerBytes, layerSpan) != RecordRead::Read) return false;
  CellArray<float> layerValues;
  layerValues.Dimension({header.NCOL, header.NROW, 1});
  BudgetHeader valueHeader = header;
  valueHeader.dataOffset = layerSpan.end;
  if (!ReadArray(result, valueHeader, 1, layerValues, next)) return false;
  for (int row = 1; row <= header.NROW; ++row) {
    for (int column = 1; column <= header.NCOL; ++column) {
      const std::int64_t cell = std::int64_t{row - 1} * header.NCOL + (column - 1);
      const std::int32_t layer = Int32At(layerBytes.data() + cell * kIntBytes);
      if (layer < 1 || layer > header.NLAY) return false;
      target(column, row, layer) = layerValues(column, row, 1);
    }
  }
  return true;
}

bool ReadList(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next) {
  ListShape list;
  if (!ReadListShape(result, header, list)) return false;
  std::vector<std::byte> entry(static_cast<std::size_t>(list.entryBytes));
  std::int64_t offset = list.firstEntry;
  for (std::int64_t e = 0; e < list.entries; ++e) {
    RecordSpan span;
    if (ReadWholeRecord(result, offset, entry, span) != RecordRead::Read) return false;
    // Cell numbers count columns fastest, then rows, then layers, from 1.
    const std::int64_t cell = Int32At(entry.data()) - std::int64_t{1};
    if (cell < 0 || cell >= GridCells(header)) return false;
    const auto column = static_cast<int>(cell % header.NCOL) + 1;
    const auto row = static_cast<int>(cell / header.NCOL % header.NROW) + 1;
    const auto layer = static_cast<int>(cell / LayerCells(header)) + 1;
    target(column, row, layer) += static_cast<float>(RealAt(entry.data() + kIntBytes, result.realBytes));
    offset = span.end;
  }
  next = offset;
  return true;
}

bool StepPassed(const BudgetHeader& header, const BudgetTermQuery& query) {
  return header.KPER > query.kper || (header.KPER == query.kper && header.KSTP > query.kstp);
}

bool Matches(const BudgetHeader& header, const BudgetTermQuery& query) {
  return header.KPER == query.kper && header.KSTP == query.kstp &&
         header.TEXT.find(query.label) != std::string::npos;
}

bool SameGrid(const BudgetHeader& header, const BudgetTermQuery& query) {
  return header.NCOL == query.ncol && header.NROW == query.nrow && header.NLAY == query.nlay;
}

bool FillsEveryCell(const BudgetHeader& header) {
  return header.method == kFullArrayOld || header.method == kFullArray;
}

// Readies the spare array for the term. Its border is always zero (no term
// writes it); a term that fills every cell needs no clearing of the rest.
void PrepareSpareCells(ResultFile& result, const BudgetHeader& header) {
  const GridShape shape{header.NCOL, header.NROW, header.NLAY};
  if (result.spareCells.shape != shape)
    result.spareCells.Dimension(shape);
  else if (!FillsEveryCell(header))
    std::fill(result.spareCells.values.begin(), result.spareCells.values.end(), 0.0f);
}

FileParse FirstBudgetRecordsParse(ResultFile& result) {
  BudgetHeader first;
  std::int64_t next = 0;
  if (ReadBudgetHeader(result, result.layout->FirstRecordOffset(), first) != RecordRead::Read) return FileParse::No;
  if (!SkipBudgetData(result, first, next)) return FileParse::FirstRecord;
  BudgetHeader second;
  const RecordRead read = ReadBudgetHeader(result, next, second);
  const bool followed = read == RecordRead::EndOfFile ||
                        (read == RecordRead::Read && second.NCOL == first.NCOL && second.NROW == first.NROW &&
                         second.NLAY == first.NLAY);
  return followed ? FileParse::Fully : FileParse::FirstRecord;
}

}  // namespace

RecordRead ReadBudgetHeader(ResultFile& result, std::int64_t offset, BudgetHeader& header) {
  std::array<std::byte, kHeaderBytes> bytes{};
  RecordSpan span;
  const RecordRead read = ReadWholeRecord(result, offset, bytes, span);
  if (read != RecordRead::Read) return read;
  header.KSTP = Int32At(bytes.data());
  header.KPER = Int32At(bytes.data() + 4);
  header.TEXT = TextAt(bytes.data() + 8);
  header.NCOL = Int32At(bytes.data() + 24);
  header.NROW = Int32At(bytes.data() + 28);
  const std::int32_t nlay = Int32At(bytes.data() + 32);
  header.compact = nlay < 0;
  header.NLAY = nlay == INT32_MIN ? 0 : std::abs(nlay);
  header.method = kFullArray;
  header.dataOffset = span.end;
  if (header.compact && !ReadCompactRecord(result, header)) return RecordRead::Damaged;
  return IsPlausible(header) ? RecordRead::Read : RecordRead::Damaged;
}

bool SkipBudgetData(ResultFile& result, const BudgetHeader& header, std::int64_t& next) {
  const std::int64_t realBytes = result.realBytes;
  switch (header.method) {
    case kList:
    case kListWithAuxiliary: {
      ListShape list;
      if (!ReadListShape(result, header, list)) return false;
      next = list.firstEntry + list.entries * result.layout->RecordSize(list.entryBytes);
      return true;
    }
    case kLayerIndicator:
      return SkipRecords(result, header.dataOffset, {LayerCells(header) * kIntBytes, LayerCells(header) * realBytes},
                         next);
    case kLayerOne:
      return SkipRecords(result, header.dataOffset, {LayerCells(header) * realBytes}, next);
    default:
      return SkipRecords(result, header.dataOffset, {GridCells(header) * realBytes}, next);
  }
}

bool ReadBudgetData(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next) {
  switch (header.method) {
    case kList:
    case kListWithAuxiliary:
      return ReadList(result, header, target, next);
    case kLayerIndicator:
      return ReadLayerIndicated(result, header, target, next);
    case kLayerOne:
      return ReadArray(result, header, 1, target, next);
    default:
      return ReadArray(result, header, header.NLAY, target, next);
  }
}

ResultFileOpening OpenBudgetFile(const std::string& path, ResultFile& result) {
  return OpenResultFile(path, FirstBudgetRecordsParse, result);
}

bool FindBudgetTerm(ResultFile& result, const BudgetTermQuery& query, CellArray<float>& target,
                    std::int64_t& position, const ResultMessages& messages) {
  for (std::int64_t offset = SearchStartOffset(result, position);;) {
    BudgetHeader header;
    const RecordRead read = ReadBudgetHeader(result, offset, header);
    if (read == RecordRead::Damaged) {
      messages.DataProblem(HeaderUnreadableText(kBudgetFileWord));
      return false;
    }
    if (read == RecordRead::Read && !SameGrid(header, query)) {
      messages.DataProblem(DimensionMismatchText(kBudgetFileWord));
      return false;
    }
    if (read == RecordRead::EndOfFile || StepPassed(header, query)) {
      messages.DataProblem(BudgetDataNotFoundText(query.kstp, query.kper));
      return false;
    }
    const bool wanted = Matches(header, query);
    if (wanted) PrepareSpareCells(result, header);
    std::int64_t next = 0;
    if (!(wanted ? ReadBudgetData(result, header, result.spareCells, next) : SkipBudgetData(result, header, next))) {
      messages.DataProblem(BudgetTermUnreadableText(query.label));
      return false;
    }
    if (wanted) {
      std::swap(target, result.spareCells);
      position = next + 1;
      return true;
    }
    offset = next;
  }
}

bool ReadBudgetTerm(const BudgetTermQuery& query, const std::string& path, CellArray<float>& target,
                    std::int64_t& position, UserInterface& ui, bool showMessages) {
  const ResultMessages messages{ui, showMessages};
  ResultFile result;
  return OpenReportingProblems(
             path, OpenBudgetFile, kBudgetFileWord, [&] { messages.DataProblem(BudgetFileMissingText(path)); },
             messages, result) &&
         FindBudgetTerm(result, query, target, position, messages);
}

}  // namespace kestra
