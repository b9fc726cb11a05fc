#include "session/output_guard.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace kestra {
namespace {

namespace fs = std::filesystem;

// The file `path` resolves to, links followed; the path made absolute when
// it does not exist yet.
fs::path Resolved(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(path, error);
  return error ? fs::absolute(path, error) : canonical;
}

}  // namespace

std::string ModelOutputProblem(const std::string& path, const Session& session) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::exists(status) && !fs::is_regular_file(status))
    return path + " is not a regular file; only regular files and new names are written";
  const ModelState& model = session.model;
  const fs::path target = Resolved(path);
  std::vector<std::string> inputs = model.InputFiles;
  inputs.insert(inputs.end(),
                {model.ModelPath, model.HeadPath, model.BudgetPath, model.DrawdownPath, session.settingsPath});
  for (const std::string& input : inputs)
    if (!input.empty() && Resolved(input) == target) return path + " is a file the model reads: " + input;
  return {};
}

}  // namespace kestra
