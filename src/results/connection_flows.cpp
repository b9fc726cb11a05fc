#include "results/connection_flows.h"

#include <algorithm>
#include <vector>

#include "core/number_format.h"
#include "results/budget_header.h"
#include "results/budget_step.h"
#include "results/budget_term_data.h"

namespace kestra {
namespace {

constexpr const char* kRechargeNames[] = {"RCH", "RCHA"};
constexpr const char* kEvapotranspirationNames[] = {"EVT", "EVTA"};

template <std::size_t N>
bool NamedIn(const std::string& name, const char* const (&names)[N]) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

struct CellOf {
  int column, row, layer;
};

CellOf CellAt(std::int64_t n, const ModelState& state) {
  const std::int64_t layerCells = std::int64_t{state.NCOL} * state.NROW;
  return {static_cast<int>(n % state.NCOL) + 1, static_cast<int>(n / state.NCOL % state.NROW) + 1,
          static_cast<int>(n / layerCells) + 1};
}

void Clear(CellArray<float>& array) { std::fill(array.values.begin(), array.values.end(), 0.0f); }

bool ReadFlows(ResultFile& result, const BudgetHeader& header, std::vector<float>& flows, std::int64_t& next) {
  RecordSpan span;
  const std::int64_t count = header.NCOL;
  if (!result.layout->ReadRecordHeader(result.file, header.dataOffset, count * result.realBytes, span)) return false;
  flows.clear();
  flows.reserve(static_cast<std::size_t>(count));
  if (!ReadReals(result, span, 0, count,
                 [&](std::span<const float> piece) { flows.insert(flows.end(), piece.begin(), piece.end()); }) ||
      !result.layout->SkipRecord(result.file, span))
    return false;
  next = span.end;
  return true;
}

}  // namespace

bool PlaceConnectionFlows(const CellConnections& connections, std::span<const float> flows, ModelState& state) {
  Clear(state.QRIGHT);
  Clear(state.QFRONT);
  Clear(state.QLOWER);
  const std::int64_t cells = connections.CellCount();
  for (std::int64_t n = 0; n < cells; ++n) {
    const CellOf from = CellAt(n, state);
    for (std::int64_t p = connections.IA[n] + 1; p < connections.IA[n + 1]; ++p) {
      const std::int64_t m = connections.JA[static_cast<std::size_t>(p)];
      if (m <= n) continue;  // each connection once, from its lower-numbered cell
      const CellOf to = CellAt(m, state);
      const float outflow = -flows[static_cast<std::size_t>(p)];
      const bool sameLayer = to.layer == from.layer;
      if (sameLayer && to.row == from.row && to.column == from.column + 1) {
        state.QRIGHT(from.column, from.row, from.layer) = outflow;
      } else if (sameLayer && to.column == from.column && to.row == from.row + 1) {
        state.QFRONT(from.column, from.row, from.layer) = outflow;
      } else if (to.column == from.column && to.row == from.row && to.layer > from.layer) {
        for (int k = from.layer; k < to.layer; ++k) state.QLOWER(from.column, from.row, k) = outflow;
      } else {
        return false;
      }
    }
  }
  return true;
}

bool ReadConnectionFlowTerms(ResultFile& result, const CellConnections& connections, BudgetArealTerms areal,
                             ModelState& state, const ResultMessages& messages) {
  if (areal.recharge) Clear(state.QRECH);
  if (areal.evapotranspiration) Clear(state.QET);
  state.ArealFaceFlows.byCell.clear();
  const FaceRouting routing{state.ArealFaceFlows, 0};
  const GridShape grid = state.Shape();
  const auto cellConnections = static_cast<std::int64_t>(connections.JA.size());
  bool faceFlows = false;
  std::vector<float> flows;
  CellArray<float>& term = result.spareCells;
  std::string problem;
  const auto visit = [&](const BudgetHeader& header, std::int64_t& next) {
    const std::string name = header.Name();
    CellArray<float>* areaTarget = areal.recharge && NamedIn(name, kRechargeNames) ? &state.QRECH
                                   : areal.evapotranspiration && NamedIn(name, kEvapotranspirationNames) ? &state.QET
                                                                                                       : nullptr;
    bool ok = true;
    if (IsConnectionTerm(header)) {
      if (header.NCOL != cellConnections) {
        problem = ConnectionCountText(result.path, header.NCOL, cellConnections);
        return false;
      }
      ok = ReadFlows(result, header, flows, next) && PlaceConnectionFlows(connections, flows, state);
      faceFlows = faceFlows || ok;
    } else if (areaTarget != nullptr) {
      if (term.shape != grid) term.Dimension(grid);
      Clear(term);
      ok = ReadBudgetData(result, header, term, next, &routing);
      for (std::size_t n = 0; ok && n < term.values.size(); ++n) areaTarget->values[n] += term.values[n];
    } else {
      ok = SkipBudgetData(result, header, next);
    }
    if (!ok) problem = BudgetTermUnreadableText(name);
    return ok;
  };
  switch (WalkStepTerms(result, state.CurrentStep, state.CurrentPeriod, grid, visit)) {
    case StepWalk::Damaged: problem = HeaderUnreadableText(kBudgetFileWord); break;
    case StepWalk::OtherGrid: problem = DimensionMismatchText(kBudgetFileWord); break;
    case StepWalk::Ended:
      if (!faceFlows) problem = BudgetDataNotFoundText(state.CurrentStep, state.CurrentPeriod);
      break;
    case StepWalk::Stopped: break;
  }
  if (!problem.empty()) messages.DataProblem(problem);
  return problem.empty();
}

}  // namespace kestra
