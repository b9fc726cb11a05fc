#include "modelset/name_file_model.h"

#include "core/data_types.h"
#include "core/model_paths.h"
#include "modelset/main_file.h"
#include "modelset/name_file.h"
#include "modelset/recharge_package.h"

namespace kestra {

std::string NameFileFamily::SiblingPath(const std::string& extension) const {
  return PathWithoutExtension(nameFilePath_) + extension;
}

bool NameFileFamily::MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface&, bool) const {
  LoadSinkCellsFromPackages(state, packages_, skipped);
  return true;
}

// The cells the list packages give for the period, in the layer asked for;
// cells outside the grid are left out.
bool NameFileFamily::ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const {
  const char* key = data_type::PackageKey(dataType);
  if (!key) return false;
  const auto cells = ListedPackageCells(packages_, key, period);
  if (!cells) return false;
  values.Clear(grid_);
  for (const PackageCell& cell : *cells)
    if (cell.layer == layer && grid_.Contains(cell.column, cell.row, cell.layer)) values(cell.column, cell.row) = cell.value;
  return true;
}

// Its budget file carries no recharge this system reads.
void NameFileFamily::PlaceArealFlows(ModelState& state) const {
  if (!packages_.recharge.empty()) ReadRechargePackage(packages_.recharge, state);
}

bool OpenNameFileModel(const std::string& path, const OpenChoices& choices, OpenedModel& opened,
                       UserInterface& ui, const OpenStage& stage) {
  NameFileEntries entries;
  if (!ReadNameFile(path, entries, ui)) return false;
  stage(0);
  MainFileContents contents;
  if (!ReadMainFile(entries.main, contents, ui)) return false;
  ApplyLayerPorosity(choices.layerPorosity, contents.model.POROSITY);
  stage(6);
  OpenedModel read;
  ModelState& model = read.model;
  model = std::move(contents.model);
  model.ModelPath = path;
  model.ModelTitleName = FileNameOf(path);
  model.family = std::make_shared<NameFileFamily>(path, model.Shape(), entries.packages,
                                                  !entries.evapotranspiration.empty());
  model.BudgetPath = entries.budget;
  model.HeadPath = entries.heads;
  model.DrawdownPath = entries.drawdowns;
  const PackagePaths& packages = entries.packages;
  model.InputFiles = {path, entries.main, packages.wells, packages.rivers, packages.streams, packages.drains,
                      packages.generalHead, packages.recharge, entries.evapotranspiration, entries.budget,
                      entries.heads, entries.drawdowns};
  read.periods = std::move(contents.periods);
  read.HNOFLO = contents.HNOFLO;
  read.HDRY = contents.HDRY;
  opened = std::move(read);
  return true;
}

}  // namespace kestra
