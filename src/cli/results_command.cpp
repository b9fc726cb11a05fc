// kestra-cli results FILE: what a head, drawdown or budget file holds, record
// by record, and the layout and precision it was written in.
#include <limits>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/single_path_arguments.h"
#include "core/model_paths.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "results/budget_reader.h"
#include "results/layer_result_reader.h"

namespace kestra::cli {
namespace {

std::string TrimmedText(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Times as the file holds them: a 4-byte real keeps its 7 digits.
std::string TimeText(double value, int realBytes) {
  return realBytes == 4 ? NumberText(static_cast<float>(value)) : NumberText(value);
}

void PrintFormat(const ResultFile& result, const std::string& contents, std::ostream& out) {
  out << "layout: " << FormatName(result.Format()) << "\n";
  out << "precision: " << (result.realBytes == 4 ? "single (4-byte reals)" : "double (8-byte reals)") << "\n";
  out << "contents: " << contents << "\n";
}

int DamagedAt(std::int64_t offset, std::ostream& err) {
  err << "kestra-cli results: damaged record at byte" << NumberText(offset + 1) << "\n";
  return 1;
}

int ListLayerRecords(ResultFile& result, std::ostream& out, std::ostream& err) {
  PrintFormat(result, "heads or drawdowns", out);
  LayerResultHeader header;
  RecordSpan data;
  for (std::int64_t offset = result.layout->FirstRecordOffset();; offset = data.end) {
    const RecordRead read = ReadLayerHeader(result, offset, header);
    if (read == RecordRead::EndOfFile) return 0;
    if (read == RecordRead::Damaged || !LocateLayerData(result, header, data)) return DamagedAt(offset, err);
    out << "KSTP" << NumberText(header.KSTP) << "  KPER" << NumberText(header.KPER) << "  TEXT \""
        << TrimmedText(header.TEXT) << "\"  NCOL" << NumberText(header.NCOL) << "  NROW" << NumberText(header.NROW)
        << "  ILAY" << NumberText(header.ILAY) << "  PERTIM" << TimeText(header.PERTIM, result.realBytes)
        << "  TOTIM" << TimeText(header.TOTIM, result.realBytes) << "\n";
  }
}

int ListBudgetRecords(ResultFile& result, std::ostream& out, std::ostream& err) {
  PrintFormat(result, "budget", out);
  BudgetHeader header;
  for (std::int64_t offset = result.layout->FirstRecordOffset();;) {
    const RecordRead read = ReadBudgetHeader(result, offset, header);
    if (read == RecordRead::EndOfFile) return 0;
    if (read == RecordRead::Damaged) return DamagedAt(offset, err);
    out << "KSTP" << NumberText(header.KSTP) << "  KPER" << NumberText(header.KPER) << "  TEXT \""
        << TrimmedText(header.TEXT) << "\"  NCOL" << NumberText(header.NCOL) << "  NROW" << NumberText(header.NROW)
        << "  NLAY" << NumberText(header.NLAY);
    if (header.compact)
      out << "  IMETH" << NumberText(header.method) << "  DELT" << TimeText(header.DELT, result.realBytes)
          << "  PERTIM" << TimeText(header.PERTIM, result.realBytes) << "  TOTIM"
          << TimeText(header.TOTIM, result.realBytes);
    out << "\n";
    if (!SkipBudgetData(result, header, offset)) return DamagedAt(header.dataOffset, err);
  }
}

}  // namespace

int ResultsCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  constexpr const char* kUsage =
      "usage: kestra-cli results FILE\n"
      "Lists the layout, precision and records of a head, drawdown or budget file.\n";
  if (const auto status = AnswerOtherThanOnePath("results", args, kUsage, out, err)) return *status;
  const std::string path = AbsolutePath(args[0]);
  ResultFile layers;
  const ResultFileOpening opening = OpenLayerResultFile(path, layers);
  if (opening == ResultFileOpening::Missing) {
    const std::string problem = InputFileProblem(path, "a result file", std::numeric_limits<std::uintmax_t>::max());
    err << "kestra-cli results: " << (problem.empty() ? path + " cannot be read" : problem) << "\n";
    return 1;
  }
  if (opening == ResultFileOpening::Opened) return ListLayerRecords(layers, out, err);
  ResultFile budget;
  const ResultFileOpening budgetOpening = OpenBudgetFile(path, budget);
  if (budgetOpening == ResultFileOpening::Opened) return ListBudgetRecords(budget, out, err);
  err << (budgetOpening == ResultFileOpening::Undecided ? UndecidedPrecisionText(kBudgetFileWord, path)
                                                        : IncompatibleFormatText("result", path))
      << "\n";
  return 1;
}

}  // namespace kestra::cli
