// The tracking settings file (".TRA") of a model file set: NPER, the model
// time unit and PERLEN, NSTP, TSMULT of every stress period.
#pragma once

#include <string>

#include "core/user_interface.h"
#include "settings/tracking_settings.h"

namespace kestra {

// Reads `path` into `periods`. The period table may appear once or NPER
// times in succession; the last complete copy counts. False, with a message,
// when the file is missing, NPER or an NSTP is below 1 or the table is
// incomplete; `periods` is then unchanged.
bool ReadStressPeriodFile(const std::string& path, StressPeriods& periods, UserInterface& ui);

}  // namespace kestra
