// The world position the user sets for a model, in the section
// "MODEL_POSITION" of its settings file (keys "XOrigin", "YOrigin",
// "Rotation", "CRS") or on the command line. What it sets replaces what the
// model's own files give; what it leaves out stays as they give it.
#pragma once

#include <optional>
#include <string>

#include "core/model_state.h"
#include "core/user_interface.h"

namespace kestra {

struct PositionChoice {
  std::optional<double> xOrigin, yOrigin;  // the lower-left grid corner, in the model's length unit
  std::optional<double> rotation;          // degrees counter-clockwise
  std::optional<std::string> crs;          // "EPSG:N", a WKT or a PROJ string
  bool IsEmpty() const { return !xOrigin && !yOrigin && !rotation && !crs; }
  bool operator==(const PositionChoice&) const = default;
};

// The section of the settings file `path`; a missing file or section, other
// keys and values that are not finite numbers set nothing.
PositionChoice ReadModelPosition(const std::string& path);

// Writes the four keys (an unset one as an empty value, which sets nothing);
// other sections and keys stay. False, with a message saying why, when the
// file could not be written (it is then unchanged).
bool WriteModelPosition(const std::string& path, const PositionChoice& choice, UserInterface& ui);

// What `over` sets, else what `base` sets.
PositionChoice OverriddenPosition(const PositionChoice& base, const PositionChoice& over);

// The position of `state` with what `choice` sets in place; nothing changes
// for an empty choice.
void ApplyPositionChoice(const PositionChoice& choice, ModelState& state);

}  // namespace kestra
