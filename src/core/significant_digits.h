// Rounding a binary floating-point value to a number of significant decimal
// digits, exactly and with ties to even, as the standard library's
// conversion with a precision rounds, but without text: in the arithmetic
// of doubles wherever its error cannot change the answer, else in integers.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kestra {

// The most digits the rounding gives: 10^18 stays below 2^63.
inline constexpr int kMostSignificantDigits = 18;

// 10^0 .. 10^kMostSignificantDigits.
inline constexpr auto kPowersOfTen = [] {
  std::array<std::uint64_t, kMostSignificantDigits + 1> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
  return powers;
}();

// `digits` as one integer of exactly that many digits (leading digit not
// zero) and the decimal exponent of the leading digit: 1234.5 at 4 digits
// is {1234, 3}, half way and so to the even digit. No digits (0) where the
// rounding gave no answer; returned in two registers, not through memory.
struct SignificantDigits {
  std::uint64_t digits = 0;
  int exponent = 0;
  explicit operator bool() const { return digits != 0; }
};

namespace significant_digits_detail {

using UInt128 = unsigned __int128;

inline constexpr int kWordBits = 64;
inline constexpr std::uint64_t kTopBit = std::uint64_t{1} << (kWordBits - 1);

// 5^s for s = 0 .. 27 (the powers below 2^63), shifted up to fill 64 bits:
// times a mantissa that fills 64 bits too, the product fills 127 or 128.
struct FullPowerOfFive {
  std::uint64_t bits = 0;
  int shift = 0;  // 5^s is bits / 2^shift
};
inline constexpr auto kPowersOfFive = [] {
  std::array<FullPowerOfFive, 28> powers{};
  std::uint64_t power = 1;
  for (FullPowerOfFive& p : powers) {
    p.shift = std::countl_zero(power);
    p.bits = power << p.shift;
    power *= 5;
  }
  return powers;
}();

// 10^0 .. 10^22, the powers of ten a double holds exactly.
inline constexpr auto kPowersOfTenAsDoubles = [] {
  std::array<double, 23> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
  return powers;
}();

// Integers below 10^15 stay below 2^52, where 2^52 + n is exact.
inline constexpr int kDigitsOfExactDoubles = 15;
inline constexpr double kTwoToThe52 = 4503599627370496.0;
inline constexpr std::uint64_t kTwoToThe52Bits = std::uint64_t{1075} << 52;
// For each digit count, half a unit in the last place of a double below
// 10^digits: how far the product of two doubles of that size may lie from
// the exact one.
inline constexpr auto kProductErrors = [] {
  std::array<double, kDigitsOfExactDoubles + 1> errors{};
  for (int digits = 0; digits <= kDigitsOfExactDoubles; ++digits) {
    std::uint64_t power = 1;
    for (int k = 0; k < digits; ++k) power *= 10;
    // 10^digits lies below 2^width, where a unit in the last place is at most 2^(width - 53).
    const int width = std::bit_width(power);
    double error = 1;
    for (int k = 0; k < 54 - width; ++k) error /= 2;
    errors[static_cast<std::size_t>(digits)] = error;
  }
  return errors;
}();

// The bits of the 64-bit mantissa below a double's 53.
inline constexpr int kExtraBits = 11;

// The binary exponents of the values the rounding reaches: from 10^-27
// (12 digits at the largest power of five) to 10^18.
inline constexpr int kLowestBinaryExponent = -96;
inline constexpr int kHighestBinaryExponent = 63;

// ceil(10^decimal * 2^binary) for binary >= 0, or 2^64 - 1 when that does
// not fit 64 bits.
inline constexpr std::uint64_t CeilScaledPowerOfTen(int decimal, int binary) {
  constexpr UInt128 kBeyond = UInt128{1} << kWordBits;
  UInt128 ten = 1;
  for (int k = 0; k < (decimal < 0 ? -decimal : decimal); ++k) ten *= 10;
  UInt128 quotient = 0;
  if (decimal >= 0) {
    quotient = binary < kWordBits && (ten << binary) < kBeyond ? ten << binary : kBeyond;
  } else {
    // 2^binary / 10^-decimal by long division, one bit at a time.
    UInt128 rest = 1;
    for (int k = 0; k < binary && quotient < kBeyond; ++k) {
      rest <<= 1;
      quotient <<= 1;
      if (rest >= ten) {
        rest -= ten;
        quotient |= 1;
      }
    }
    if (rest != 0) ++quotient;
  }
  return quotient < kBeyond ? static_cast<std::uint64_t>(quotient) : ~std::uint64_t{0};
}

// For the values in [2^b, 2^(b+1)): the decimal exponent of the smallest,
// and the 64-bit mantissa (value = mantissa * 2^(b - 63)) from which on
// the exponent is one more.
struct Decade {
  std::uint64_t nextFrom = 0;
  int exponent = 0;
};
inline constexpr auto kDecades = [] {
  std::array<Decade, kHighestBinaryExponent - kLowestBinaryExponent + 1> decades{};
  for (int b = kLowestBinaryExponent; b <= kHighestBinaryExponent; ++b) {
    // 78913 / 2^18 is log10(2) closely enough for every exponent here.
    const int exponent = (b * 78913) >> 18;
    decades[static_cast<std::size_t>(b - kLowestBinaryExponent)] = {
        CeilScaledPowerOfTen(exponent + 1, kWordBits - 1 - b), exponent};
  }
  return decades;
}();
}  // namespace significant_digits_detail

// `digits` (1 .. kMostSignificantDigits) significant digits of a finite,
// positive, normal `magnitude`. No digits for values out of its reach (from
// 10^digits on, and below about 1E-16 at 12 digits) and for every other
// argument: the caller then takes the standard conversion. Inline: the
// record writers call it with a constant digit count, which folds its
// checks away.
[[gnu::always_inline]] inline SignificantDigits RoundToSignificantDigits(double magnitude, int digits) {
  using namespace significant_digits_detail;
  constexpr int kMantissaBits = 52;
  constexpr int kExponentBias = 1023;
  constexpr int kExponentAll = 0x7FF;
  if (digits < 1 || digits > kMostSignificantDigits) return {};
  std::uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  // The sign bit stays with the exponent: one range test turns away zero,
  // subnormal, infinite and NaN values, whose exponent bits are all 0 or
  // all 1, and negative ones, whose sign bit puts them above every exponent.
  const int biased = static_cast<int>(bits >> kMantissaBits);
  const int b = biased - kExponentBias;  // magnitude lies in [2^b, 2^(b+1))
  static_assert(kLowestBinaryExponent > -kExponentBias && kHighestBinaryExponent < kExponentAll - kExponentBias);
  if (b < kLowestBinaryExponent || b > kHighestBinaryExponent) return {};
  const std::uint64_t m = (bits << kExtraBits) | kTopBit;  // magnitude = m * 2^(b - 63)
  const Decade& decade = kDecades[static_cast<std::size_t>(b - kLowestBinaryExponent)];
  const int exponent = decade.exponent + (m >= decade.nextFrom ? 1 : 0);
  const int s = digits - 1 - exponent;
  if (s < 0 || s >= static_cast<int>(kPowersOfFive.size())) return {};
  const FullPowerOfFive& five = kPowersOfFive[static_cast<std::size_t>(s)];
  const std::uint64_t limit = kPowersOfTen[static_cast<std::size_t>(digits)];
  // Where 10^s is a double, the product of the two doubles is within half a
  // unit in its last place of magnitude * 10^s, and its nearest integer
  // (adding 2^52 rounds it, ties to even) is the answer unless the product
  // lies that close to half way between two integers. There it is still the
  // answer where the product is exact: where the significant bits of m and
  // of 5^s make at most a double's 53 (every 32-bit value from about 0.1 on
  // at 12 digits). Only the rest takes the integer arithmetic below. The
  // hints keep this path, nearly every number's, the straight one in the
  // code: as a jump away it cost a MODPATH 7 point line a tenth of its time.
  if (digits <= kDigitsOfExactDoubles && s < static_cast<int>(kPowersOfTenAsDoubles.size())) [[likely]] {
    const double scaled = magnitude * kPowersOfTenAsDoubles[static_cast<std::size_t>(s)];
    const double shifted = scaled + kTwoToThe52;  // its nearest integer in the low bits
    const double nearest = shifted - kTwoToThe52;
    const bool farFromHalfWay =
        std::fabs(std::fabs(scaled - nearest) - 0.5) > kProductErrors[static_cast<std::size_t>(digits)];
    if (farFromHalfWay || std::countr_zero(m) >= kExtraBits + (kWordBits - five.shift)) [[likely]] {
      std::uint64_t shiftedBits = 0;
      std::memcpy(&shiftedBits, &shifted, sizeof shiftedBits);
      const std::uint64_t n = shiftedBits - kTwoToThe52Bits;
      if (n == limit) return SignificantDigits{limit / 10, exponent + 1};
      return SignificantDigits{n, exponent};
    }
  }
  // magnitude * 10^s = m * five.bits * 2^(b - 63 - five.shift + s), exactly.
  const UInt128 product = static_cast<UInt128>(m) * five.bits;
  const auto high = static_cast<std::uint64_t>(product >> kWordBits);
  const auto low = static_cast<std::uint64_t>(product);
  // The result has `digits` digits (below 2^60) and the high word at least
  // 63 bits, so it ends 3 to 63 bits into the high word.
  const int drop = (kWordBits - 1) - b + five.shift - s - kWordBits;
  std::uint64_t n = high >> drop;
  const std::uint64_t rest = high & ((std::uint64_t{1} << drop) - 1);
  const std::uint64_t half = std::uint64_t{1} << (drop - 1);
  // Up above half way, and half way to the even digit; in bit operations
  // rather than conditions, which the random digits would mispredict.
  const bool above = rest > half;
  const bool halfWay = rest == half;
  const bool lowOrOdd = (low != 0) | ((n & 1) != 0);
  n += static_cast<std::uint64_t>(above | (halfWay & lowOrOdd));
  if (n == limit) return SignificantDigits{limit / 10, exponent + 1};  // 9.99...95 became 10.0...0
  return SignificantDigits{n, exponent};
}

}  // namespace kestra
