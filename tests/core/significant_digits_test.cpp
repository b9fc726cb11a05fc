#include "core/significant_digits.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace kestra {
namespace {

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
  EXPECT_EQ(rounded->digits, expected) << magnitude << " at " << digits;
  EXPECT_EQ(rounded->exponent, exponent) << magnitude << " at " << digits;
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
  for (const double value : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min(),
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
    if ((rounded->digits != expected.digits || rounded->exponent != expected.exponent) && ++failures < 10)
      ADD_FAILURE() << value << " at " << digits << ": " << rounded->digits << "E" << rounded->exponent;
  }
  EXPECT_EQ(failures, 0);
  EXPECT_GT(answered, 100000);
}

}  // namespace
}  // namespace kestra
