// kestra-cli: the batch tool. Its commands run without Qt's graphics
// libraries, which a batch node often lacks; a plot is handed to
// kestra-cli-plot beside it.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "cli/commands.h"

namespace {

constexpr const char* kPictureProgram = "kestra-cli-plot";

// Replaces this process by the picture program with the same command line;
// returns only when it could not be started.
int HandToPictureProgram(const kestra::cli::Arguments& args, std::ostream& out, std::ostream& err) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string program = (self.parent_path() / kPictureProgram).string();
  std::vector<std::string> line{kPictureProgram, "plot"};
  line.insert(line.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : line) argv.push_back(word.data());
  argv.push_back(nullptr);
  out.flush();
  err.flush();
  execv(program.c_str(), argv.data());
  err << "kestra-cli plot: the picture program " << program << " cannot be started: " << std::strerror(errno)
      << "; install Kestra's plot output (it needs Qt 6 Gui)\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  return kestra::cli::RunCommandLineWith(kestra::cli::Arguments(argv + 1, argv + argc), std::cout, std::cerr,
                                         HandToPictureProgram);
}
