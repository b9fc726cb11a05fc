// The keys of the settings file, in the order in which they are written,
// each with its default and the way its value is read and written.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "settings/tracking_settings.h"

namespace kestra {

// How a value is read: as text (then a leading-number parse where the
// variable is a number) or as a profile integer (a leading integer; text
// without one reads 0).
enum class ReadForm { Text, Integer };

template <typename State>
struct KeyOf {
  std::string section;
  std::string key;          // the name read (matched without regard to case)
  std::string writtenName;  // the name written
  ReadForm form;
  std::string defaultText;
  bool written;  // false for the keys that belong to the pre-processor (OPTIONS, RES1)
  // Applies the text read (or the default); a value its variable cannot hold
  // leaves the variable as it was.
  std::function<void(State&, const std::string&)> assign;
  // The value in the form written to the file.
  std::function<std::string(const State&)> text;
};

using SettingKey = KeyOf<Settings>;
using TimeKey = KeyOf<TrackingSettings>;

// Every key but TIME, in table order: OPTIONS, COLOR, RES1, GRID_APPEARANCE,
// VelocityVectors, CONTOURS, ImageSettings, SavePlotAs, CROSS_SECTIONS, DXF_MAPS.
const std::vector<SettingKey>& SettingKeys();

// The keys of the tracking: in the TIME section the eight of the tracking
// step and time marks, then "Boundary cells" (the rule that decides which
// boundary cells end the tracking); in the TRACKING section "Face
// velocities" (0 each cell's own, 1 interpolated between cells), "Weak
// sinks" and "Weak sources" (0 pass through, 1 stop). The defaults of
// "Current UNIT" and "STEP LENGHT" depend on the model's time unit.
std::vector<TimeKey> TimeKeys(int modelTimeUnit, int currentUnit);

// The profile-integer read: leading blanks, a sign and digits; else 0.
long long ProfileInteger(std::string_view text);

}  // namespace kestra
