#include "tracking/well_screens.h"

#include <algorithm>
#include <utility>

#include "core/data_types.h"
#include "core/model_family.h"

namespace kestra {
namespace {

// The well rates of every layer of `period`; a layer without well data stays empty.
std::vector<LayerValues> WellLayers(const ModelState& state, int period) {
  std::vector<LayerValues> layers(static_cast<std::size_t>(state.NLAY) + 1);
  for (int k = 1; k <= state.NLAY; ++k)
    if (!FamilyOf(state).ReadPackageLayer(data_type::kWells, k, period, layers[k])) layers[k] = {};
  return layers;
}

}  // namespace

std::string WellName(const WellScreen& well) {
  if (well.cells.empty()) return "";
  const CellIndex first = well.cells.front(), last = well.cells.back();
  const std::string layers = first.layer == last.layer ? std::to_string(first.layer)
                                                       : std::to_string(first.layer) + "-" + std::to_string(last.layer);
  return layers + "," + std::to_string(first.row) + "," + std::to_string(first.column);
}

float WellRateAt(const ModelState& state, int period, CellIndex cell) {
  LayerValues values;
  if (!FamilyOf(state).ReadPackageLayer(data_type::kWells, cell.layer, period, values) || values.values.empty())
    return 0;
  return values(cell.column, cell.row);
}

std::string CellText(CellIndex cell) {
  return "layer " + std::to_string(cell.layer) + ", row " + std::to_string(cell.row) + ", column " +
         std::to_string(cell.column);
}

std::string WellScreenProblem(const ModelState& state, int period, const WellScreen& well) {
  const std::string inPeriod = " in stress period " + std::to_string(period);
  for (const CellIndex cell : well.cells) {
    if (!state.IBOUND.shape.Contains(cell.column, cell.row, cell.layer)) return CellText(cell) + " lies outside the grid";
    const float rate = WellRateAt(state, period, cell);
    if (rate == 0) return CellText(cell) + " holds no well" + inPeriod;
    if (rate > 0) return "the well at " + CellText(cell) + " does not pump" + inPeriod + " (it injects)";
  }
  return "";
}

std::optional<WellScreen> PumpingWellAt(const ModelState& state, int period, CellIndex cell, std::string& problem) {
  problem = WellScreenProblem(state, period, {{cell}, ""});
  if (!problem.empty()) return std::nullopt;
  for (WellScreen& well : PumpingWells(state, period))
    if (well.cells.front().column == cell.column && well.cells.front().row == cell.row &&
        well.cells.front().layer <= cell.layer && cell.layer <= well.cells.back().layer)
      return std::move(well);
  return WellScreen{{cell}, ""};
}

std::vector<WellScreen> PumpingWells(const ModelState& state, int period) {
  const std::vector<LayerValues> layers = WellLayers(state, period);
  const std::size_t cellsOfLayer = static_cast<std::size_t>(state.NCOL) * static_cast<std::size_t>(state.NROW);
  // Each layer's rates are passed over once in memory order; sorting the
  // pumping cells by cell of the layer, then layer, gives the screens in
  // their order, each one's layers in a row.
  std::vector<std::pair<std::size_t, int>> pumping;
  for (int k = 1; k <= state.NLAY; ++k) {
    const std::vector<float>& rates = layers[k].values;
    const std::size_t count = std::min(rates.size(), cellsOfLayer);
    for (std::size_t cell = 0; cell < count; ++cell)
      if (rates[cell] < 0) pumping.emplace_back(cell, k);
  }
  std::sort(pumping.begin(), pumping.end());

  std::vector<WellScreen> wells;
  for (std::size_t n = 0; n < pumping.size(); ++n) {
    const auto [cell, layer] = pumping[n];
    const bool continuesScreen = n > 0 && pumping[n - 1].first == cell && pumping[n - 1].second == layer - 1;
    if (!continuesScreen) wells.emplace_back();
    wells.back().cells.push_back({static_cast<std::int16_t>(cell % state.NCOL + 1),
                                  static_cast<std::int16_t>(cell / state.NCOL + 1), static_cast<std::int16_t>(layer)});
  }
  return wells;
}

}  // namespace kestra
