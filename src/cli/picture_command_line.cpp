#include "cli/commands.h"

namespace kestra::cli {

int RunCommandLine(const Arguments& args, std::ostream& out, std::ostream& err) {
  return RunCommandLineWith(args, out, err, PlotCommand);
}

}  // namespace kestra::cli
