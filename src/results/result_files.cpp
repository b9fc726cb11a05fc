#include "results/result_files.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "results/connection_flows.h"

namespace kestra {
namespace {

constexpr const char* kFlowRightFace = "FLOW RIGHT FACE";
constexpr const char* kFlowFrontFace = "FLOW FRONT FACE";
constexpr const char* kFlowLowerFace = "FLOW LOWER FACE";
constexpr const char* kRecharge = "RECHARGE";
constexpr const char* kEvapotranspiration = "ET";
// Heads above this mark cells without a result, whatever HNOFLO says.
constexpr float kLargestValidHead = 1.0E+25f;

using LayerStore = std::function<void(const std::vector<float>& values, int layer)>;

// A cross-section model's time step: one record whose rows are the layers.
bool LoadSection(const ModelState& state, ResultKind kind, ResultFile& result, const ResultMessages& messages,
                 const LayerStore& store) {
  std::int64_t position = kFirstRecordPosition;
  std::vector<float> values;
  const LayerResultQuery query{kind, state.CurrentStep, state.CurrentPeriod, kSectionLayer, state.NCOL, state.NLAY};
  if (!FindLayerResult(result, query, values, position, messages)) return false;
  std::vector<float> row(static_cast<std::size_t>(state.NCOL));
  for (int layer = 1; layer <= state.NLAY; ++layer) {
    std::copy_n(values.begin() + std::ptrdiff_t(layer - 1) * state.NCOL, state.NCOL, row.begin());
    store(row, layer);
  }
  return true;
}

bool LoadLayerResults(ModelState& state, ResultKind kind, const std::string& path, UserInterface& ui,
                      bool showMessages, const LayerStore& store) {
  const ResultMessages messages{ui, showMessages};
  ResultFile result;
  if (!OpenReportingProblems(
          path, OpenLayerResultFile, ResultFileWord(kind),
          [&] { messages.MissingFile(LoadFileMissingText(kind, path)); }, messages, result))
    return false;
  std::int64_t position = kFirstRecordPosition;
  std::vector<float> values;
  if (state.NROW == 1 && HoldsSections(result)) return LoadSection(state, kind, result, messages, store);
  for (int layer = 1; layer <= state.NLAY; ++layer) {
    const LayerResultQuery query{kind, state.CurrentStep, state.CurrentPeriod, layer, state.NCOL, state.NROW};
    if (!FindLayerResult(result, query, values, position, messages)) return false;
    store(values, layer);
  }
  return true;
}

bool MarksInactiveCell(float head, const Settings& settings) {
  return head > kLargestValidHead || head == settings.HNOFLO || head == settings.HDRY;
}

// A cell whose head marks no result becomes inactive; a valid head
// reactivates only a cell that was active at open, since a settings HNOFLO
// that differs from the run's would otherwise turn every inactive cell active.
// Fixed-head and other codes stay.
void StoreHeadLayer(ModelState& state, const Settings& settings, const std::vector<float>& values, int layer) {
  for (int row = 1; row <= state.NROW; ++row) {
    for (int column = 1; column <= state.NCOL; ++column) {
      const float head = values[std::size_t(row - 1) * state.NCOL + (column - 1)];
      state.HEAD(column, row, layer) = head;
      std::int16_t& ibound = state.IBOUND(column, row, layer);
      if (MarksInactiveCell(head, settings))
        ibound = 0;
      else if (ibound == 0 && state.IBOUND0(column, row, layer) != 0)
        ibound = 1;
    }
  }
}

}  // namespace

bool LoadHeads(ModelState& state, const Settings& settings, UserInterface& ui, bool showMessages) {
  return LoadLayerResults(state, ResultKind::Heads, state.HeadPath, ui, showMessages,
                          [&](const std::vector<float>& values, int layer) {
                            StoreHeadLayer(state, settings, values, layer);
                          });
}

bool LoadDrawdowns(ModelState& state, UserInterface& ui, bool showMessages) {
  return LoadLayerResults(state, ResultKind::Drawdowns, state.DrawdownPath, ui, showMessages,
                          [&](const std::vector<float>& values, int layer) {
                            for (int row = 1; row <= state.NROW; ++row)
                              std::copy_n(values.begin() + std::ptrdiff_t(row - 1) * state.NCOL, state.NCOL,
                                          &state.DRAWDOWN(1, row, layer));
                          });
}

bool ReadFlowTerms(ModelState& state, BudgetArealTerms areal, UserInterface& ui, bool showMessages,
                   const CellConnections* connections) {
  if (state.flowTermsLoaded) return true;
  Hourglass hourglass(ui);
  const ResultMessages messages{ui, showMessages};
  const std::string& path = state.BudgetPath;
  ResultFile result;
  if (!OpenReportingProblems(
          path, OpenBudgetFile, kBudgetFileWord, [&] { messages.MissingFile(FlowTermsFileMissingText(path)); },
          messages, result))
    return false;
  if (connections != nullptr) {
    state.flowTermsLoaded = ReadConnectionFlowTerms(result, *connections, areal, state, messages);
    return state.flowTermsLoaded;
  }
  const auto read = [&](const char* label, CellArray<float>& target, std::int64_t& position) {
    const BudgetTermQuery query{state.CurrentStep, state.CurrentPeriod, label, state.NCOL, state.NROW, state.NLAY};
    return FindBudgetTerm(result, query, target, position, messages);
  };
  // The face flows follow each other in this order within a time step.
  std::int64_t position = kFirstRecordPosition;
  if (state.NCOL > 1 && !read(kFlowRightFace, state.QRIGHT, position)) return false;
  if (state.NROW > 1 && !read(kFlowFrontFace, state.QFRONT, position)) return false;
  if (state.NLAY > 1 && !read(kFlowLowerFace, state.QLOWER, position)) return false;
  // MODFLOW writes ET before RECHARGE, other packages between or around them:
  // each is searched from the end of the face flows.
  const std::int64_t afterFaceFlows = position;
  std::int64_t rechargePosition = afterFaceFlows;
  if (areal.recharge && !read(kRecharge, state.QRECH, rechargePosition)) return false;
  std::int64_t evapotranspirationPosition = afterFaceFlows;
  if (areal.evapotranspiration && !read(kEvapotranspiration, state.QET, evapotranspirationPosition))
    return false;
  state.flowTermsLoaded = true;
  return true;
}

}  // namespace kestra
