// The time discretisation of a model: its stress periods and time steps.
#pragma once

#include <cstdint>
#include <vector>

namespace kestra {

// The model's time discretisation; arrays indexed 1..NPER (entry 0 unused).
struct StressPeriods {
  int NPER = 1;
  std::int16_t timeUnit = 1;
  std::vector<float> PERLEN{0, 1};
  std::vector<int> NSTP{0, 1};
  std::vector<float> TSMULT{0, 1};
};

}  // namespace kestra
