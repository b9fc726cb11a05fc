// Reading and writing the settings file of a model.
#pragma once

#include <string>

#include "core/user_interface.h"
#include "settings/settings.h"
#include "settings/tracking_settings.h"

namespace kestra {

// Reads every section but TIME from `path` into `settings`. Missing file or
// keys give the defaults of a fresh Settings; a value its variable cannot hold
// keeps the variable's previous value. Never fails.
void ReadSettings(const std::string& path, Settings& settings, UserInterface& ui);

// Writes every section but OPTIONS, RES1 and TIME; other sections, keys and
// lines of the file stay as they were. The file is read, changed and written
// under the lock of its folder, so two windows saving it keep both changes.
// False, with a message saying why, when the file could not be written (the
// old file is then unchanged).
bool WriteSettings(const std::string& path, const Settings& settings, UserInterface& ui);

// Writes one key at once (COLOR/Particles, CROSS_SECTIONS/COLUMN and ROW).
bool WriteSettingsKey(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value, UserInterface& ui);

// True when the file at `path` states where the cross-sections lie.
bool SectionsStored(const std::string& path);

// Keeps the cross-section row and column inside a grid of ncol x nrow.
void ClampSectionsToGrid(Settings& settings, int ncol, int nrow);

// The TIME section: the tracking step, its unit, the time marks and the
// boundary-cell rule. A missing "Current UNIT" takes `modelTimeUnit`, a
// missing step length one year in that unit.
void ReadTimeSettings(const std::string& path, int modelTimeUnit, TrackingSettings& tracking);
bool WriteTimeSettings(const std::string& path, const TrackingSettings& tracking, UserInterface& ui);

}  // namespace kestra
