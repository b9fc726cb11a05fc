// The model file (".mdl") of a model file set and its position file (".LMK").
#pragma once

#include <cstdint>
#include <string>

#include "core/model_state.h"
#include "core/user_interface.h"

namespace kestra {

// What the model file tells: dimensions, data-availability codes, title.
struct ModelFileValues {
  int NCOL = 0;
  int NROW = 0;
  int NLAY = 0;
  DataFlagTable DataFlags;
  std::string title;
};

// Reads the model file into `values`. A value that cannot be read is skipped
// and keeps what it had. False, with a message, when the file cannot be read,
// DataFlags(0,5) is not 1 or the grid is empty or too large.
bool ReadModelFile(const std::string& path, ModelFileValues& values, UserInterface& ui);

// X0, Y0, angle and set-flag of the position file; a missing file or value
// leaves `origin` as it was. The cosine and sine follow the angle.
void ReadPositionFile(const std::string& path, ModelOrigin& origin);

}  // namespace kestra
