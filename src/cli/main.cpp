#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
  return kestra::cli::RunCommandLine(kestra::cli::Arguments(argv + 1, argv + argc), std::cout, std::cerr);
}
