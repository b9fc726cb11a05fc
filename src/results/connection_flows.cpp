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
    : state_(state),
      consistent_(connections.Usable() && connections.Grid() == state.Shape()),
      walk_(connections),
      entriesLeft_(connections.EntryCount()) {
  Clear(state.QRIGHT);
  Clear(state.QFRONT);
  Clear(state.QLOWER);
}

bool ConnectionFlowPlacer::Place(std::span<const float> flows) {
  if (!consistent_ || static_cast<std::int64_t>(flows.size()) > entriesLeft_) return false;
  entriesLeft_ -= static_cast<std::int64_t>(flows.size());
  for (std::size_t done = 0; done < flows.size();) {
    while (next_ == entryCount_) {
      if (!walk_.Next()) return false;
      next_ = 0;
      entryCount_ = walk_.EntryCount();
    }
    const std::size_t at = state_.QRIGHT.shape.Index(walk_.Column(), walk_.Row(), walk_.Layer());
    const FaceEntries* faces = walk_.Faces();
    if (faces != nullptr && next_ == 0 && entryCount_ <= flows.size() - done) {
      PlaceFaces(*faces, flows.data() + done, at);
      done += entryCount_;
      next_ = entryCount_;
    } else if (!PlaceEntries(flows, done, at)) {
      return false;
    }
  }
  return true;
}

// A flow out of the cell is the face flow's sign.
void ConnectionFlowPlacer::PlaceFaces(const FaceEntries& faces, const float* flows, std::size_t at) {
  if (faces.right >= 0) state_.QRIGHT.values[at] = -flows[faces.right];
  if (faces.front >= 0) state_.QFRONT.values[at] = -flows[faces.front];
  if (faces.below >= 0) state_.QLOWER.values[at] = -flows[faces.below];
}

// The neighbour of a connection follows from the distance of the two cell
// numbers alone; only the last column and row need the cell's place.
bool ConnectionFlowPlacer::PlaceEntries(std::span<const float> flows, std::size_t& done, std::size_t at) {
  const std::int64_t ncol = state_.NCOL;
  const std::int64_t layerCells = ncol * state_.NROW;
  const std::span<const std::int32_t> entries = walk_.Entries();
  const std::int64_t cell = walk_.Cell();
  const int column = walk_.Column(), row = walk_.Row(), layer = walk_.Layer();
  for (; next_ < entries.size() && done < flows.size(); ++next_, ++done) {
    const std::int64_t distance = entries[next_] - cell;
    if (distance <= 0) continue;  // each connection once, from its lower-numbered cell
    const float outflow = -flows[done];
    if (distance == 1 && column < state_.NCOL) {
      state_.QRIGHT.values[at] = outflow;
    } else if (distance == ncol && row < state_.NROW) {
      state_.QFRONT.values[at] = outflow;
    } else if (distance == layerCells) {
      state_.QLOWER.values[at] = outflow;
    } else if (distance % layerCells == 0) {  // through pass-through cells
      const int below = layer + static_cast<int>(distance / layerCells);
      for (int k = layer; k < below; ++k) state_.QLOWER(column, row, k) = outflow;
    } else {
      return false;
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
  const std::int64_t cellConnections = connections.EntryCount();
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
