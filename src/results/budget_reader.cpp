#include "results/budget_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace kestra {
namespace {

bool StepPassed(const BudgetHeader& header, const BudgetTermQuery& query) {
  return header.KPER > query.kper || (header.KPER == query.kper && header.KSTP > query.kstp);
}

bool Matches(const BudgetHeader& header, const BudgetTermQuery& query) {
  return header.KPER == query.kper && header.KSTP == query.kstp &&
         header.TEXT.find(query.label) != std::string::npos;
}

// A term of flows per connection has no grid dimensions to compare.
bool SameGrid(const BudgetHeader& header, const BudgetTermQuery& query) {
  return IsConnectionTerm(header) ||
         (header.NCOL == query.ncol && header.NROW == query.nrow && header.NLAY == query.nlay);
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

// The first cell of a term, layer 1 and row 1 first, whose flow is NaN or
// infinite; the border cells hold zeros.
std::optional<CellPlace> FirstNonFiniteCell(const CellArray<float>& term) {
  const auto found =
      std::find_if(term.values.begin(), term.values.end(), [](float value) { return !std::isfinite(value); });
  if (found == term.values.end()) return std::nullopt;
  const auto index = static_cast<std::size_t>(found - term.values.begin());
  const std::size_t rowLength = static_cast<std::size_t>(term.shape.ncol) + 2;
  const std::size_t layerLength = rowLength * (static_cast<std::size_t>(term.shape.nrow) + 2);
  return CellPlace{static_cast<int>(index % rowLength), static_cast<int>(index % layerLength / rowLength),
                   static_cast<int>(index / layerLength)};
}

FileParse FirstBudgetRecordsParse(ResultFile& result) {
  BudgetHeader first;
  std::int64_t next = 0;
  if (ReadBudgetHeader(result, result.layout->FirstRecordOffset(), first) != RecordRead::Read) return FileParse::No;
  if (!SkipBudgetData(result, first, next)) return FileParse::FirstRecord;
  BudgetHeader second;
  const RecordRead read = ReadBudgetHeader(result, next, second);
  const bool sameGrid = IsConnectionTerm(first) || IsConnectionTerm(second) ||
                        (second.NCOL == first.NCOL && second.NROW == first.NROW && second.NLAY == first.NLAY);
  const bool followed = read == RecordRead::EndOfFile || (read == RecordRead::Read && sameGrid);
  return followed ? FileParse::Fully : FileParse::FirstRecord;
}

}  // namespace

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
      if (const auto cell = FirstNonFiniteCell(result.spareCells)) {
        messages.DataProblem(NonFiniteBudgetValueText(result.path, query.label, query.kstp, query.kper, *cell));
        return false;
      }
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
