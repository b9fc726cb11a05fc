// The pre-processor's model file set as a model family: the model file
// (".mdl") and the files named after it, whose record directory holds the
// grid arrays and the boundary data of every stress period.
#pragma once

#include <string>

#include "core/model_family.h"
#include "settings/layer_porosity.h"
#include "settings/open_choices.h"

namespace kestra {

class ModelFileSetFamily final : public ModelFamily {
 public:
  // The model of the model file `modelPath` with the grid `grid`.
  ModelFileSetFamily(std::string modelPath, GridShape grid) : modelPath_(std::move(modelPath)), grid_(grid) {}
  std::string Description() const override { return "model file set"; }
  std::string SiblingPath(const std::string& extension) const override;
  PackageKeys ListedBoundaryPackages(const ModelState& state) const override;
  bool MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface& ui,
                         bool showMessages) const override;
  bool SimulatesPackage(const ModelState& state, int dataType) const override;
  bool ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const override;
  BudgetArealTerms ArealTermsInBudget(const ModelState& state) const override;
  void PlaceArealFlows(ModelState&) const override {}
  bool TakesLayerPorosityFromSettings() const override { return false; }

 private:
  std::string modelPath_;
  GridShape grid_;
};

// Reads the model file `path` and its files into `opened`: dimensions, data
// codes, position, stress periods, layer types, grid widths, boundary codes,
// elevations and porosity (the layers the choices' porosity sets take it);
// the results are HEADS.DAT, DDOWN.DAT and BUDGET.DAT beside it. False, with
// a message, when the model file, its stress-period table or a grid array
// cannot be read.
bool OpenModelFileSet(const std::string& path, const OpenChoices& choices, OpenedModel& opened,
                      UserInterface& ui, const OpenStage& stage);

}  // namespace kestra
