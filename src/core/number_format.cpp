#include "core/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kestra {
namespace {

constexpr int kFloatDigits = 7;
constexpr int kDoubleDigits = 15;
constexpr int kSmallestFixedExponent = -4;

// Digits and decimal exponent of `value` rounded to `digits` significant
// digits, trailing zeros removed: 31557600 at 7 digits gives "315576", 7.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

DecimalDigits RoundedDigits(double magnitude, int digits) {
  std::array<char, 64> buffer{};
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                              std::chars_format::scientific, digits - 1);
  std::string_view text(buffer.data(), result.ptr - buffer.data());
  const auto ePos = text.find('e');
  DecimalDigits out;
  for (char c : text.substr(0, ePos))
    if (c != '.') out.digits.push_back(c);
  while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
  out.exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
  return out;
}

std::string ExponentText(int exponent, int minDigits) {
  std::string digits = std::to_string(std::abs(exponent));
  while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), '0');
  return std::string(exponent < 0 ? "E-" : "E+") + digits;
}

std::string ShortestText(double value, int maxDigits) {
  const std::string sign = std::signbit(value) && value != 0 ? "-" : " ";
  if (std::isnan(value)) return " NaN";
  if (std::isinf(value)) return sign + "Inf";
  const double magnitude = std::fabs(value);
  if (magnitude == 0) return " 0";
  const DecimalDigits d = RoundedDigits(magnitude, maxDigits);
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent < kSmallestFixedExponent || d.exponent >= maxDigits) {
    std::string mantissa = d.digits.substr(0, 1);
    if (count > 1) mantissa += "." + d.digits.substr(1);
    return sign + mantissa + ExponentText(d.exponent, 2);
  }
  if (d.exponent < 0) return sign + "." + std::string(-d.exponent - 1, '0') + d.digits;
  if (count <= d.exponent + 1) return sign + d.digits + std::string(d.exponent + 1 - count, '0');
  return sign + d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
}

std::string WithoutLeadingBlank(const std::string& text) { return text.front() == ' ' ? text.substr(1) : text; }

template <typename Int>
std::optional<Int> RoundToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);  // default rounding mode: ties to even
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max()))
    return std::nullopt;
  return static_cast<Int>(rounded);
}

}  // namespace

std::string NumberText(float value) { return ShortestText(value, kFloatDigits); }
std::string NumberText(double value) { return ShortestText(value, kDoubleDigits); }

std::string NumberText(std::int64_t value) {
  return (value < 0 ? "" : " ") + std::to_string(value);
}

std::string TrimmedNumberText(double value) { return WithoutLeadingBlank(NumberText(value)); }

std::string TrimmedFloatText(float value) { return WithoutLeadingBlank(NumberText(value)); }

std::string GeneralNumberText(float value) {
  std::string text = NumberText(value);
  if (text.front() == ' ') text.erase(0, 1);
  const std::size_t point = text.front() == '-' ? 1 : 0;
  if (text[point] == '.') text.insert(point, "0");
  return text;
}

double LeadingNumber(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  std::string number;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) number.push_back(text[pos++]);
  bool anyDigit = false;
  auto takeDigits = [&] {
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      number.push_back(text[pos++]);
      anyDigit = true;
    }
  };
  takeDigits();
  if (pos < text.size() && text[pos] == '.') {
    number.push_back(text[pos++]);
    takeDigits();
  }
  if (!anyDigit) return 0;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
    std::size_t look = pos + 1;
    std::string exponent = "e";
    if (look < text.size() && (text[look] == '+' || text[look] == '-')) exponent.push_back(text[look++]);
    if (look < text.size() && text[look] >= '0' && text[look] <= '9') {
      while (look < text.size() && text[look] >= '0' && text[look] <= '9') exponent.push_back(text[look++]);
      number += exponent;
    }
  }
  return std::strtod(number.c_str(), nullptr);
}

std::optional<std::int16_t> RoundToInt16(double value) { return RoundToInteger<std::int16_t>(value); }
std::optional<std::int32_t> RoundToInt32(double value) { return RoundToInteger<std::int32_t>(value); }

std::string IntegerMaskText(std::int64_t value) { return std::to_string(value); }

std::string ScientificText(double value, int decimals) {
  const std::string sign = value < 0 ? "-" : "";
  const double magnitude = std::fabs(value);
  std::string mantissa;
  int exponent = 0;
  if (magnitude == 0 || !std::isfinite(magnitude)) {
    mantissa = "0." + std::string(decimals, '0');
  } else {
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                std::chars_format::scientific, decimals);
    std::string_view text(buffer.data(), result.ptr - buffer.data());
    const auto ePos = text.find('e');
    mantissa = std::string(text.substr(0, ePos));
    if (decimals == 0) mantissa += ".";
    exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
  }
  return sign + mantissa + ExponentText(exponent, 2);
}

std::string ExportValueText(double value) {
  constexpr int kExportDecimals = 7;
  const std::string number = ScientificText(value, kExportDecimals);
  return (value < 0 ? "" : " ") + number + " ";
}

std::string ContourLabelNumber(double value, int style, int decimals) {
  if (style == 1) return ScientificText(value, decimals);
  std::array<char, 400> buffer{};
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ptr - buffer.data());
  if (decimals == 0) text += ".";
  if (text == "-0" + std::string(decimals == 0 ? "." : "." + std::string(decimals, '0')))
    text.erase(0, 1);
  return text;
}

}  // namespace kestra
