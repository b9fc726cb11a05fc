// Runs kestra-cli plot in the test process.
#pragma once

#include <sstream>
#include <string>

#include "cli/commands.h"

namespace kestra::cli {

// The exit code of `kestra-cli plot ARGS`; what it wrote to its error stream
// goes into `errors` when given.
inline int Plot(const Arguments& args, std::string* errors = nullptr) {
  std::ostringstream out, err;
  Arguments command{"plot"};
  command.insert(command.end(), args.begin(), args.end());
  const int code = RunCommandLine(command, out, err);
  if (errors) *errors = err.str();
  return code;
}

}  // namespace kestra::cli
