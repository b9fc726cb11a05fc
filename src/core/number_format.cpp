#include "core/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace kestra {
namespace {

constexpr int kFloatDigits = 7;
constexpr int kDoubleDigits = 15;
constexpr int kSmallestFixedExponent = -4;

// Longest text any number form below produces: sign, 17 digits, point,
// 15 zeros of a fraction and a three-digit exponent fit easily.
constexpr int kTextBuffer = 64;

// Digits of `magnitude` rounded to `digits` significant digits, trailing
// zeros removed, and their decimal exponent: 31557600 at 7 digits gives
// "315576", 7.
struct DecimalDigits {
  char digits[kTextBuffer];
  int count = 0;
  int exponent = 0;
};

// The digits and exponent of a scientific text of std::to_chars.
void ReadScientific(const char* text, const char* end, DecimalDigits& out) {
  const char* p = text;
  out.count = 0;
  for (; *p != 'e'; ++p)
    if (*p != '.') out.digits[out.count++] = *p;
  std::from_chars(p + (p[1] == '+' ? 2 : 1), end, out.exponent);
}

void RoundDigits(double magnitude, int digits, DecimalDigits& out) {
  char buffer[kTextBuffer];
  const auto result = std::to_chars(buffer, buffer + kTextBuffer, magnitude, std::chars_format::scientific, digits - 1);
  ReadScientific(buffer, result.ptr, out);
  while (out.count > 1 && out.digits[out.count - 1] == '0') --out.count;
}

// "E", the exponent's sign always, at least two digits.
char* WriteExponent(char* p, int exponent) {
  *p++ = 'E';
  *p++ = exponent < 0 ? '-' : '+';
  const int magnitude = std::abs(exponent);
  if (magnitude < 10) *p++ = '0';
  return std::to_chars(p, p + 8, magnitude).ptr;
}

char* Repeat(char* p, char c, int count) {
  for (int n = 0; n < count; ++n) *p++ = c;
  return p;
}

char* Copy(char* p, const char* from, int count) {
  for (int n = 0; n < count; ++n) *p++ = from[n];
  return p;
}

// The standard number-to-text form (sign or blank, shortest decimal form)
// written at `p`; returns its end.
char* WriteShortest(char* p, double value, int maxDigits) {
  if (std::isnan(value)) return Copy(p, " NaN", 4);
  *p++ = std::signbit(value) && value != 0 ? '-' : ' ';
  if (std::isinf(value)) return Copy(p, "Inf", 3);
  const double magnitude = std::fabs(value);
  if (magnitude == 0) {
    p[-1] = ' ';
    *p++ = '0';
    return p;
  }
  DecimalDigits d;
  RoundDigits(magnitude, maxDigits, d);
  if (d.exponent < kSmallestFixedExponent || d.exponent >= maxDigits) {
    *p++ = d.digits[0];
    if (d.count > 1) {
      *p++ = '.';
      p = Copy(p, d.digits + 1, d.count - 1);
    }
    return WriteExponent(p, d.exponent);
  }
  if (d.exponent < 0) {
    *p++ = '.';
    p = Repeat(p, '0', -d.exponent - 1);
    return Copy(p, d.digits, d.count);
  }
  const int whole = d.exponent + 1;
  if (d.count <= whole) return Repeat(Copy(p, d.digits, d.count), '0', whole - d.count);
  p = Copy(p, d.digits, whole);
  *p++ = '.';
  return Copy(p, d.digits + whole, d.count - whole);
}

std::string ShortestText(double value, int maxDigits) {
  char buffer[kTextBuffer];
  return std::string(buffer, WriteShortest(buffer, value, maxDigits));
}

// The form without the blank before a non-negative number.
void AppendTrimmed(std::string& out, double value, int maxDigits) {
  char buffer[kTextBuffer];
  const char* end = WriteShortest(buffer, value, maxDigits);
  const char* begin = buffer[0] == ' ' ? buffer + 1 : buffer;
  out.append(begin, end);
}

// 5^0 .. 5^44: times a 24-bit mantissa they stay below 2^128.
constexpr auto kPowersOfFive = [] {
  std::array<unsigned __int128, 45> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 5;
  return powers;
}();

// The exact decimal digits of a value that a 32-bit float holds (the
// coordinates of pathline files), found with integer arithmetic: m * 2^e is
// m * 5^-e / 10^-e. False for exponents beyond 128-bit reach.
bool ExactFloatDigits(double magnitude, DecimalDigits& out) {
  constexpr int kMantissaBits = 23;
  constexpr int kExponentBias = 127;
  constexpr int kMostLeftShift = 100;  // m < 2^24: m * 2^100 < 2^124
  const float single = static_cast<float>(magnitude);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &single, sizeof bits);
  const int biased = static_cast<int>(bits >> kMantissaBits);
  if (biased == 0) return false;  // subnormal floats take the general way
  const std::uint64_t mantissa = (bits & ((1u << kMantissaBits) - 1)) | (1u << kMantissaBits);
  const int e = biased - kExponentBias - kMantissaBits;
  if (e > kMostLeftShift || -e >= static_cast<int>(kPowersOfFive.size())) return false;
  const unsigned __int128 n =
      e >= 0 ? static_cast<unsigned __int128>(mantissa) << e : mantissa * kPowersOfFive[static_cast<std::size_t>(-e)];
  // At most 39 digits: the upper part (below 10^20) and 19 more.
  constexpr std::uint64_t kTen19 = 10'000'000'000'000'000'000ULL;
  char* d = out.digits;
  if (n >= kTen19) {
    const auto upper = static_cast<std::uint64_t>(n / kTen19);
    const auto lower = static_cast<std::uint64_t>(n % kTen19);
    d = std::to_chars(d, d + 21, upper).ptr;
    char low[20];
    const char* lowEnd = std::to_chars(low, low + 20, lower).ptr;
    d = Repeat(d, '0', 19 - static_cast<int>(lowEnd - low));
    d = Copy(d, low, static_cast<int>(lowEnd - low));
  } else {
    d = std::to_chars(d, d + 21, static_cast<std::uint64_t>(n)).ptr;
  }
  out.count = static_cast<int>(d - out.digits);
  out.exponent = out.count - 1 + (e < 0 ? e : 0);
  return true;
}

// Rounds exact digits to `digits` significant ones, ties to even, as the
// standard library's conversion with a precision does.
void RoundExactDigits(DecimalDigits& d, int digits) {
  if (d.count <= digits) {
    d.count = static_cast<int>(Repeat(d.digits + d.count, '0', digits - d.count) - d.digits);
    return;
  }
  const char next = d.digits[digits];
  bool up = next > '5';
  if (next == '5') {
    up = (d.digits[digits - 1] - '0') % 2 == 1;
    for (int n = digits + 1; n < d.count && !up; ++n) up = d.digits[n] != '0';
  }
  d.count = digits;
  if (!up) return;
  int n = digits - 1;
  for (; n >= 0 && d.digits[n] == '9'; --n) d.digits[n] = '0';
  if (n >= 0) {
    ++d.digits[n];
  } else {  // 9.99...95 became 10.0...0
    d.digits[0] = '1';
    ++d.exponent;
  }
}

char* WriteScientific(char* p, double value, int decimals) {
  if (value < 0) *p++ = '-';
  const double magnitude = std::fabs(value);
  if (magnitude == 0 || !std::isfinite(magnitude)) {
    *p++ = '0';
    *p++ = '.';
    return WriteExponent(Repeat(p, '0', decimals), 0);
  }
  DecimalDigits d;
  if (decimals + 1 < kTextBuffer && static_cast<double>(static_cast<float>(magnitude)) == magnitude &&
      ExactFloatDigits(magnitude, d)) {
    RoundExactDigits(d, decimals + 1);
    *p++ = d.digits[0];
    *p++ = '.';  // "1.E+02" with no decimals
    p = Copy(p, d.digits + 1, decimals);
    return WriteExponent(p, d.exponent);
  }
  const auto result = std::to_chars(p, p + kTextBuffer - 1, magnitude, std::chars_format::scientific, decimals);
  char* e = std::find(p, result.ptr, 'e');
  if (decimals == 0) {
    // "1e+02" gets its point: "1.E+02"
    std::copy_backward(e, result.ptr, result.ptr + 1);
    *e++ = '.';
    *e = 'E';
    return result.ptr + 1;
  }
  *e = 'E';
  return result.ptr;
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

std::string TrimmedNumberText(double value) {
  std::string text;
  AppendTrimmedNumberText(text, value);
  return text;
}

std::string TrimmedFloatText(float value) { return WithoutLeadingBlank(NumberText(value)); }

std::string GeneralNumberText(float value) {
  std::string text;
  AppendGeneralNumberText(text, value);
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
  char buffer[kTextBuffer * 2];
  return std::string(buffer, WriteScientific(buffer, value, decimals));
}

void AppendScientificText(std::string& out, double value, int decimals) {
  char buffer[kTextBuffer * 2];
  out.append(buffer, WriteScientific(buffer, value, decimals));
}

void AppendIntegerMaskText(std::string& out, std::int64_t value) {
  char buffer[24];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendTrimmedNumberText(std::string& out, double value) { AppendTrimmed(out, value, kDoubleDigits); }

void AppendGeneralNumberText(std::string& out, float value) {
  char buffer[kTextBuffer];
  const char* end = WriteShortest(buffer, value, kFloatDigits);
  const char* begin = buffer[0] == ' ' ? buffer + 1 : buffer;
  if (*begin == '-') out.push_back(*begin++);
  if (*begin == '.') out.push_back('0');
  out.append(begin, end);
}

void AppendFortranInteger(std::string& out, std::int64_t value, int width) {
  char buffer[24];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  out.append(static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, width - (end - buffer))), ' ');
  out.append(static_cast<const char*>(buffer), end);
}

void AppendFortranExponent(std::string& out, double value, int width, int digits) {
  char buffer[kTextBuffer * 2];
  char* p = buffer;
  if (value < 0) *p++ = '-';
  *p++ = '0';
  *p++ = '.';
  const double magnitude = std::fabs(value);
  if (magnitude == 0 || !std::isfinite(magnitude)) {
    p = WriteExponent(Repeat(p, '0', digits), 0);
  } else {
    // d.ddd...e+X is 0.dddd...E+(X+1)
    char scientific[kTextBuffer];
    const auto result =
        std::to_chars(scientific, scientific + kTextBuffer, magnitude, std::chars_format::scientific, digits - 1);
    const char* e = std::find(scientific, result.ptr, 'e');
    for (const char* c = scientific; c < e; ++c)
      if (*c != '.') *p++ = *c;
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, exponent);
    p = WriteExponent(p, exponent + 1);
  }
  out.append(static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, width - (p - buffer))), ' ');
  out.append(buffer, p);
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
