// Rounding a binary floating-point value to a number of significant decimal
// digits, exactly and with ties to even, as the standard library's
// conversion with a precision rounds, but without text: in integer
// arithmetic, or in that of doubles where every step of it is exact.
#pragma once

#include <array>
#include <cstdint>

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

// `digits` (1 .. kMostSignificantDigits) significant digits of a finite,
// positive, normal `magnitude`. No digits for values out of its reach (from
// 10^digits on, and below about 1E-16 at 12 digits) and for every other
// argument: the caller then takes the standard conversion.
SignificantDigits RoundToSignificantDigits(double magnitude, int digits);

}  // namespace kestra
