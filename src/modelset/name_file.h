// The name file of a MODFLOW model: one file type word and one file name per line.
#pragma once

#include <string>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "modelset/package_files.h"

namespace kestra {

struct NameFileEntries {
  std::string main;
  PackagePaths packages;
  std::string evapotranspiration;
  std::string budget, heads, drawdowns;
};

// Reads the entries of `path`, file names resolved against its folder. False,
// with a message, when MAIN, BUDGET or HEAD(BINARY) is missing or a listed
// file does not exist; `entries` holds what was read either way.
bool ReadNameFile(const std::string& path, NameFileEntries& entries, UserInterface& ui);

}  // namespace kestra
