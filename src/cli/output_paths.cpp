#include "cli/output_paths.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "core/atomic_file.h"

namespace kestra::cli {
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

bool IsStandardOutput(const std::string& path) { return path == "-" || path == "/dev/stdout"; }

bool WriteOutputText(const std::string& path, const std::string& text, std::ostream& out, std::string& error) {
  if (!IsStandardOutput(path)) return WriteFileAtomically(path, text, error);
  if (out.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) return true;
  error = "standard output";
  return false;
}

std::string OutputPathProblem(const std::string& path, const Session& session) {
  if (IsStandardOutput(path)) return {};
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::exists(status) && !fs::is_regular_file(status))
    return path + " is not a regular file; only regular files and new names are written";
  const ModelState& model = session.model;
  const fs::path target = Resolved(path);
  std::vector<std::string> inputs = model.InputFiles;
  inputs.insert(inputs.end(), {model.ModelPath, model.HeadPath, model.BudgetPath, model.DrawdownPath,
                               session.settingsPath});
  for (const std::string& input : inputs)
    if (!input.empty() && Resolved(input) == target) return path + " is a file the model reads: " + input;
  return {};
}

std::string OutputPathsProblem(const std::vector<std::string>& paths, const Session& session) {
  for (const std::string& path : paths)
    if (!path.empty())
      if (std::string problem = OutputPathProblem(path, session); !problem.empty()) return problem;
  return {};
}

}  // namespace kestra::cli
