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

// 10^0 .. 10^17.
constexpr auto kPowersOfTen = [] {
  std::array<std::uint64_t, kMostSignificantDigits + 1> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
  return powers;
}();

// floor(log10(2^x)) for |x| <= 1100 (every double's exponent): 78913 / 2^18
// is log10(2) to within 2^-18 / 1100.
int FloorLog10OfPowerOfTwo(int x) { return (x * 78913) >> 18; }

// floor(m * 2^shift) for a product m of a mantissa and a power of five, and
// whether the floor dropped anything. Nothing when it would not fit 64 bits.
struct Truncated {
  std::uint64_t value = 0;
  bool inexact = false;
};

std::optional<Truncated> Truncate(unsigned __int128 m, int shift) {
  constexpr int kWordBits = 64;
  constexpr int kIntegerBits = 128;
  if (shift >= 0) {
    if (shift >= kWordBits || (m >> (kWordBits - shift)) != 0) return std::nullopt;
    return Truncated{static_cast<std::uint64_t>(m << shift), false};
  }
  const int drop = -shift;
  // Most values (every 32-bit one) take the 64-bit way.
  if ((m >> kWordBits) == 0 && drop < kWordBits) {
    const auto word = static_cast<std::uint64_t>(m);
    return Truncated{word >> drop, (word & ((std::uint64_t{1} << drop) - 1)) != 0};
  }
  if (drop >= kIntegerBits || (m >> drop) >> kWordBits != 0) return std::nullopt;
  return Truncated{static_cast<std::uint64_t>(m >> drop), (m & ((static_cast<unsigned __int128>(1) << drop) - 1)) != 0};
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
  // estimate or one more. Scaled to one digit more than wanted at the
  // estimate, it has one or two digits to drop, and the floor with its
  // dropped digits and bits decides the rounding exactly, in one pass.
  const int estimate = FloorLog10OfPowerOfTwo(e + kMantissaBits);
  const int s = digits - estimate;
  if (s < 0 || s >= static_cast<int>(kPowersOfFive.size())) return std::nullopt;
  const std::optional<Truncated> scaled =
      Truncate(static_cast<unsigned __int128>(m) * kPowersOfFive[static_cast<std::size_t>(s)], e + zeros + s);
  if (!scaled) return std::nullopt;
  const std::uint64_t limit = kPowersOfTen[static_cast<std::size_t>(digits)];
  const bool twoToDrop = scaled->value >= 10 * limit;
  const std::uint64_t divisor = twoToDrop ? 100 : 10;
  std::uint64_t n = twoToDrop ? scaled->value / 100 : scaled->value / 10;
  const std::uint64_t dropped = scaled->value - n * divisor;
  const std::uint64_t half = divisor / 2;
  const bool up = dropped > half || (dropped == half && (scaled->inexact || (n & 1) != 0));
  n += up ? 1 : 0;
  int exponent = estimate + (twoToDrop ? 1 : 0);
  if (n == limit) {  // 9.99...95 became 10.0...0
    n = limit / 10;
    ++exponent;
  }
  return SignificantDigits{n, exponent};
}

}  // namespace kestra
