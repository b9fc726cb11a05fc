#include "core/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/number_fields.h"
#include "core/significant_digits.h"

namespace kestra {

// The digit, exponent and blank writers the record fields use.
using namespace number_fields_detail;

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

// Appends [begin, end) by pointer and count: the two-iterator append goes
// the slow way through replace.
void AppendRange(std::string& out, const char* begin, const char* end) {
  out.append(begin, static_cast<std::size_t>(end - begin));
}

// "E", the exponent's sign always, at least two digits.
char* WriteExponent(char* p, int exponent) {
  if (exponent >= -kTableExponent && exponent <= kTableExponent) return WriteTableExponent(p, exponent);
  *p++ = 'E';
  *p++ = exponent < 0 ? '-' : '+';
  return std::to_chars(p, p + 8, std::abs(exponent)).ptr;
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
  AppendRange(out, begin, end);
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

char* WriteScientificText(char* p, double value, int decimals) {
  if (char* end = TryWriteScientific(p, value, decimals)) return end;
  p = WriteMinusIfNegative(p, value);
  const double magnitude = std::fabs(value);
  if (magnitude == 0 || !std::isfinite(magnitude)) {
    *p++ = '0';
    *p++ = '.';
    return WriteExponent(Repeat(p, '0', decimals), 0);
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

char* WriteIntegerMaskText(char* p, std::int64_t value) {
  if (char* end = TryWriteIntegerMask(p, value)) return end;
  return std::to_chars(p, p + kIntegerTextMax, value).ptr;
}

std::string ScientificText(double value, int decimals) {
  char buffer[kTextBuffer * 2];
  return std::string(buffer, WriteScientificText(buffer, value, decimals));
}

void AppendIntegerMaskText(std::string& out, std::int64_t value) {
  char buffer[24];
  AppendRange(out, buffer, WriteIntegerMaskText(buffer, value));
}

void AppendTrimmedNumberText(std::string& out, double value) { AppendTrimmed(out, value, kDoubleDigits); }

void AppendGeneralNumberText(std::string& out, float value) {
  char buffer[kTextBuffer];
  const char* end = WriteShortest(buffer, value, kFloatDigits);
  const char* begin = buffer[0] == ' ' ? buffer + 1 : buffer;
  if (*begin == '-') out.push_back(*begin++);
  if (*begin == '.') out.push_back('0');
  AppendRange(out, begin, end);
}

namespace {

// `text` right-aligned in `width` characters at `p`, or whole where it is
// longer.
char* WriteRightAligned(char* p, const char* text, const char* end, int width) {
  p = Repeat(p, ' ', width - static_cast<int>(end - text));
  return Copy(p, text, static_cast<int>(end - text));
}

}  // namespace

char* WriteFortranInteger(char* p, std::int64_t value, int width) {
  if (char* end = TryWriteFortranInteger(p, value, width)) return end;
  char buffer[kIntegerTextMax];
  return WriteRightAligned(p, buffer, WriteIntegerMaskText(buffer, value), width);
}

char* WriteFortranExponent(char* p, double value, int width, int digits) {
  if (char* end = TryWriteFortranExponent(p, value, width, digits)) return end;
  const double magnitude = std::fabs(value);
  const SignificantDigits d = RoundToSignificantDigits(magnitude, digits);
  char buffer[kTextBuffer * 2];
  char* q = WriteMinusIfNegative(buffer, value);
  *q++ = '0';
  *q++ = '.';
  if (d) {
    q = WriteExponent(WriteFixedDigits(q, d.digits, digits), d.exponent + 1);
  } else if (magnitude == 0 || !std::isfinite(magnitude)) {
    q = WriteExponent(Repeat(q, '0', digits), 0);
  } else {
    char scientific[kTextBuffer];
    const auto result =
        std::to_chars(scientific, scientific + kTextBuffer, magnitude, std::chars_format::scientific, digits - 1);
    DecimalDigits rounded;
    ReadScientific(scientific, result.ptr, rounded);
    q = WriteExponent(Copy(q, rounded.digits, rounded.count), rounded.exponent + 1);
  }
  return WriteRightAligned(p, buffer, q, width);
}

void AppendFortranInteger(std::string& out, std::int64_t value, int width) {
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(FortranIntegerTextMax(width)));
  out.resize(static_cast<std::size_t>(WriteFortranInteger(out.data() + start, value, width) - out.data()));
}

void AppendFortranExponent(std::string& out, double value, int width, int digits) {
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(FortranExponentTextMax(width, digits)));
  out.resize(static_cast<std::size_t>(WriteFortranExponent(out.data() + start, value, width, digits) - out.data()));
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
