// Rounding a binary floating-point value to a number of significant decimal
// digits, exactly and with ties to even, as the standard library's
// conversion with a precision rounds, but in integer arithmetic only.
#pragma once

#include <cstdint>
#include <optional>

namespace kestra {

// The most digits the rounding gives: 10^18 stays below 2^63.
inline constexpr int kMostSignificantDigits = 18;

// `digits` as one integer of exactly that many digits (leading digit not
// zero) and the decimal exponent of the leading digit: 1234.5 at 4 digits
// is {1234, 3}, half way and so to the even digit.
struct SignificantDigits {
  std::uint64_t digits = 0;
  int exponent = 0;
};

// `digits` (1 .. kMostSignificantDigits) significant digits of a finite,
// positive, normal `magnitude`. Nothing for values out of its reach (from
// 10^digits on, and below about 1E-16 at 12 digits) and for every other
// argument: the caller then takes the standard conversion.
std::optional<SignificantDigits> RoundToSignificantDigits(double magnitude, int digits);

}  // namespace kestra
