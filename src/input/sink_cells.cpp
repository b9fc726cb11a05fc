#include "input/sink_cells.h"

#include <algorithm>
#include <iterator>

#include "core/sink_codes.h"
#include "input/mf2005_model.h"
#include "input/model_array.h"
#include "input/model_paths.h"
#include "input/package_files.h"

namespace kestra {
namespace {

constexpr std::int16_t kDataPresent = 2;  // DataFlags code of a package the model uses

struct SinkDataType {
  const char* packageKey;
  int type;
  int flagColumn;  // DataFlags(3, flagColumn)
  bool sinkWhenNegativeOnly;
};

constexpr SinkDataType kSinkTypes[] = {
    {"WEL", data_type::kWells, 2, true},   {"DRN", data_type::kDrains, 3, false},
    {"RIV", data_type::kRivers, 4, false}, {"STR", data_type::kStreams, 8, false},
    {"GHB", data_type::kGeneralHead, 6, false},
};

bool UsesDataType(const ModelState& state, const SinkDataType& sinkType) {
  return state.DataFlags(3, sinkType.flagColumn) == kDataPresent;
}

// Marks the sinks of one data type in every layer; false at the first layer
// that cannot be read.
bool MarkSinks(ModelState& state, const ModelArraySource& source, const SinkDataType& sinkType, UserInterface& ui) {
  LayerGrid grid;
  grid.Dimension(state.NCOL, state.NROW);
  for (int k = 1; k <= state.NLAY; ++k) {
    if (!ReadModelArray(source, sinkType.type, state.CurrentPeriod, k, grid, 0.0f, ui)) return false;
    for (int i = 1; i <= state.NROW; ++i)
      for (int j = 1; j <= state.NCOL; ++j) {
        const float value = grid(j, i);
        if (sinkType.sinkWhenNegativeOnly ? value < 0 : value != 0) state.SINKCODE(j, i, k) = kBoundarySink;
      }
  }
  return true;
}

// The boundary packages the model lists, whatever their cells.
PackageKeys ListedBoundaryPackages(const ModelState& state) {
  if (state.importedFromMf2005) {
    PackageKeys listed;
    for (const BoundaryPackage& package : state.boundaryPackages) listed.insert(package.fileType);
    return listed;
  }
  if (state.importedFromNameFile) return ListedPackages(state.packages);
  PackageKeys listed;
  for (const auto& sinkType : kSinkTypes)
    if (UsesDataType(state, sinkType)) listed.insert(sinkType.packageKey);
  return listed;
}

// Every cell of the listed packages not in `skipped` as a sink.
bool MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface& ui, bool showMessages) {
  if (state.importedFromMf2005) return MarkMf2005Sinks(state, skipped);
  if (state.importedFromNameFile) {
    LoadSinkCellsFromPackages(state, skipped);
    return true;
  }
  SilentInterface silent;
  UserInterface& messages = showMessages ? ui : silent;
  const ModelArraySource source{ModelBasePath(state.ModelPath), state.Shape()};
  bool allRead = true;
  for (const auto& sinkType : kSinkTypes)
    if (UsesDataType(state, sinkType) && !skipped.contains(sinkType.packageKey))
      allRead = MarkSinks(state, source, sinkType, messages) && allRead;
  return allRead;
}

}  // namespace

bool LoadSinkCells(ModelState& state, BoundaryCellRule rule, UserInterface& ui, bool showMessages,
                   PackageKeys* withoutFlowTerms) {
  state.SINKCODE.Dimension(state.Shape());
  const PackageKeys listed = ListedBoundaryPackages(state);
  const PackageKeys byFlow =
      rule == BoundaryCellRule::SinksByFlowSign ? MarkCellsByFlowSign(state, listed) : PackageKeys{};
  if (withoutFlowTerms) {
    withoutFlowTerms->clear();
    if (rule == BoundaryCellRule::SinksByFlowSign)
      std::set_difference(listed.begin(), listed.end(), byFlow.begin(), byFlow.end(),
                          std::inserter(*withoutFlowTerms, withoutFlowTerms->end()));
  }
  return MarkBoundarySinks(state, byFlow, ui, showMessages);
}

}  // namespace kestra
