#include "core/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/significant_digits.h"

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

// Appends [begin, end) by pointer and count: the two-iterator append goes
// the slow way through replace.
void AppendRange(std::string& out, const char* begin, const char* end) {
  out.append(begin, static_cast<std::size_t>(end - begin));
}

// "00" to "99", two digits at a time.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int n = 0; n < 100; ++n) {
    pairs[static_cast<std::size_t>(2 * n)] = static_cast<char>('0' + n / 10);
    pairs[static_cast<std::size_t>(2 * n + 1)] = static_cast<char>('0' + n % 10);
  }
  return pairs;
}();

void WriteTwoDigits(char* p, std::uint32_t n) { std::memcpy(p, &kDigitPairs[2 * n], 2); }

void WriteFourDigits(char* p, std::uint32_t n) {
  WriteTwoDigits(p, n / 100);
  WriteTwoDigits(p + 2, n % 100);
}

void WriteEightDigits(char* p, std::uint32_t n) {
  WriteFourDigits(p, n / 10000);
  WriteFourDigits(p + 4, n % 10000);
}

// x < 10^6 as six digits: the leading pair from the top of x / 10^4 in 32.32
// fixed point, each next pair from the fraction times 100. Fewer and shorter
// chains of multiplications than dividing by 100 at each pair.
void WriteSixDigits(char* p, std::uint32_t x) {
  constexpr std::uint64_t kTenThousandth = (std::uint64_t{1} << 32) / 10'000 + 1;
  std::uint64_t t = x * kTenThousandth;
  WriteTwoDigits(p, static_cast<std::uint32_t>(t >> 32));
  t = std::uint64_t{100} * static_cast<std::uint32_t>(t);
  WriteTwoDigits(p + 2, static_cast<std::uint32_t>(t >> 32));
  t = std::uint64_t{100} * static_cast<std::uint32_t>(t);
  WriteTwoDigits(p + 4, static_cast<std::uint32_t>(t >> 32));
}

// The last `count` digits (at most eight) of `n`, leading zeros included,
// written at `p`.
[[gnu::always_inline]] inline char* WriteShortDigits(char* p, std::uint32_t n, int count) {
  // Counts that come often: 4 (a "0.000E+00" label) and 8 (Fortran's E16.8).
  if (count == 4) {
    WriteFourDigits(p, n);
    return p + 4;
  }
  if (count == 8) {
    WriteEightDigits(p, n);
    return p + 8;
  }
  char* const end = p + count;
  char* at = end;
  for (; count >= 2; count -= 2, n /= 100) {
    at -= 2;
    WriteTwoDigits(at, n % 100);
  }
  if (count == 1) *--at = static_cast<char>('0' + n % 10);
  return end;
}

// Exactly `count` digits (at most 24) of `n` (below 10^count), leading zeros
// included, written at `p`: twelve, the pathline mask's, in two halves of
// six; others in parts of eight whose divisions by constants overlap.
[[gnu::always_inline]] inline char* WriteFixedDigits(char* p, std::uint64_t n, int count) {
  constexpr int kPart = 8;
  constexpr std::uint64_t kPartScale = 100'000'000;
  constexpr int kPathlineMantissa = 12;
  constexpr std::uint64_t kHalfScale = 1'000'000;
  if (count <= kPart) return WriteShortDigits(p, static_cast<std::uint32_t>(n), count);
  if (count == kPathlineMantissa) {
    WriteSixDigits(p, static_cast<std::uint32_t>(n / kHalfScale));
    WriteSixDigits(p + kPathlineMantissa / 2, static_cast<std::uint32_t>(n % kHalfScale));
    return p + kPathlineMantissa;
  }
  const auto low = static_cast<std::uint32_t>(n % kPartScale);
  n /= kPartScale;
  if (count <= 2 * kPart) {
    p = WriteShortDigits(p, static_cast<std::uint32_t>(n), count - kPart);
  } else {
    p = WriteShortDigits(p, static_cast<std::uint32_t>(n / kPartScale), count - 2 * kPart);
    WriteEightDigits(p, static_cast<std::uint32_t>(n % kPartScale));
    p += kPart;
  }
  WriteEightDigits(p, low);
  return p + kPart;
}

// "E-99" .. "E+99", four characters each.
constexpr int kTableExponent = 99;
constexpr auto kExponentTexts = [] {
  std::array<char, 4 * (2 * kTableExponent + 1)> texts{};
  for (int e = -kTableExponent; e <= kTableExponent; ++e) {
    char* text = &texts[static_cast<std::size_t>(4 * (e + kTableExponent))];
    const int magnitude = e < 0 ? -e : e;
    text[0] = 'E';
    text[1] = e < 0 ? '-' : '+';
    text[2] = static_cast<char>('0' + magnitude / 10);
    text[3] = static_cast<char>('0' + magnitude % 10);
  }
  return texts;
}();

// "E", the exponent's sign always, at least two digits.
char* WriteExponent(char* p, int exponent) {
  if (exponent >= -kTableExponent && exponent <= kTableExponent) {
    std::memcpy(p, &kExponentTexts[static_cast<std::size_t>(4 * (exponent + kTableExponent))], 4);
    return p + 4;
  }
  *p++ = 'E';
  *p++ = exponent < 0 ? '-' : '+';
  return std::to_chars(p, p + 8, std::abs(exponent)).ptr;
}

// "-" before a negative value (not before -0), without a branch:
// coordinates change sign at random.
char* WriteMinusIfNegative(char* p, double value) {
  *p = '-';
  return p + (value < 0 ? 1 : 0);
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
  p = WriteMinusIfNegative(p, value);
  const double magnitude = std::fabs(value);
  if (const SignificantDigits d = RoundToSignificantDigits(magnitude, decimals + 1)) {
    // All digits one place on, then the first moved before the point:
    // "1.E+02" with no decimals.
    char* const end = WriteFixedDigits(p + 1, d.digits, decimals + 1);
    p[0] = p[1];
    p[1] = '.';
    return WriteExponent(end, d.exponent);
  }
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

// n < 10^4 without leading zeros, its digits straight from the table of pairs.
char* WriteSmallInteger(char* p, std::uint32_t n) {
  if (n < 10) {
    *p = static_cast<char>('0' + n);
    return p + 1;
  }
  if (n < 100) {
    WriteTwoDigits(p, n);
    return p + 2;
  }
  if (n < 1000) {
    *p = static_cast<char>('0' + n / 100);
    WriteTwoDigits(p + 1, n % 100);
    return p + 3;
  }
  WriteFourDigits(p, n);
  return p + 4;
}

char* WriteIntegerMaskText(char* p, std::int64_t value) {
  // Cell indices and particle numbers, four to a pathline record.
  constexpr std::uint32_t kSmallBelow = 10'000;
  constexpr std::int64_t kFastBelow = std::int64_t{kSmallBelow} * kSmallBelow;
  if (value < 0 || value >= kFastBelow) return std::to_chars(p, p + kIntegerTextMax, value).ptr;
  const auto n = static_cast<std::uint32_t>(value);
  if (n < kSmallBelow) return WriteSmallInteger(p, n);
  p = WriteSmallInteger(p, n / kSmallBelow);
  WriteFourDigits(p, n % kSmallBelow);
  return p + 4;
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

// Blanks over the `width` characters at `p`: two overlapping stores for
// the widths of record fields, where a call of memset would cost more.
void FillBlanks(char* p, int width) {
  static constexpr char kBlanks[] = "                ";
  constexpr int kStore = sizeof kBlanks - 1;
  if (width >= kStore && width <= 2 * kStore) {
    std::memcpy(p, kBlanks, kStore);
    std::memcpy(p + width - kStore, kBlanks, kStore);
  } else if (width >= kStore / 2 && width < kStore) {
    std::memcpy(p, kBlanks, kStore / 2);
    std::memcpy(p + width - kStore / 2, kBlanks, kStore / 2);
  } else {
    Repeat(p, ' ', width);
  }
}

// The digits of n written backwards so that they end at `end`; their start.
char* WriteDigitsEndingAt(char* end, std::uint64_t n) {
  for (; n >= 100; n /= 100) {
    end -= 2;
    WriteTwoDigits(end, static_cast<std::uint32_t>(n % 100));
  }
  if (n >= 10) {
    end -= 2;
    WriteTwoDigits(end, static_cast<std::uint32_t>(n));
    return end;
  }
  *--end = static_cast<char>('0' + n);
  return end;
}

}  // namespace

char* WriteFortranInteger(char* p, std::int64_t value, int width) {
  // Non-negative values that fit, as nearly all do, straight into place.
  if (value >= 0 && width <= kMostSignificantDigits &&
      static_cast<std::uint64_t>(value) < kPowersOfTen[static_cast<std::size_t>(width)]) {
    FillBlanks(p, width);
    WriteDigitsEndingAt(p + width, static_cast<std::uint64_t>(value));
    return p + width;
  }
  char buffer[kIntegerTextMax];
  return WriteRightAligned(p, buffer, WriteIntegerMaskText(buffer, value), width);
}

char* WriteFortranExponent(char* p, double value, int width, int digits) {
  constexpr int kExponentText = 4;  // "E+dd"
  const double magnitude = std::fabs(value);
  // d.ddd...E+X is 0.dddd...E+(X+1)
  const SignificantDigits d = RoundToSignificantDigits(magnitude, digits);
  const int unsignedLength = 2 + digits + kExponentText;
  if (d && width > unsignedLength && std::abs(d.exponent + 1) <= kTableExponent) {
    // The common case in place: the blanks, the sign or one more blank.
    FillBlanks(p, width);
    char* const number = p + width - unsignedLength;
    number[-1] = value < 0 ? '-' : ' ';
    number[0] = '0';
    number[1] = '.';
    WriteExponent(WriteFixedDigits(number + 2, d.digits, digits), d.exponent + 1);
    return p + width;
  }
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
