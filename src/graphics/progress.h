// The progress meter of long drawings, with the Esc key as their break.
#pragma once

#include "core/user_interface.h"
#include "graphics/picture.h"

namespace kestra {

// Moves the meter to `percent` (at most 100) when it advanced by 5 or more
// since `last`, then lets the plan picture show what was drawn. True when Esc
// was pressed: the drawing should stop. Below a step of 5 nothing happens.
bool UpdateProgress(int& last, int percent, UserInterface& ui, Picture& plan);

}  // namespace kestra
