// What a shell command prints and how it ended, for running our own program
// as a user does and for checking our files with other programs' tools
// (pdftotext, ogrinfo, ...).
#pragma once

#include <string>

namespace kestra::test {

struct ShellRun {
  bool available = false;  // the first word of the command names a program on PATH
  int status = -1;         // the exit status; the shell reports a signal as 128 + signal
  std::string output;      // standard output and error together

  bool Succeeded() const { return status == 0; }
  bool EndedBySignal() const { return status > 128; }
};

ShellRun RunShell(const std::string& command);

}  // namespace kestra::test
