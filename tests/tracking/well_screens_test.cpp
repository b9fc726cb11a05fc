#include "tracking/well_screens.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/data_types.h"
#include "core/model_family.h"
#include "core/model_state.h"

namespace kestra {
namespace {

// A family whose only data is the well rates of one stress period, layer by layer.
class WellsOnly final : public ModelFamily {
 public:
  explicit WellsOnly(std::map<int, LayerValues> layers) : layers_(std::move(layers)) {}

  std::string Description() const override { return "wells"; }
  std::string SiblingPath(const std::string& extension) const override { return "wells" + extension; }
  PackageKeys ListedBoundaryPackages(const ModelState&) const override { return {"WEL"}; }
  bool MarkBoundarySinks(ModelState&, const PackageKeys&, UserInterface&, bool) const override { return true; }
  bool SimulatesPackage(const ModelState&, int dataType) const override { return dataType == data_type::kWells; }
  bool ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const override {
    const auto found = layers_.find(layer);
    if (dataType != data_type::kWells || period != 1 || found == layers_.end()) return false;
    values = found->second;
    return true;
  }
  BudgetArealTerms ArealTermsInBudget(const ModelState&) const override { return {}; }
  void PlaceArealFlows(ModelState&) const override {}
  bool TakesLayerPorosityFromSettings() const override { return false; }

 private:
  std::map<int, LayerValues> layers_;
};

struct Rate {
  int column, row, layer;
  float rate;
};

// 3 columns, 2 rows and 4 layers, each with well data: `rates`, 0 elsewhere.
ModelState ModelWithWells(const std::vector<Rate>& rates) {
  ModelState state;
  DimensionModel(state, 3, 2, 4);
  std::map<int, LayerValues> layers;
  for (const int k : {1, 2, 3, 4}) layers[k].Clear(state.Shape());
  for (const Rate& r : rates) layers[r.layer](r.column, r.row) = r.rate;
  state.family = std::make_shared<WellsOnly>(std::move(layers));
  return state;
}

std::vector<std::string> Names(const std::vector<WellScreen>& wells) {
  std::vector<std::string> names;
  for (const WellScreen& well : wells) names.push_back(WellName(well));
  return names;
}

const std::vector<Rate> kRates = {
    {2, 1, 1, -1}, {2, 1, 2, -1}, {2, 1, 3, -2},  // one screen over layers 1-3
    {3, 1, 3, -1}, {3, 1, 4, -1},                 // reaching the last layer
    {1, 2, 1, -5}, {1, 2, 3, -5},                 // a layer between: two wells
    {3, 2, 1, 4},                                 // injects
};

TEST(PumpingWells, AdjacentPumpingLayersOfACellFormOneScreenRowsOuterColumnsInner) {
  const ModelState state = ModelWithWells(kRates);
  EXPECT_EQ(Names(PumpingWells(state, 1)), (std::vector<std::string>{"1-3,1,2", "3-4,1,3", "1,2,1", "3,2,1"}));
  EXPECT_TRUE(PumpingWells(state, 2).empty()) << "no well data in period 2";
}

TEST(PumpingWells, ACellPicksTheScreenThatHoldsItOrSaysWhyNot) {
  const ModelState state = ModelWithWells(kRates);
  std::string problem;
  const auto screen = PumpingWellAt(state, 1, {2, 1, 2}, problem);
  ASSERT_TRUE(screen) << problem;
  EXPECT_EQ(WellName(*screen), "1-3,1,2");

  EXPECT_FALSE(PumpingWellAt(state, 1, {3, 2, 1}, problem));
  EXPECT_EQ(problem, "the well at layer 1, row 2, column 3 does not pump in stress period 1 (it injects)");
  EXPECT_FALSE(PumpingWellAt(state, 1, {1, 2, 2}, problem));
  EXPECT_EQ(problem, "layer 2, row 2, column 1 holds no well in stress period 1");
  EXPECT_FALSE(PumpingWellAt(state, 1, {4, 2, 1}, problem));
  EXPECT_EQ(problem, "layer 1, row 2, column 4 lies outside the grid");
}

}  // namespace
}  // namespace kestra
