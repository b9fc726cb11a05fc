#include "core/round_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestra {

double RoundStep(double span, int maxSteps, bool quarterSteps) {
  if (!(span > 0) || !std::isfinite(span) || maxSteps < 1) return 0;
  const double rough = span / maxSteps;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  // The relative slack keeps a span of exactly ten steps at that step
  // despite the rounding of the division.
  for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (factor == 2.5 && !quarterSteps) continue;
    if (factor * power >= rough * (1 - 1e-9)) return factor * power;
  }
  return 10 * power;
}

std::vector<double> MultiplesWithin(double low, double high, double step) {
  std::vector<double> values;
  if (!(step > 0) || !(high >= low)) return values;
  const double first = std::ceil(low / step - 1e-9);
  const double last = std::floor(high / step + 1e-9);
  for (double n = first; n <= last; ++n) values.push_back(n * step);
  return values;
}

int DecimalsOfStep(double step) {
  constexpr int kMostDecimals = 9;
  if (!(step > 0) || !std::isfinite(step)) return 0;
  double scaled = step;
  for (int decimals = 0; decimals < kMostDecimals; ++decimals, scaled *= 10)
    if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * scaled) return decimals;
  return kMostDecimals;
}

std::string FixedText(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 9);
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string result = text;
  // The program may run under a locale with a decimal comma.
  std::replace(result.begin(), result.end(), ',', '.');
  // A value that rounds to zero shows no sign.
  if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) result.erase(0, 1);
  return result;
}

std::string TrimmedText(double value, int decimals) {
  std::string text = FixedText(value, decimals);
  if (text.find('.') == std::string::npos) return text;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

double TwoSignificantDigits(double value) {
  const double scale = std::pow(10.0, std::floor(std::log10(value)) - 1);
  return std::round(value / scale) * scale;
}

std::string PlainText(double value) {
  constexpr int kSignificant = 6;
  const double size = std::fabs(value);
  if (size == 0 || !std::isfinite(value)) return size == 0 ? "0" : FixedText(value, 0);
  if (size < 1e-4 || size >= 1e9) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4E", value);
    std::string result = text;
    std::replace(result.begin(), result.end(), ',', '.');
    return result;
  }
  const int whole = static_cast<int>(std::floor(std::log10(size))) + 1;
  return TrimmedText(value, std::max(0, kSignificant - whole));
}

}  // namespace kestra
