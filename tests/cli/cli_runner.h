// Runs one kestra-cli command in the test process.
#pragma once

#include <sstream>
#include <string>

#include "cli/commands.h"

namespace kestra::cli {

// The exit code of `command` with `args`; what it said on the error stream
// goes to `errors` when given.
inline int RunCli(const std::string& command, const Arguments& args, std::string* errors = nullptr) {
  std::ostringstream out, err;
  Arguments line{command};
  line.insert(line.end(), args.begin(), args.end());
  const int code = RunCommandLine(line, out, err);
  if (errors) *errors = err.str();
  return code;
}

}  // namespace kestra::cli
