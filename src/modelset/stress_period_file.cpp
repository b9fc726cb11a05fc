#include "modelset/stress_period_file.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/number_format.h"
#include "core/text_reader.h"
#include "modelset/input_messages.h"

namespace kestra {
namespace {

constexpr int kValuesPerPeriod = 3;  // PERLEN, NSTP, TSMULT

void ComplainInvalid(UserInterface& ui, const std::string& path, const std::string& reason) {
  Complain(ui, "The file " + path + " does not hold a valid stress-period table" + reason + ".",
           MessageIcon::Exclamation, kErrorTitle);
}

// Empty when PERLEN and TSMULT of `period` are finite as the 32-bit values
// the table keeps, else what is wrong. A NaN or infinite period length
// would make every time step window and tracking time meaningless.
std::string NonFiniteTimingReason(const StressPeriods& periods, int period) {
  const char* name = !std::isfinite(periods.PERLEN[period]) ? "PERLEN"
                     : !std::isfinite(periods.TSMULT[period]) ? "TSMULT"
                                                               : nullptr;
  if (name == nullptr) return {};
  return std::string(": ") + name + " of stress period" + NumberText(period) + " is not a finite number";
}

std::vector<double> RemainingNumbers(TextReader& text) {
  std::vector<double> numbers;
  double value = 0;
  while (text.NextNumber(value)) numbers.push_back(value);
  return numbers;
}

std::optional<StressPeriods> PeriodsFromCopy(int nper, int timeUnit, const std::vector<double>& numbers,
                                              std::size_t first, std::string& reason) {
  StressPeriods periods;
  periods.NPER = nper;
  periods.timeUnit = static_cast<std::int16_t>(timeUnit >= 0 && timeUnit < kTimeUnitCount ? timeUnit : 0);
  periods.PERLEN.assign(nper + 1, 0.0f);
  periods.NSTP.assign(nper + 1, 0);
  periods.TSMULT.assign(nper + 1, 0.0f);
  for (int p = 1; p <= nper; ++p) {
    const std::size_t at = first + static_cast<std::size_t>(p - 1) * kValuesPerPeriod;
    const auto steps = RoundToInt16(numbers[at + 1]);
    if (!steps || *steps < 1) return std::nullopt;
    periods.PERLEN[p] = static_cast<float>(numbers[at]);
    periods.NSTP[p] = *steps;
    periods.TSMULT[p] = static_cast<float>(numbers[at + 2]);
    reason = NonFiniteTimingReason(periods, p);
    if (!reason.empty()) return std::nullopt;
  }
  return periods;
}

}  // namespace

bool ReadStressPeriodFile(const std::string& path, StressPeriods& periods, UserInterface& ui) {
  std::optional<TextReader> text;
  if (!TextReader::FromFile(path, text)) {
    ComplainFileMissing(ui, path, kErrorTitle);
    return false;
  }
  std::int16_t nper = 0, timeUnit = 0;
  const bool headerRead = text->NextInt16(nper) && text->NextInt16(timeUnit);
  const std::vector<double> numbers = RemainingNumbers(*text);
  const std::size_t copyLength = static_cast<std::size_t>(nper > 0 ? nper : 1) * kValuesPerPeriod;
  const std::size_t copies = numbers.size() / copyLength;
  std::optional<StressPeriods> read;
  std::string reason;
  if (headerRead && nper >= 1 && copies >= 1)
    read = PeriodsFromCopy(nper, timeUnit, numbers, (copies - 1) * copyLength, reason);
  if (!read) {
    ComplainInvalid(ui, path, reason);
    return false;
  }
  periods = std::move(*read);
  return true;
}

}  // namespace kestra
