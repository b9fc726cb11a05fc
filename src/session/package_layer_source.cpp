#include "session/package_layer_source.h"

#include "core/model_family.h"

namespace kestra {

PackageLayerReader MakePackageLayerReader(const Session& session) {
  std::shared_ptr<const ModelFamily> family = session.model.family;
  if (!family) return {};
  return [family](int dataType, int layer, int period, LayerValues& values) {
    return family->ReadPackageLayer(dataType, layer, period, values);
  };
}

}  // namespace kestra
