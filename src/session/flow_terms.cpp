#include "session/flow_terms.h"

#include "core/model_family.h"
#include "results/result_files.h"

namespace kestra {

bool LoadFlowTerms(ModelState& model, UserInterface& ui, bool showMessages) {
  const ModelFamily& family = FamilyOf(model);
  const bool loaded = ReadFlowTerms(model, family.ArealTermsInBudget(model), ui, showMessages, family.FaceFlowConnections());
  family.PlaceArealFlows(model);
  return loaded;
}

}  // namespace kestra
