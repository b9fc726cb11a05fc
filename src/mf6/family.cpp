#include <cstdlib>
#include <utility>

#include "core/data_types.h"
#include "core/model_paths.h"
#include "core/sink_codes.h"
#include "mf6/model.h"

namespace kestra {
namespace {

constexpr const char* kConstantHead = "CHD";

// MODFLOW 6 holds a cell at a fixed head only in the stress periods whose
// CHD list names it; an inactive cell stays inactive.
void ApplyConstantHeads(const Mf6BoundaryPackage& package, ModelState& state) {
  for (std::size_t period = 1; period < package.periods.size(); ++period) {
    const bool current = static_cast<int>(period) == state.CurrentPeriod;
    for (const Mf6BoundaryCell& cell : package.periods[period]) {
      std::int16_t& code = state.IBOUND(cell.column, cell.row, cell.layer);
      if (!current && code < 0) code = static_cast<std::int16_t>(-code);
    }
  }
  if (const auto* cells = package.CellsOf(state.CurrentPeriod))
    for (const Mf6BoundaryCell& cell : *cells) {
      std::int16_t& code = state.IBOUND(cell.column, cell.row, cell.layer);
      code = static_cast<std::int16_t>(-std::abs(code));
    }
}

}  // namespace

Mf6Family::Mf6Family(Mf6Model&& model)
    : basePath_(PathWithoutExtension(model.simulationPath)),
      modelName_(model.modelName),
      grid_(model.Shape()),
      connections_(std::move(model.connections)),
      boundaryPackages_(std::move(model.boundaryPackages)),
      advancedPackages_(std::move(model.advancedPackages)),
      defaultIface_(std::move(model.defaultIface)),
      hasRecharge_(model.hasRecharge),
      hasEvapotranspiration_(model.hasEvapotranspiration) {
  for (std::size_t n = 0; n < model.grid.IDOMAIN.size(); ++n)
    if (CellConnections::RoleOf(model.grid.IDOMAIN[n]) == CellConnections::Role::PassThrough)
      passThroughCells_.push_back(n);
}

void Mf6Family::AdjustLoadedHeads(ModelState& state) const {
  const std::size_t layerCells = static_cast<std::size_t>(grid_.ncol) * static_cast<std::size_t>(grid_.nrow);
  for (const std::size_t n : passThroughCells_) {
    const int column = static_cast<int>(n % grid_.ncol) + 1;
    const int row = static_cast<int>(n / grid_.ncol % grid_.nrow) + 1;
    const int layer = static_cast<int>(n / layerCells) + 1;
    state.HEAD(column, row, layer) = state.TOP(column, row, layer);
    state.IBOUND(column, row, layer) = 1;
  }
}

std::string Mf6Family::SiblingPath(const std::string& extension) const { return basePath_ + extension; }

// Fixed-head cells are no sinks: they are not listed.
PackageKeys Mf6Family::ListedBoundaryPackages(const ModelState&) const {
  PackageKeys listed(advancedPackages_.begin(), advancedPackages_.end());
  for (const Mf6BoundaryPackage& package : boundaryPackages_)
    if (package.kind != kConstantHead) listed.insert(package.kind);
  return listed;
}

bool Mf6Family::MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface&, bool) const {
  bool allHeld = true;
  for (const Mf6BoundaryPackage& package : boundaryPackages_) {
    if (package.kind == kConstantHead) ApplyConstantHeads(package, state);
    const auto* cells = package.CellsOf(state.CurrentPeriod);
    allHeld = allHeld && cells != nullptr;
    if (cells == nullptr || skipped.contains(package.kind)) continue;
    for (const Mf6BoundaryCell& cell : *cells)
      if (IsMf6SinkCell(package.kind, cell)) state.SINKCODE(cell.column, cell.row, cell.layer) = kBoundarySink;
  }
  return allHeld;
}

bool Mf6Family::ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const {
  const char* key = data_type::PackageKey(dataType);
  bool listed = false;
  values.Clear(grid_);
  for (const Mf6BoundaryPackage& package : boundaryPackages_) {
    if (key == nullptr || package.kind != key) continue;
    listed = true;
    if (const auto* cells = package.CellsOf(period))
      for (const Mf6BoundaryCell& cell : *cells)
        if (cell.layer == layer) values(cell.column, cell.row) = cell.value;
  }
  return listed;
}

bool OpenMf6Model(const std::string& path, const OpenChoices& choices, OpenedModel& opened, UserInterface& ui,
                  const OpenStage& stage) {
  stage(0);
  Hourglass hourglass(ui);
  Mf6Model model;
  std::string problem;
  const LayerPorosity porosity = ChosenLayerPorosity(path, choices);
  if (!ReadMf6Model(path, choices.gwfModel, porosity, model, problem)) {
    Complain(ui, "The MODFLOW 6 model " + path + " cannot be opened:\n" + problem, MessageIcon::Exclamation,
             kApplicationTitle);
    return false;
  }
  for (const std::string& note : model.notes) ui.ShowMessage(note, MessageIcon::Information, kApplicationTitle);
  stage(6);
  CopyMf6Model(std::move(model), opened);
  return true;
}

}  // namespace kestra
