#include "cli/batch_model.h"

#include "core/model_paths.h"
#include "session/open_model.h"

namespace kestra::cli {

bool OpenBatchModel(const std::string& path, Session& session, UserInterface& ui, const OpenChoices& choices) {
  NoViews views;
  return OpenOrImportModel(AbsolutePath(path), session, ui, views, choices);
}

std::string FlowFieldProblem(const Session& session) {
  if (session.model.flowTermsLoaded) return {};
  const char* missing = session.loaded.headsLoaded ? "flow terms" : "heads";
  return std::string("the ") + missing + " of the time step could not be loaded";
}

}  // namespace kestra::cli
