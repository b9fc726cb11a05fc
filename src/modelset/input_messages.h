// Messages shared by several readers of the model input.
#pragma once

#include <string>

#include "core/user_interface.h"

namespace kestra {

// "The file <path> dose not exist!" with the exclamation icon.
void ComplainFileMissing(UserInterface& ui, const std::string& path, const std::string& title = kApplicationTitle);

}  // namespace kestra
