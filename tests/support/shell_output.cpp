#include "support/shell_output.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace kestra::test {

ShellRun RunShell(const std::string& command) {
  ShellRun run;
  const std::string program = command.substr(0, command.find(' '));
  if (std::system(("command -v " + program + " > /dev/null 2>&1").c_str()) != 0) return run;
  run.available = true;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace kestra::test
