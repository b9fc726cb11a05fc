#include "input/flow_terms.h"

#include "input/mf2005_model.h"
#include "input/recharge_package.h"
#include "input/result_files.h"

namespace kestra {

bool LoadFlowTerms(ModelState& model, UserInterface& ui, bool showMessages) {
  const bool loaded = ReadFlowTerms(model, ui, showMessages);
  if (model.importedFromMf2005) {
    PlaceMf2005Recharge(model);
    if (!model.evapotranspirationPeriods.empty()) PlaceMf2005Evapotranspiration(model);
  }
  else if (model.importedFromNameFile && !model.packages.recharge.empty())
    ReadRechargePackage(model.packages.recharge, model);
  return loaded;
}

}  // namespace kestra
