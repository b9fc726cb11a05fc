#include "session/session.h"

#include "core/model_family.h"

namespace kestra {

std::string ModelSiblingPath(const ModelState& model, const std::string& extension) {
  return FamilyOf(model).SiblingPath(extension);
}

}  // namespace kestra
