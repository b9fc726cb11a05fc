#include "results/budget_term_data.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <vector>

#include "core/byte_order.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

// NVAL of a list with auxiliary values (1 + number of auxiliary variables);
// MODFLOW allows a handful, so anything beyond this is a damaged record.
constexpr std::int32_t kLargestValueCount = 100;

std::int64_t LayerCells(const BudgetHeader& header) { return std::int64_t{header.NCOL} * header.NROW; }

std::int64_t GridCells(const BudgetHeader& header) { return LayerCells(header) * header.NLAY; }

bool ReadInt32Record(ResultFile& result, std::int64_t& offset, std::int32_t& value) {
  std::array<std::byte, kInt32Bytes> bytes{};
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
  std::int64_t valueOffset = kInt32Bytes;  // where the value lies in an entry
  std::int64_t faceOffset = -1;            // where the IFACE auxiliary value lies; -1 without one
};

bool HasValueCount(std::int32_t method) { return method == kListWithAuxiliary || method == kListWithNames; }

bool IsFaceName(const std::string& name) { return name == "IFACE" || name == "IFLOWFACE"; }

// The position of the IFACE auxiliary variable among the `count` names of
// the record at `offset`, from 0; -1 when none is so named.
bool FindFaceVariable(ResultFile& result, std::int64_t& offset, std::int32_t count, int& position) {
  std::vector<std::byte> names(static_cast<std::size_t>(count) * kTextBytes);
  RecordSpan span;
  if (ReadWholeRecord(result, offset, names, span) != RecordRead::Read) return false;
  offset = span.end;
  position = -1;
  for (std::int32_t n = 0; n < count && position < 0; ++n) {
    const std::string name(reinterpret_cast<const char*>(names.data()) + std::size_t(n) * kTextBytes, kTextBytes);
    if (IsFaceName(Trimmed(name))) position = n;
  }
  return true;
}

bool ReadListShape(ResultFile& result, const BudgetHeader& header, ListShape& list) {
  std::int64_t offset = header.dataOffset;
  std::int32_t valueCount = 1;
  int facePosition = -1;
  if (HasValueCount(header.method)) {
    if (!ReadInt32Record(result, offset, valueCount) || valueCount < 1 || valueCount > kLargestValueCount)
      return false;
    if (valueCount > 1 && !FindFaceVariable(result, offset, valueCount - 1, facePosition)) return false;
  }
  std::int32_t entries = 0;
  if (!ReadInt32Record(result, offset, entries) || entries < 0) return false;
  // An IMETH 6 entry holds the boundary number after the cell number.
  const std::int64_t numbers = header.method == kListWithNames ? 2 * kInt32Bytes : kInt32Bytes;
  const std::int64_t faceOffset = facePosition < 0 ? -1 : numbers + (1 + facePosition) * std::int64_t{result.realBytes};
  list = {offset, entries, numbers + valueCount * std::int64_t{result.realBytes}, numbers, faceOffset};
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
  std::vector<std::byte> layerBytes(static_cast<std::size_t>(cells * kInt32Bytes));
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
      const std::int32_t layer = Int32At(layerBytes.data() + cell * kInt32Bytes);
      if (layer < 1 || layer > header.NLAY) return false;
      target(column, row, layer) = layerValues(column, row, 1);
    }
  }
  return true;
}

// The face an entry's flow crosses: its own IFACE where the list has one,
// else the routing's default; 0 (inside the cell) without routing.
int EntryFace(const ResultFile& result, const ListShape& list, const std::vector<std::byte>& entry,
              const FaceRouting* routing) {
  if (routing == nullptr) return 0;
  if (list.faceOffset < 0) return routing->defaultFace;
  return static_cast<int>(std::lround(RealAt(entry.data() + list.faceOffset, result.realBytes)));
}

bool ReadList(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next,
              const FaceRouting* routing) {
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
    const double value = RealAt(entry.data() + list.valueOffset, result.realBytes);
    const int face = EntryFace(result, list, entry, routing);
    if (IsCellFace(face))
      routing->faces.Add(target.shape, column, row, layer, face, value);
    else
      target(column, row, layer) += static_cast<float>(value);
    offset = span.end;
  }
  next = offset;
  return true;
}

// Moves every value of an array term to the routing's default face.
void MoveToDefaultFace(CellArray<float>& target, const FaceRouting* routing) {
  if (routing == nullptr || !IsCellFace(routing->defaultFace)) return;
  const GridShape& grid = target.shape;
  for (int k = 1; k <= grid.nlay; ++k)
    for (int i = 1; i <= grid.nrow; ++i)
      for (int j = 1; j <= grid.ncol; ++j) {
        float& value = target(j, i, k);
        if (value == 0) continue;
        routing->faces.Add(grid, j, i, k, routing->defaultFace, value);
        value = 0;
      }
}

bool ReadArrayTerm(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next) {
  switch (header.method) {
    case kLayerIndicator: return ReadLayerIndicated(result, header, target, next);
    case kLayerOne: return ReadArray(result, header, 1, target, next);
    default: return ReadArray(result, header, header.NLAY, target, next);
  }
}

}  // namespace

bool SkipBudgetData(ResultFile& result, const BudgetHeader& header, std::int64_t& next) {
  const std::int64_t realBytes = result.realBytes;
  switch (header.method) {
    case kList:
    case kListWithAuxiliary:
    case kListWithNames: {
      ListShape list;
      if (!ReadListShape(result, header, list)) return false;
      next = list.firstEntry + list.entries * result.layout->RecordSize(list.entryBytes);
      return true;
    }
    case kLayerIndicator:
      return SkipRecords(result, header.dataOffset, {LayerCells(header) * kInt32Bytes, LayerCells(header) * realBytes},
                         next);
    case kLayerOne:
      return SkipRecords(result, header.dataOffset, {LayerCells(header) * realBytes}, next);
    default:
      return SkipRecords(result, header.dataOffset, {GridCells(header) * realBytes}, next);
  }
}

bool ReadBudgetData(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next,
                    const FaceRouting* routing) {
  switch (header.method) {
    case kList:
    case kListWithAuxiliary:
    case kListWithNames:
      return ReadList(result, header, target, next, routing);
    default:
      if (!ReadArrayTerm(result, header, target, next)) return false;
      MoveToDefaultFace(target, routing);
      return true;
  }
}

}  // namespace kestra
