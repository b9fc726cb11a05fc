#include "core/significant_digits.h"

#include <array>
#include <bit>
#include <cstring>

namespace kestra {
namespace {

// 5^0 .. 5^27, the powers below 2^63: times a 53-bit mantissa they stay
// below 2^116.
constexpr auto kPowersOfFive = [] {
  std::array<std::uint64_t, 28> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 5;
  return powers;
}();

// 10^0 .. 10^18.
constexpr auto kPowersOfTen = [] {
  std::array<std::uint64_t, kMostSignificantDigits + 1> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
  return powers;
}();

// floor(log10(2^x)) for |x| <= 1100 (every double's exponent): 78913 / 2^18
// is log10(2) to within 2^-18 / 1100.
int FloorLog10OfPowerOfTwo(int x) { return (x * 78913) >> 18; }

// The integer nearest to value / 2^drop, ties to even, for 0 < drop < the
// bits of UInt.
template <typename UInt>
UInt ShiftRounded(UInt value, int drop) {
  const UInt kept = value >> drop;
  const UInt rest = value - (kept << drop);
  const UInt half = UInt{1} << (drop - 1);
  const bool up = rest > half || (rest == half && (kept & 1) != 0);
  return kept + (up ? 1 : 0);
}

// The integer nearest to m * 2^e * 10^s, ties to even, computed exactly:
// m * 5^s fits 128 bits for m < 2^53 and s <= 27, and the power of two is a
// shift. Nothing when the result would not fit 63 bits.
std::optional<std::uint64_t> ScaledAndRounded(std::uint64_t m, int e, int s) {
  constexpr int kWordBits = 64;
  constexpr int kIntegerBits = 128;
  constexpr int kResultBits = 63;
  const unsigned __int128 product = static_cast<unsigned __int128>(m) * kPowersOfFive[static_cast<std::size_t>(s)];
  const int shift = s + e;
  if (shift >= 0) {
    if (shift >= kResultBits || (product >> (kResultBits - shift)) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(product << shift);
  }
  const int drop = -shift;
  // Most values (every 32-bit one) take the 64-bit way.
  if ((product >> kWordBits) == 0 && drop < kWordBits) return ShiftRounded(static_cast<std::uint64_t>(product), drop);
  if (drop >= kIntegerBits) return std::nullopt;
  const unsigned __int128 rounded = ShiftRounded(product, drop);
  if ((rounded >> kResultBits) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(rounded);
}

}  // namespace

std::optional<SignificantDigits> RoundToSignificantDigits(double magnitude, int digits) {
  constexpr int kMantissaBits = 52;
  constexpr int kExponentBias = 1023;
  constexpr int kExponentAll = 0x7FF;
  if (digits < 1 || digits > kMostSignificantDigits || !(magnitude > 0)) return std::nullopt;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int biased = static_cast<int>(bits >> kMantissaBits);
  if (biased == 0 || biased == kExponentAll) return std::nullopt;  // subnormal or not finite
  const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << kMantissaBits) - 1)) | (std::uint64_t{1} << kMantissaBits);
  const int e = biased - kExponentBias - kMantissaBits;  // magnitude = mantissa * 2^e
  // Without its trailing zero bits (all but 24 bits of a 32-bit value's)
  // the mantissa times a power of five mostly fits 64 bits.
  const int zeros = std::countr_zero(mantissa);
  const std::uint64_t m = mantissa >> zeros;
  // magnitude lies in [2^(e+52), 2^(e+53)): its decimal exponent is this
  // estimate or one more.
  const int estimate = FloorLog10OfPowerOfTwo(e + kMantissaBits);
  const std::uint64_t limit = kPowersOfTen[static_cast<std::size_t>(digits)];
  for (int exponent = estimate; exponent <= estimate + 1; ++exponent) {
    const int s = digits - 1 - exponent;
    if (s < 0 || s >= static_cast<int>(kPowersOfFive.size())) return std::nullopt;
    const std::optional<std::uint64_t> n = ScaledAndRounded(m, e + zeros, s);
    if (!n) return std::nullopt;
    if (*n < limit) return SignificantDigits{*n, exponent};
    if (*n == limit) return SignificantDigits{limit / 10, exponent + 1};  // 9.99...95 became 10.0...0
  }
  return std::nullopt;
}

}  // namespace kestra
