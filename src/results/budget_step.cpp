#include "results/budget_step.h"

#include "results/budget_term_data.h"

namespace kestra {

StepWalk WalkStepTerms(ResultFile& result, int kstp, int kper, const GridShape& grid,
                       const std::function<bool(const BudgetHeader& header, std::int64_t& next)>& visit) {
  for (std::int64_t offset = result.layout->FirstRecordOffset();;) {
    BudgetHeader header;
    const RecordRead read = ReadBudgetHeader(result, offset, header);
    if (read == RecordRead::Damaged) return StepWalk::Damaged;
    if (read == RecordRead::EndOfFile || header.KPER > kper || (header.KPER == kper && header.KSTP > kstp))
      return StepWalk::Ended;
    if (!IsConnectionTerm(header) && GridShape{header.NCOL, header.NROW, header.NLAY} != grid)
      return StepWalk::OtherGrid;
    std::int64_t next = 0;
    const bool thisStep = header.KPER == kper && header.KSTP == kstp;
    if (!(thisStep ? visit(header, next) : SkipBudgetData(result, header, next))) return StepWalk::Stopped;
    offset = next;
  }
}

}  // namespace kestra
