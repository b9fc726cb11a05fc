#include "session/sink_cells.h"

#include <algorithm>
#include <iterator>

#include "core/model_family.h"

namespace kestra {

bool LoadSinkCells(ModelState& state, BoundaryCellRule rule, UserInterface& ui, bool showMessages,
                   PackageKeys* withoutFlowTerms) {
  state.SINKCODE.Dimension(state.Shape());
  state.BoundaryFaceFlows.byCell.clear();
  const ModelFamily& family = FamilyOf(state);
  const PackageKeys listed = family.ListedBoundaryPackages(state);
  const PackageKeys byFlow =
      rule == BoundaryCellRule::SinksByFlowSign ? MarkCellsByFlowSign(state, listed) : PackageKeys{};
  if (withoutFlowTerms) {
    withoutFlowTerms->clear();
    if (rule == BoundaryCellRule::SinksByFlowSign)
      std::set_difference(listed.begin(), listed.end(), byFlow.begin(), byFlow.end(),
                          std::inserter(*withoutFlowTerms, withoutFlowTerms->end()));
  }
  return family.MarkBoundarySinks(state, byFlow, ui, showMessages);
}

}  // namespace kestra
