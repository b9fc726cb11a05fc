// The arguments of a command that takes one path and no options beyond its
// own (info, settings, results).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/commands.h"

namespace kestra::cli {

// Nothing when `args` is one path. Otherwise the exit status after the
// answer: for --help (or -h) `usage` on `out`, 0; for an option, "kestra-cli
// COMMAND: unknown option X" and `usage` on `err`, 2; for no path or more
// than one, `usage` on `err`, 2.
std::optional<int> AnswerOtherThanOnePath(const std::string& command, const Arguments& args, const std::string& usage,
                                          std::ostream& out, std::ostream& err);

}  // namespace kestra::cli
