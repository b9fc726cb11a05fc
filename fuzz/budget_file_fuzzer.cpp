// Budget files: every term walked as the results listing walks them, then the
// flow terms of the first term's time step loaded into a model of its grid,
// recharge and evapotranspiration included.
#include "core/model_state.h"
#include "fuzz_support.h"
#include "results/budget_reader.h"
#include "results/result_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string path = fuzz::WriteInput("budget.cbc", data, size);
  ResultFile result;
  if (OpenBudgetFile(path, result) != ResultFileOpening::Opened) return 0;
  BudgetHeader first;
  BudgetHeader header;
  std::int64_t offset = result.layout->FirstRecordOffset();
  for (int records = 0; records < fuzz::kMaxRecords; ++records) {
    if (ReadBudgetHeader(result, offset, header) != RecordRead::Read || !SkipBudgetData(result, header, offset)) break;
    if (records == 0) first = header;
  }
  if (first.NCOL < 1 || first.NROW < 1 || first.NLAY < 1 ||
      std::int64_t{first.NCOL} * first.NROW * first.NLAY > fuzz::kMaxModelCells)
    return 0;
  ModelState state;
  DimensionModel(state, first.NCOL, first.NROW, first.NLAY);
  state.BudgetPath = path;
  state.CurrentStep = first.KSTP;
  state.CurrentPeriod = first.KPER;
  fuzz::SilentInterface ui;
  ReadFlowTerms(state, {.recharge = true, .evapotranspiration = true}, ui, true);
  return 0;
}
