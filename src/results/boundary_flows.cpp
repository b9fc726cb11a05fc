#include "results/boundary_flows.h"

#include "core/sink_codes.h"
#include "results/budget_reader.h"

namespace kestra {
namespace {

void MarkTerm(const CellArray<float>& term, ModelState& state) {
  for (int k = 1; k <= state.NLAY; ++k)
    for (int i = 1; i <= state.NROW; ++i)
      for (int j = 1; j <= state.NCOL; ++j) {
        const float flow = term(j, i, k);
        if (flow == 0) continue;
        std::int16_t& code = state.SINKCODE(j, i, k);
        code = CombinedSinkCode(code, flow < 0 ? kOutflowCell : kInflowCell);
      }
}

}  // namespace

PackageKeys MarkCellsByFlowSign(ModelState& state, const PackageKeys& packages) {
  PackageKeys found;
  ResultFile result;
  if (packages.empty() || OpenBudgetFile(state.BudgetPath, result) != ResultFileOpening::Opened) return found;
  SilentInterface silent;
  const ResultMessages messages{silent, false};
  CellArray<float> term;
  for (const BoundaryTerm& boundary : kBoundaryTerms) {
    if (!packages.contains(boundary.packageKey)) continue;
    const BudgetTermQuery query{state.CurrentStep, state.CurrentPeriod, boundary.label,
                                state.NCOL,        state.NROW,          state.NLAY};
    std::int64_t position = kFirstRecordPosition;
    if (!FindBudgetTerm(result, query, term, position, messages)) continue;
    MarkTerm(term, state);
    found.insert(boundary.packageKey);
  }
  return found;
}

std::string NoBoundaryFlowsText(const PackageKeys& packages) {
  std::string names;
  for (const std::string& key : packages) names += (names.empty() ? "" : ", ") + key;
  return "The budget file holds no flow terms of the boundary package(s) " + names +
         ": every cell of these packages is taken as a sink, whatever its flow.";
}

}  // namespace kestra
