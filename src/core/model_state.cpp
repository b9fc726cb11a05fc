#include "core/model_state.h"

#include <algorithm>

#include <cmath>

#include "core/model_family.h"

namespace kestra {
namespace {

class NoFamily final : public ModelFamily {
 public:
  std::string Description() const override { return "model"; }
  std::string SiblingPath(const std::string& extension) const override { return extension; }
  PackageKeys ListedBoundaryPackages(const ModelState&) const override { return {}; }
  bool MarkBoundarySinks(ModelState&, const PackageKeys&, UserInterface&, bool) const override { return true; }
  bool SimulatesPackage(const ModelState&, int) const override { return false; }
  bool ReadPackageLayer(int, int, int, LayerValues&) const override { return false; }
  BudgetArealTerms ArealTermsInBudget(const ModelState&) const override { return {}; }
  void PlaceArealFlows(ModelState&) const override {}
  bool TakesLayerPorosityFromSettings() const override { return false; }
};

}  // namespace

const ModelFamily& FamilyOf(const ModelState& state) {
  static const NoFamily kNoFamily;
  return state.family ? *state.family : kNoFamily;
}

void DimensionModel(ModelState& state, int ncol, int nrow, int nlay) {
  state.NCOL = ncol;
  state.NROW = nrow;
  state.NLAY = nlay;
  state.DELR.assign(ncol + 1, 0.0f);
  state.XEDGE.assign(ncol + 1, 0.0f);
  state.XCENTER.assign(ncol + 1, 0.0f);
  state.DELC.assign(nrow + 1, 0.0f);
  state.YEDGE.assign(nrow + 1, 0.0f);
  state.YCENTER.assign(nrow + 1, 0.0f);
  const GridShape shape = state.Shape();
  for (auto* array : {&state.IBOUND, &state.IBOUND0, &state.SINKCODE}) array->Dimension(shape);
  for (auto* array : {&state.TOP, &state.BOT, &state.POROSITY, &state.HEAD, &state.DRAWDOWN, &state.QRIGHT,
                      &state.QFRONT, &state.QLOWER, &state.QRECH, &state.QET, &state.VX, &state.VY, &state.VZ})
    array->Dimension(shape);
  state.LAYCON.assign(nlay + 1, 0);
  state.LayerProperties.assign(nlay + 1, LayerProperty{});
  state.origin = ModelOrigin{};
  state.position.reset();
  state.flowTermsLoaded = false;
}

double SmallestWidth(const std::vector<float>& widths, int count) {
  return *std::min_element(widths.begin() + 1, widths.begin() + count + 1);
}

void ComputeGridGeometry(ModelState& state) {
  for (int j = 1; j <= state.NCOL; ++j) {
    state.XEDGE[j] = state.XEDGE[j - 1] + state.DELR[j];
    state.XCENTER[j] = state.XEDGE[j - 1] + state.DELR[j] / 2.0f;
  }
  for (int i = 1; i <= state.NROW; ++i) {
    state.YEDGE[i] = state.YEDGE[i - 1] + state.DELC[i];
    state.YCENTER[i] = state.YEDGE[i - 1] + state.DELC[i] / 2.0f;
  }
}

void SetOriginAngle(ModelOrigin& origin, float angle) {
  origin.angle = angle;
  origin.cosAngle = std::cos(angle);
  origin.sinAngle = std::sin(angle);
}

void SetDefaultOrigin(ModelState& state) {
  state.origin.X0 = 0;
  state.origin.Y0 = state.NROW > 0 ? state.YEDGE[state.NROW] : 0.0f;
  SetOriginAngle(state.origin, 0);
  state.origin.isSet = true;
}

}  // namespace kestra
