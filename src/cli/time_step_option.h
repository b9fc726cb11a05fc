// The time step a batch command works on (--period P --step S): made
// current and its results loaded, or refused when the model has none such.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "core/user_interface.h"
#include "session/session.h"

namespace kestra::cli {

struct TimeStepChoice {
  std::optional<int> period;
  std::optional<int> step;
};

// Makes the chosen step current and loads all its results; nothing to do
// when no step was chosen. False, with the reason on `err` after
// `command`, when the model has no such step.
bool LoadChosenTimeStep(const TimeStepChoice& choice, Session& session, UserInterface& ui, const std::string& command,
                        std::ostream& err);

}  // namespace kestra::cli
