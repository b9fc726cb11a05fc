// The number forms of the program's files and messages, by example, and the
// rounding to significant digits beneath them.
#include "core/number_format.h"
#include "core/significant_digits.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <tuple>

namespace kestra {
namespace {

// The forms the reference test compares over millions of values, pinned by
// examples: a leading blank unless negative, no zero before the point, at
// most 7 (float) or 15 (double) significant digits, then the exponent form.
TEST(NumberText, ExamplesOfEveryForm) {
  for (const auto& [value, text] : {std::pair{12632256, " 12632256"}, {-1, "-1"}, {0, " 0"}})
    EXPECT_EQ(NumberText(value), text) << value;
  for (const auto& [value, text] : {std::pair{31557600.0f, " 3.15576E+07"}, {16777215.0f, " 1.677722E+07"},
                                    {9999999.0f, " 9999999"}, {-999.99f, "-999.99"}, {0.1f, " .1"},
                                    {-1e30f, "-1E+30"}, {1.5e-20f, " 1.5E-20"}})
    EXPECT_EQ(NumberText(value), text) << value;
  for (const auto& [value, text] : {std::pair{31557600.0, " 31557600"}, {365.25, " 365.25"}, {1e15, " 1E+15"},
                                    {1e-5, " 1E-05"}, {0.0001, " .0001"}, {-0.25, "-.25"}})
    EXPECT_EQ(NumberText(value), text) << value;
  EXPECT_EQ(TrimmedNumberText(0.5), ".5");
  EXPECT_EQ(TrimmedNumberText(-2.0), "-2");
  for (const auto& [value, text] : {std::pair{0.5f, "0.5"}, {-0.25f, "-0.25"}, {1e-5f, "1E-05"},
                                    {31557600.0f, "3.15576E+07"}, {0.0f, "0"}})
    EXPECT_EQ(GeneralNumberText(value), text) << value;
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
  for (const auto& [text, value] :
       {std::pair{"1E+30", 1e30}, {" .5", 0.5}, {"2.5 days", 2.5}, {"1.5D+02", 150.0}, {"3E", 3.0}, {"abc", 0.0},
        {"", 0.0}, {"-", 0.0}, {".", 0.0}})
    EXPECT_EQ(LeadingNumber(text), value) << text;
  for (double value : {31557600.0, -999.99, 1e30, 1e-5, 0.5, 365.25, -0.25})
    EXPECT_EQ(LeadingNumber(NumberText(value)), value) << value;
}

TEST(RoundToInt16, RoundsHalfToEvenAndRefusesValuesOutsideSixteenBits) {
  for (const auto& [value, rounded] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}, {2.6, 3},
                                       {32767.4, 32767}, {-32768.0, -32768}})
    EXPECT_EQ(RoundToInt16(value), rounded) << value;
  for (const double outside : {32767.6, -32769.0, 1e30, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_FALSE(RoundToInt16(outside).has_value()) << outside;
  EXPECT_EQ(RoundToInt32(16777215.0), 16777215);
  EXPECT_FALSE(RoundToInt32(3e9).has_value());
}

TEST(FormatMasks, ScientificExportAndContourForms) {
  for (const auto& [value, decimals, text] :
       {std::tuple{120.0, 11, "1.20000000000E+02"}, {0.0, 11, "0.00000000000E+00"}, {-0.5, 4, "-5.0000E-01"},
        {12345.678, 3, "1.235E+04"}, {1e-120, 3, "1.000E-120"}})
    EXPECT_EQ(ScientificText(value, decimals), text) << value;
  EXPECT_EQ(IntegerMaskText(12), "12");
  // Export values are fifteen characters.
  for (const auto& [value, text] :
       {std::pair{12.5, " 1.2500000E+01 "}, {-0.00123, "-1.2300000E-03 "}, {0.0, " 0.0000000E+00 "}})
    EXPECT_EQ(ExportValueText(value), text) << value;
  EXPECT_EQ(ExportValueText(-1e30).size(), 15u);
  for (const auto& [value, style, decimals, text] : {std::tuple{12.345, 0, 2, "12.35"}, {12.0, 0, 0, "12."},
                                                     {-0.001, 0, 1, "0.0"}, {1234.5, 1, 2, "1.23E+03"}})
    EXPECT_EQ(ContourLabelNumber(value, style, decimals), text) << value;
}

// The appending form gives the plain decimal text on both sides of each
// digit count its table covers and beyond.
TEST(IntegerMaskText, AppendedTextIsThePlainDecimalText) {
  constexpr std::int64_t kValues[] = {0, 7, 10, 99, 100, 999, 1000, 9999, 10000, 10007, 123456, 99999999, 100000000,
                                      -1, -12345, std::numeric_limits<std::int64_t>::max(),
                                      std::numeric_limits<std::int64_t>::min()};
  for (const std::int64_t value : kValues) {
    std::string text = "x";
    AppendIntegerMaskText(text, value);
    EXPECT_EQ(text, "x" + std::to_string(value));
  }
}

// The digits and exponent the standard conversion with a precision gives.
SignificantDigits StandardDigits(double magnitude, int digits) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, digits - 1).ptr;
  SignificantDigits result;
  const char* p = text;
  for (; *p != 'e'; ++p)
    if (*p != '.') result.digits = result.digits * 10 + static_cast<std::uint64_t>(*p - '0');
  std::from_chars(p + (p[1] == '+' ? 2 : 1), end, result.exponent);
  return result;
}

void ExpectDigits(double magnitude, int digits, std::uint64_t expected, int exponent) {
  const auto rounded = RoundToSignificantDigits(magnitude, digits);
  ASSERT_TRUE(rounded) << magnitude;
  EXPECT_EQ(rounded.digits, expected) << magnitude << " at " << digits;
  EXPECT_EQ(rounded.exponent, exponent) << magnitude << " at " << digits;
}

TEST(RoundToSignificantDigits, TiesGoToTheEvenDigitAndCarriesMoveTheExponent) {
  ExpectDigits(123.25, 3, 123, 2);
  ExpectDigits(1234.5, 4, 1234, 3);  // exactly half way
  ExpectDigits(1235.5, 4, 1236, 3);
  ExpectDigits(0.125, 2, 12, -1);
  ExpectDigits(999999999999.5, 12, 100000000000, 12);
  ExpectDigits(1000, 12, 100000000000, 3);
  ExpectDigits(std::ldexp(1.0, -18), 12, 381469726562, -6);
  ExpectDigits(0.1f, 12, 100000001490, -1);  // the 32-bit value, not one tenth
}

TEST(RoundToSignificantDigits, LeavesWhatItCannotReachToTheCaller) {
  for (const double value : {0.0, -0.0, -1.0, -1e-300, std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min(),
                             1e300, 1e-300})
    EXPECT_FALSE(RoundToSignificantDigits(value, 12)) << value;
  EXPECT_FALSE(RoundToSignificantDigits(1234.5, 3));  // 10^digits and above
  EXPECT_FALSE(RoundToSignificantDigits(1.5, 0));
  EXPECT_FALSE(RoundToSignificantDigits(1.5, kMostSignificantDigits + 1));
}

TEST(RoundToSignificantDigits, AgreesWithTheStandardConversionWhereverItAnswers) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-20, 20);
  int answered = 0, failures = 0;
  for (int n = 0; n < 200000; ++n) {
    const int digits = 1 + n % kMostSignificantDigits;
    // Every other value a 32-bit one, as the pathline coordinates are.
    double value = mantissa(random) * std::pow(10.0, exponent(random));
    if (n % 2 == 0) value = static_cast<float>(value);
    const auto rounded = RoundToSignificantDigits(value, digits);
    if (!rounded) continue;
    ++answered;
    const SignificantDigits expected = StandardDigits(value, digits);
    if ((rounded.digits != expected.digits || rounded.exponent != expected.exponent) && ++failures < 10)
      ADD_FAILURE() << value << " at " << digits << ": " << rounded.digits << "E" << rounded.exponent;
  }
  EXPECT_EQ(failures, 0);
  EXPECT_GT(answered, 100000);
}

}  // namespace
}  // namespace kestra
