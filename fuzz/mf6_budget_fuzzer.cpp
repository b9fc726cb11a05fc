// MODFLOW 6 budget files: the flows of the first time step through the
// connections of the first USGS example's grid, recharge and
// evapotranspiration included, and the boundary cells by flow sign.
#include "core/model_state.h"
#include "fuzz_support.h"
#include "mf6/model.h"
#include "results/boundary_flows.h"
#include "results/result_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  static const Mf6Model model = [] {
    Mf6Model read;
    std::string problem;
    ReadMf6Model(fuzz::CopyTestRun("usgs/ex01_mf6", "ex01_mf6") + "/mfsim.nam", {}, {}, read, problem);
    return read;
  }();
  if (!model.connections.Usable()) return 0;
  const std::string path = fuzz::WriteInput("model.bud", data, size);
  ModelState state;
  DimensionModel(state, model.grid.NCOL, model.grid.NROW, model.grid.NLAY);
  state.BudgetPath = path;
  fuzz::SilentInterface ui;
  ReadFlowTerms(state, {.recharge = true, .evapotranspiration = true}, ui, true, &model.connections);
  MarkCellsByFlowSign(state, {"WEL", "RIV", "DRN", "GHB", "MAW", "SFR", "LAK", "UZF"});
  return 0;
}
