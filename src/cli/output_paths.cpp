#include "cli/output_paths.h"

#include <ostream>

#include "core/atomic_file.h"

namespace kestra::cli {

bool IsStandardOutput(const std::string& path) { return path == "-" || path == "/dev/stdout"; }

bool WriteOutputText(const std::string& path, const std::string& text, std::ostream& out, std::string& error) {
  if (!IsStandardOutput(path)) return WriteFileAtomically(path, text, error);
  if (out.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) return true;
  error = "standard output";
  return false;
}

std::string OutputPathProblem(const std::string& path, const Session& session) {
  return IsStandardOutput(path) ? "" : ModelOutputProblem(path, session);
}

std::string OutputPathsProblem(const std::vector<std::string>& paths, const Session& session) {
  for (const std::string& path : paths)
    if (!path.empty())
      if (std::string problem = OutputPathProblem(path, session); !problem.empty()) return problem;
  return {};
}

}  // namespace kestra::cli
