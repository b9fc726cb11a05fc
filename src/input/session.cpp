#include "input/session.h"

#include "input/model_paths.h"

namespace kestra {

std::string ModelSiblingPath(const ModelState& model, const std::string& extension) {
  const std::string base =
      model.importedFromNameFile ? PathWithoutExtension(model.ModelPath) : ModelBasePath(model.ModelPath);
  return base + extension;
}

}  // namespace kestra
