#include "results/connection_flows.h"

#include <algorithm>

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

void Clear(CellArray<float>& array) { std::fill(array.values.begin(), array.values.end(), 0.0f); }

bool ReadFlows(ResultFile& result, const BudgetHeader& header, ConnectionFlowPlacer& placer, std::int64_t& next) {
  RecordSpan span;
  const std::int64_t count = header.NCOL;
  if (!result.layout->ReadRecordHeader(result.file, header.dataOffset, count * result.realBytes, span)) return false;
  bool placed = true;
  const auto place = [&](std::span<const float> piece) { placed = placed && placer.Place(piece); };
  if (!ReadReals(result, span, 0, count, place) || !placed || !result.layout->SkipRecord(result.file, span))
    return false;
  next = span.end;
  return true;
}

}  // namespace

ConnectionFlowPlacer::ConnectionFlowPlacer(const CellConnections& connections, ModelState& state)
    : connections_(connections),
      state_(state),
      consistent_(!connections.IA.empty() &&
                  connections.CellCount() == std::int64_t{state.NCOL} * state.NROW * state.NLAY &&
                  connections.IA.back() == static_cast<std::int64_t>(connections.JA.size())) {
  Clear(state.QRIGHT);
  Clear(state.QFRONT);
  Clear(state.QLOWER);
  if (consistent_ && connections.CellCount() > 0) cellEnd_ = connections.IA[1];
}

void ConnectionFlowPlacer::NextCell() {
  ++cell_;
  cellEnd_ = connections_.IA[static_cast<std::size_t>(cell_) + 1];
  if (++column_ <= state_.NCOL) return;
  column_ = 1;
  if (++row_ <= state_.NROW) return;
  row_ = 1;
  ++layer_;
}

// The neighbour of a connection follows from the distance of the two cell
// numbers alone; only the last column and row need the cell's place.
bool ConnectionFlowPlacer::Place(std::span<const float> flows) {
  const std::int64_t end = entry_ + static_cast<std::int64_t>(flows.size());
  if (!consistent_ || end > static_cast<std::int64_t>(connections_.JA.size())) return false;
  const std::int64_t ncol = state_.NCOL;
  const std::int64_t layerCells = ncol * state_.NROW;
  const std::int64_t first = entry_;
  while (entry_ < end) {
    while (entry_ >= cellEnd_) NextCell();
    const std::size_t at = state_.QRIGHT.shape.Index(column_, row_, layer_);
    for (const std::int64_t stop = std::min(end, cellEnd_); entry_ < stop; ++entry_) {
      const std::int64_t distance = connections_.JA[static_cast<std::size_t>(entry_)] - cell_;
      if (distance <= 0) continue;  // each connection once, from its lower-numbered cell
      const float outflow = -flows[static_cast<std::size_t>(entry_ - first)];
      if (distance == 1 && column_ < state_.NCOL) {
        state_.QRIGHT.values[at] = outflow;
      } else if (distance == ncol && row_ < state_.NROW) {
        state_.QFRONT.values[at] = outflow;
      } else if (distance % layerCells == 0) {
        const int below = layer_ + static_cast<int>(distance / layerCells);
        for (int k = layer_; k < below; ++k) state_.QLOWER(column_, row_, k) = outflow;
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
      ConnectionFlowPlacer placer(connections, state);
      ok = ReadFlows(result, header, placer, next);
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
