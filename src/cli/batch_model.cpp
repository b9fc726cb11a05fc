#include "cli/batch_model.h"

#include "core/model_paths.h"
#include "session/open_model.h"

namespace kestra::cli {

std::string MessageLine(const std::string& title, const std::string& text) {
  std::string line = title == kApplicationTitle || title == kErrorTitle || title.empty() ? "" : title + ": ";
  bool afterBreak = false;  // blanks that begin a continued line are dropped
  for (const char c : text) {
    const bool isBreak = c == '\r' || c == '\n';
    if (isBreak || (afterBreak && c == ' ')) {
      if (!afterBreak && !line.empty() && line.back() != ' ') line.push_back(' ');
      afterBreak = true;
      continue;
    }
    afterBreak = false;
    line.push_back(c);
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

bool OpenBatchModel(const std::string& path, Session& session, UserInterface& ui, const OpenChoices& choices) {
  NoViews views;
  return OpenOrImportModel(AbsolutePath(path), session, ui, views, choices);
}

}  // namespace kestra::cli
