// The number forms of the pathline and end point files are written by hand
// for speed. These tests hold them to the forms they replaced, kept here as
// the reference, over millions of values: random ones over the whole range
// and the rounding edges where a mask's last digit or the exponent changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/number_fields.h"
#include "core/number_format.h"

namespace kestra {
namespace {

std::string ReferenceExponent(int exponent, int minDigits) {
  std::string digits = std::to_string(std::abs(exponent));
  while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), '0');
  return std::string(exponent < 0 ? "E-" : "E+") + digits;
}

std::string ReferenceScientific(double value, int decimals) {
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
  return sign + mantissa + ReferenceExponent(exponent, 2);
}

std::string ReferenceShortest(double value, int maxDigits) {
  const std::string sign = std::signbit(value) && value != 0 ? "-" : " ";
  if (std::isnan(value)) return " NaN";
  if (std::isinf(value)) return sign + "Inf";
  const double magnitude = std::fabs(value);
  if (magnitude == 0) return " 0";
  std::array<char, 64> buffer{};
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                              std::chars_format::scientific, maxDigits - 1);
  std::string_view text(buffer.data(), result.ptr - buffer.data());
  const auto ePos = text.find('e');
  std::string digits;
  for (char c : text.substr(0, ePos))
    if (c != '.') digits.push_back(c);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
  const int count = static_cast<int>(digits.size());
  if (exponent < -4 || exponent >= maxDigits) {
    std::string mantissa = digits.substr(0, 1);
    if (count > 1) mantissa += "." + digits.substr(1);
    return sign + mantissa + ReferenceExponent(exponent, 2);
  }
  if (exponent < 0) return sign + "." + std::string(-exponent - 1, '0') + digits;
  if (count <= exponent + 1) return sign + digits + std::string(exponent + 1 - count, '0');
  return sign + digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
}

// Fortran's Ew.d: "0.", the digits, the exponent of that form, right-aligned.
std::string ReferenceFortranExponent(double value, int width, int digits) {
  std::string text = ReferenceScientific(value, digits - 1);
  const std::size_t lead = value < 0 ? 1 : 0;
  const std::size_t e = text.find('E');
  const int exponent = std::isfinite(value) && value != 0 ? std::atoi(text.c_str() + e + 1) + 1 : 0;
  text = text.substr(0, lead) + "0." + text[lead] + text.substr(lead + 2, e - lead - 2) + ReferenceExponent(exponent, 2);
  return std::string(std::max(0, width - static_cast<int>(text.size())), ' ') + text;
}

std::string ReferenceTrimmed(double value) {
  const std::string text = ReferenceShortest(value, 15);
  return text.front() == ' ' ? text.substr(1) : text;
}

std::string ReferenceGeneral(float value) {
  std::string text = ReferenceShortest(value, 7);
  if (text.front() == ' ') text.erase(0, 1);
  const std::size_t point = text.front() == '-' ? 1 : 0;
  if (text[point] == '.') text.insert(point, "0");
  return text;
}

// Doubles of every magnitude: random bit patterns (all exponents, subnormals,
// NaN and infinities among them) and random decimal-looking values.
std::vector<double> RandomDoubles(std::size_t count, unsigned seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::vector<double> values;
  values.reserve(count);
  for (std::size_t n = 0; n < count; ++n)
    values.push_back(n % 2 == 0 ? std::bit_cast<double>(std::uint64_t{random()})
                                : mantissa(random) * std::pow(10.0, exponent(random)));
  return values;
}

// Values next to the places where rounding to `digits` significant digits
// carries into a new digit or exponent (9.99...95, 0.5 units of the last
// digit) and the doubles on either side of them.
std::vector<double> RoundingEdges(int digits) {
  std::vector<double> values;
  for (int exponent = -40; exponent <= 40; ++exponent) {
    const double scale = std::pow(10.0, exponent);
    for (const double lead : {1.0, 9.0, 9.5, 1.5, 2.5, 5.0}) {
      // lead followed by digits-1 nines and a 5, then scaled
      const double unit = std::pow(10.0, -digits);
      for (const double base : {lead * scale, (lead + 1 - unit * 5) * scale, (lead + unit * 5) * scale}) {
        double below = base, above = base;
        for (int step = 0; step < 4; ++step) {
          below = std::nextafter(below, 0.0);
          above = std::nextafter(above, 1e308);
          for (const double v : {base, below, above, -base, -below, -above}) values.push_back(v);
        }
      }
    }
  }
  for (const double special : {0.0, -0.0, std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::lowest(), 1e-5, 1e-4, 0.0001, 1e15, 1e16})
    values.push_back(special);
  return values;
}

// What `append` adds to an empty text.
template <typename... Params, typename... Args>
std::string Appended(void (*append)(std::string&, Params...), Args... args) {
  std::string out;
  append(out, args...);
  return out;
}

// Counts a text that differs from the reference's, reporting the first few.
void Compare(const std::string& text, const std::string& reference, double value, int& failures) {
  if (text != reference && ++failures < 10) ADD_FAILURE() << value << ": " << text << " instead of " << reference;
}

TEST(NumberFormReference, ScientificMasksWriteTheSameCharacters) {
  std::vector<double> values = RandomDoubles(1'000'000, 1);
  for (const double v : RoundingEdges(12)) values.push_back(v);
  int failures = 0;
  char field[ScientificTextMax(11)];
  for (const double value : values) {
    const std::string reference = ReferenceScientific(value, 11);
    Compare(ScientificText(value, 11), reference, value, failures);
    Compare(std::string(field, WriteScientificField(field, value, 11)), reference, value, failures);
  }
  // Every mask width: 0 to 15 decimals, on fewer values.
  for (int decimals = 0; decimals <= 15; ++decimals)
    for (const double value : RoundingEdges(decimals + 1))
      Compare(ScientificText(value, decimals), ReferenceScientific(value, decimals), value, failures);
  EXPECT_EQ(failures, 0);
}

TEST(NumberFormReference, PathlineCoordinatesOfEveryFloatFormTheSame) {
  // The pathline file writes 32-bit coordinates through the double form.
  std::mt19937 random(2);
  int failures = 0;
  for (int n = 0; n < 1'000'000; ++n) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    Compare(ScientificText(value, 11), ReferenceScientific(value, 11), value, failures);
  }
  // Floats whose exact decimal expansion ends just at or beyond the 12th
  // digit: ties (2^-18 is 3.814697265625E-06) and carries.
  for (int power = -149; power <= 127; ++power)
    for (const float odd : {1.0f, 3.0f, 5.0f, 7.0f, 99.0f, 12345.0f, 16777215.0f}) {
      const float value = std::ldexp(odd, power);
      if (!std::isfinite(value) || value == 0) continue;
      for (const int decimals : {3, 4, 7, 11})
        Compare(ScientificText(value, decimals), ReferenceScientific(value, decimals), value, failures);
    }
  EXPECT_EQ(ScientificText(std::ldexp(1.0, -18), 11), "3.81469726562E-06");  // a tie goes to the even digit
  // Times are 64-bit: ties of the twelfth digit, carries into the exponent.
  EXPECT_EQ(ScientificText(100000000000.5, 11), "1.00000000000E+11");
  EXPECT_EQ(ScientificText(100000000001.5, 11), "1.00000000002E+11");
  EXPECT_EQ(ScientificText(999999999999.5, 11), "1.00000000000E+12");
  EXPECT_EQ(ScientificText(0.0999999999999996, 11), "1.00000000000E-01");
  EXPECT_EQ(failures, 0);
}

TEST(NumberFormReference, EndPointNumbersWriteTheSameCharacters) {
  std::vector<double> values = RandomDoubles(500'000, 3);
  for (const double v : RoundingEdges(15)) values.push_back(v);
  for (const double v : RoundingEdges(7)) values.push_back(v);
  int failures = 0;
  for (const double value : values) {
    const float single = static_cast<float>(value);
    Compare(Appended(AppendTrimmedNumberText, value), ReferenceTrimmed(value), value, failures);
    Compare(Appended(AppendGeneralNumberText, single), ReferenceGeneral(single), single, failures);
    Compare(NumberText(value), ReferenceShortest(value, 15), value, failures);
    Compare(NumberText(single), ReferenceShortest(single, 7), single, failures);
  }
  EXPECT_EQ(failures, 0);
}

TEST(NumberFormReference, AppendingKeepsWhatTheTextHeld) {
  std::string out = "x";
  AppendIntegerMaskText(out, -42);
  AppendTrimmedNumberText(out, 0.5);
  AppendGeneralNumberText(out, -0.25f);
  EXPECT_EQ(out, "x-42.5-0.25");
}

// 9.99999999996 carries into the exponent; the widths from -1.5 on leave no
// room for the sign, or none at all, or are wide.
TEST(FortranForms, ExponentFormRoundsAndRightAligns) {
  std::string out;
  for (const auto& [value, width, digits] :
       {std::tuple{120.0, 18, 10}, {-0.000123456789, 16, 8}, {9.99999999996, 18, 10}, {0.0, 16, 8},
        {std::numeric_limits<double>::quiet_NaN(), 16, 8}, {1e-150, 16, 8}, {-1.5, 15, 8}, {-1.5, 14, 8},
        {1.5, 14, 8}, {1.5, 10, 8}, {2.5, 0, 8}, {0.25, 70, 8}})
    AppendFortranExponent(out, value, width, digits);
  EXPECT_EQ(out, "  0.1200000000E+03 -0.12345679E-03  0.1000000000E+02  0.00000000E+00  0.00000000E+00"
                 " 0.10000000E-149-0.15000000E+01-0.15000000E+010.15000000E+010.15000000E+010.25000000E+01" +
                     std::string(56, ' ') + "0.25000000E+00");
}

// E16.8 (the pathline points of MODPATH 7) and E18.10 (its end points), in
// the general form and in the record writers' inline one.
TEST(FortranForms, ExponentFormsAgreeWithTheStandardConversion) {
  std::vector<double> values = RandomDoubles(500'000, 4);
  for (const int digits : {8, 10})
    for (const double v : RoundingEdges(digits)) values.push_back(v);
  int failures = 0;
  char field[FortranExponentTextMax(18, 10)];
  for (const double value : values) {
    const std::string e16 = ReferenceFortranExponent(value, 16, 8), e18 = ReferenceFortranExponent(value, 18, 10);
    Compare(std::string(field, WriteFortranExponentField(field, value, 16, 8)), e16, value, failures);
    Compare(std::string(field, WriteFortranExponentField(field, value, 18, 10)), e18, value, failures);
    Compare(Appended(AppendFortranExponent, value, 16, 8), e16, value, failures);
  }
  EXPECT_EQ(failures, 0);
}

// From 99999 on: either side of the widest number that fits, and widths
// beyond any number.
TEST(FortranForms, IntegersRightAlignedAndNeverCut) {
  std::string out;
  for (const auto& [value, width] :
       {std::pair<std::int64_t, int>{7, 10}, {-12, 5}, {1234567, 5}, {0, 5}, {99999, 5}, {100000, 5}, {5, 0}, {-5, 1},
        {999999999999999999, 18}, {std::numeric_limits<std::int64_t>::min(), 1}, {42, 25}})
    AppendFortranInteger(out, value, width);
  EXPECT_EQ(out, "         7  -121234567    0999991000005-5999999999999999999-9223372036854775808" +
                     std::string(23, ' ') + "42");
}

// Every integer below 10^6 and both sides of every power of ten up to 10^9,
// in the mask and right-aligned in the widths of record fields.
TEST(FortranForms, IntegersAgreeWithTheStandardTextAcrossDigitCounts) {
  std::vector<std::int64_t> values;
  for (std::int64_t n = 0; n < 1'000'000; ++n) values.push_back(n);
  for (std::int64_t power = 10; power <= 1'000'000'000; power *= 10)
    for (const std::int64_t near : {power - 1, power, power + 1}) values.push_back(near);
  for (const std::int64_t value : values) {
    const std::string standard = std::to_string(value);
    ASSERT_EQ(Appended(AppendIntegerMaskText, value), standard);
    for (const int width : {5, 8, 10, 12}) {
      const std::size_t pad = standard.size() < static_cast<std::size_t>(width) ? width - standard.size() : 0;
      ASSERT_EQ(Appended(AppendFortranInteger, value, width), std::string(pad, ' ') + standard) << width;
    }
  }
}

}  // namespace
}  // namespace kestra
