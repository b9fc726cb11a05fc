#include "cli/single_path_arguments.h"

namespace kestra::cli {

std::optional<int> AnswerOtherThanOnePath(const std::string& command, const Arguments& args, const std::string& usage,
                                          std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << usage;
    return 0;
  }
  if (args.size() == 1 && !args[0].starts_with("-")) return std::nullopt;
  for (const std::string& word : args)
    if (word.starts_with("-")) {
      err << "kestra-cli " << command << ": unknown option " << word << "\n";
      break;
    }
  err << usage;
  return 2;
}

}  // namespace kestra::cli
