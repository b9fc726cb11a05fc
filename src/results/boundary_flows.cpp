#include "results/boundary_flows.h"

#include <algorithm>

#include "core/sink_codes.h"
#include "results/budget_reader.h"
#include "results/budget_step.h"
#include "results/budget_term_data.h"

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

// The package whose term `name` (TEXT without its blanks) is; null for other terms.
const char* PackageOfTerm(const std::string& name) {
  const auto found = std::find_if(std::begin(kBoundaryTerms), std::end(kBoundaryTerms),
                                  [&](const BoundaryTerm& term) { return name == term.label; });
  return found == std::end(kBoundaryTerms) ? nullptr : found->packageKey;
}

}  // namespace

PackageKeys MarkCellsByFlowSign(ModelState& state, const PackageKeys& packages) {
  PackageKeys found;
  ResultFile result;
  if (packages.empty() || OpenBudgetFile(state.BudgetPath, result) != ResultFileOpening::Opened) return found;
  CellArray<float> term;
  term.Dimension(state.Shape());
  const ModelFamily& family = FamilyOf(state);
  // Every term of a listed package counts: a model may have several
  // packages of one kind, each with its own term.
  WalkStepTerms(result, state.CurrentStep, state.CurrentPeriod, state.Shape(),
                [&](const BudgetHeader& header, std::int64_t& next) {
                  const char* package = PackageOfTerm(header.Name());
                  if (package == nullptr || !packages.contains(package)) return SkipBudgetData(result, header, next);
                  std::fill(term.values.begin(), term.values.end(), 0.0f);
                  const FaceRouting routing{state.BoundaryFaceFlows, family.DefaultFace(header.Name())};
                  if (!ReadBudgetData(result, header, term, next, &routing)) return false;
                  MarkTerm(term, state);
                  found.insert(package);
                  return true;
                });
  return found;
}

CellTermTable BoundaryTermsByCell(const ModelState& state) {
  CellTermTable table;
  ResultFile result;
  if (OpenBudgetFile(state.BudgetPath, result) != ResultFileOpening::Opened) return table;
  CellArray<float> term;
  term.Dimension(state.Shape());
  // A damaged term ends the walk: the terms before it are kept.
  WalkStepTerms(result, state.CurrentStep, state.CurrentPeriod, state.Shape(),
                [&](const BudgetHeader& header, std::int64_t& next) {
                  const std::string name = header.Name();
                  if (PackageOfTerm(name) == nullptr) return SkipBudgetData(result, header, next);
                  std::fill(term.values.begin(), term.values.end(), 0.0f);
                  if (!ReadBudgetData(result, header, term, next)) return false;
                  for (std::size_t cell = 0; cell < term.values.size(); ++cell)
                    if (term.values[cell] != 0) table[cell].push_back({name, term.values[cell]});
                  return true;
                });
  return table;
}

std::string NoBoundaryFlowsText(const PackageKeys& packages) {
  std::string names;
  for (const std::string& key : packages) names += (names.empty() ? "" : ", ") + key;
  return "The budget file holds no flow terms of the boundary package(s) " + names +
         ": every cell of these packages is taken as a sink, whatever its flow.";
}

}  // namespace kestra
