#include "input/sink_cells.h"

#include "input/mf2005_model.h"
#include "input/model_array.h"
#include "input/model_paths.h"
#include "input/package_files.h"

namespace kestra {
namespace {

constexpr std::int16_t kDataPresent = 2;  // DataFlags code of a package the model uses

struct SinkDataType {
  int type;
  int flagColumn;  // DataFlags(3, flagColumn)
  bool sinkWhenNegativeOnly;
};

constexpr SinkDataType kSinkTypes[] = {
    {data_type::kWells, 2, true},        {data_type::kDrains, 3, false}, {data_type::kRivers, 4, false},
    {data_type::kStreams, 8, false},     {data_type::kGeneralHead, 6, false},
};

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
        if (sinkType.sinkWhenNegativeOnly ? value < 0 : value != 0) state.SINKCODE(j, i, k) = -1;
      }
  }
  return true;
}

}  // namespace

bool LoadSinkCells(ModelState& state, UserInterface& ui, bool showMessages) {
  state.SINKCODE.Dimension(state.Shape());
  if (state.importedFromMf2005) return MarkMf2005Sinks(state);
  if (state.importedFromNameFile) {
    LoadSinkCellsFromPackages(state);
    return true;
  }
  SilentInterface silent;
  UserInterface& messages = showMessages ? ui : silent;
  const ModelArraySource source{ModelBasePath(state.ModelPath), state.Shape()};
  bool allRead = true;
  for (const auto& sinkType : kSinkTypes)
    if (state.DataFlags(3, sinkType.flagColumn) == kDataPresent)
      allRead = MarkSinks(state, source, sinkType, messages) && allRead;
  return allRead;
}

}  // namespace kestra
