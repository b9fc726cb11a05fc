// A model of the pre-processor's name file as a model family: the MAIN file
// holds the grid and stress periods, list packages the boundary cells of
// every stress period, a recharge package the recharge.
#pragma once

#include <string>

#include "core/model_family.h"
#include "modelset/package_files.h"
#include "settings/layer_porosity.h"
#include "settings/open_choices.h"

namespace kestra {

class NameFileFamily final : public ModelFamily {
 public:
  NameFileFamily(std::string nameFilePath, GridShape grid, PackagePaths packages, bool hasEvapotranspiration)
      : nameFilePath_(std::move(nameFilePath)),
        grid_(grid),
        packages_(std::move(packages)),
        hasEvapotranspiration_(hasEvapotranspiration) {}
  std::string Description() const override { return "name file"; }
  std::string SiblingPath(const std::string& extension) const override;
  PackageKeys ListedBoundaryPackages(const ModelState&) const override { return ListedPackages(packages_); }
  bool MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface& ui,
                         bool showMessages) const override;
  // Every package counts as simulated: the name file lists those it has,
  // which the package reader says.
  bool SimulatesPackage(const ModelState&, int) const override { return true; }
  bool ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const override;
  // The budget's "ET" term where the name file lists an evapotranspiration
  // package; recharge comes from the recharge package instead.
  BudgetArealTerms ArealTermsInBudget(const ModelState&) const override { return {false, hasEvapotranspiration_}; }
  void PlaceArealFlows(ModelState& state) const override;
  bool TakesLayerPorosityFromSettings() const override { return false; }

 private:
  std::string nameFilePath_;
  GridShape grid_;
  PackagePaths packages_;
  bool hasEvapotranspiration_;
};

// Reads the name file `path`, its MAIN file and the packages it lists into
// `opened` (the layers the choices' porosity sets take it). False, with a
// message, when the name file or the MAIN file cannot be read.
bool OpenNameFileModel(const std::string& path, const OpenChoices& choices, OpenedModel& opened,
                       UserInterface& ui, const OpenStage& stage);

}  // namespace kestra
