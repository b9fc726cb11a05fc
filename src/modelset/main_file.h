// The MAIN data file of a name-file model: grid, layer types, elevations,
// boundary codes, porosity and the stress-period table.
#pragma once

#include <string>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "settings/tracking_settings.h"

namespace kestra {

struct MainFileContents {
  ModelState model;  // dimensioned and filled: grid, LAYCON, TOP, BOT, IBOUND, IBOUND0, POROSITY
  float HNOFLO = 0;
  float HDRY = 0;
  StressPeriods periods;
};

// Reads the MAIN file `path` into `contents`. False, with a message, when the
// grid is empty or too large or an array record is EXTERNAL or cannot be read;
// `contents` is then unchanged.
bool ReadMainFile(const std::string& path, MainFileContents& contents, UserInterface& ui);

}  // namespace kestra
