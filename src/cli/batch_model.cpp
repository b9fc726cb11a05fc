#include "cli/batch_model.h"

#include "input/open_model.h"

namespace kestra::cli {

bool OpenBatchModel(const std::string& path, Session& session, UserInterface& ui, const LayerPorosity& layerPorosity) {
  NoViews views;
  return OpenOrImportModel(path, session, ui, views, layerPorosity);
}

}  // namespace kestra::cli
