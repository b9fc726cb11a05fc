#include "results/budget_header.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "core/byte_order.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr std::size_t kHeaderBytes = 36;

bool IsPlausible(const BudgetHeader& header) {
  return header.KSTP >= 0 && header.KPER >= 0 && IsPrintableText(header.TEXT) &&
         PlausibleCellCount(header.NCOL, header.NROW, header.NLAY).has_value() && header.method >= kFullArrayOld &&
         header.method <= kListWithNames;
}

bool ReadCompactRecord(ResultFile& result, BudgetHeader& header) {
  const int realBytes = result.realBytes;
  std::vector<std::byte> bytes(static_cast<std::size_t>(kInt32Bytes + 3 * realBytes));
  RecordSpan span;
  if (ReadWholeRecord(result, header.dataOffset, bytes, span) != RecordRead::Read) return false;
  header.method = Int32At(bytes.data());
  header.DELT = RealAt(bytes.data() + kInt32Bytes, realBytes);
  header.PERTIM = RealAt(bytes.data() + kInt32Bytes + realBytes, realBytes);
  header.TOTIM = RealAt(bytes.data() + kInt32Bytes + 2 * realBytes, realBytes);
  header.dataOffset = span.end;
  return true;
}

// The four names of an IMETH 6 term, each a record of 16 characters: the
// model and package of the cells, then of the boundaries.
bool ReadNameRecords(ResultFile& result, BudgetHeader& header) {
  std::array<std::byte, kTextBytes> bytes{};
  for (int n = 0; n < 4; ++n) {
    RecordSpan span;
    if (ReadWholeRecord(result, header.dataOffset, bytes, span) != RecordRead::Read) return false;
    const std::string name = TextAt(bytes.data());
    if (!IsPrintableText(name)) return false;
    header.packageName = Trimmed(name);
    header.dataOffset = span.end;
  }
  return true;
}

}  // namespace


std::string BudgetHeader::Name() const { return Trimmed(TEXT); }

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
  if (header.method == kListWithNames && !ReadNameRecords(result, header)) return RecordRead::Damaged;
  return IsPlausible(header) ? RecordRead::Read : RecordRead::Damaged;
}

bool FillsEveryCell(const BudgetHeader& header) {
  return header.method == kFullArrayOld || header.method == kFullArray;
}

}  // namespace kestra

namespace kestra {

bool IsConnectionTerm(const BudgetHeader& header) {
  return header.compact && FillsEveryCell(header) && header.NROW == 1 && header.NLAY == 1 &&
         header.Name() == kConnectionFlowText;
}

}  // namespace kestra
