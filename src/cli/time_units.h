// The names of the time unit codes 0..5 as the batch tool prints and reads them.
#pragma once

#include <array>
#include <string>

#include "settings/tracking_settings.h"

namespace kestra::cli {

// The code of a unit given by name or by its code "0".."5"; -1 for neither.
inline int ParseTimeUnit(const std::string& text) {
  for (int code = 0; code < kTimeUnitCount; ++code)
    if (text == kTimeUnitNames[code] || text == std::string(1, static_cast<char>('0' + code))) return code;
  return -1;
}

}  // namespace kestra::cli
