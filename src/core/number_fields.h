// Inline writers of the number fields of record files that hold millions of
// numbers (pathline points). Each writes the common case in place, with the
// field's constants folded into it where the caller passes them as
// constants, and hands every other case to the general writing forms of
// number_format.h, which give the same characters.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/number_format.h"
#include "core/significant_digits.h"

namespace kestra {
namespace number_fields_detail {

// "00" to "99", two digits at a time.
inline constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int n = 0; n < 100; ++n) {
    pairs[static_cast<std::size_t>(2 * n)] = static_cast<char>('0' + n / 10);
    pairs[static_cast<std::size_t>(2 * n + 1)] = static_cast<char>('0' + n % 10);
  }
  return pairs;
}();

inline void WriteTwoDigits(char* p, std::uint32_t n) { std::memcpy(p, &kDigitPairs[2 * n], 2); }

inline void WriteFourDigits(char* p, std::uint32_t n) {
  WriteTwoDigits(p, n / 100);
  WriteTwoDigits(p + 2, n % 100);
}

#if defined(__SSE2__)
// The eight digits of value < 10^8, leading zeros included, as 16-bit lanes
// from the most significant: the two halves from one division by 10^4, then
// in all lanes at once each prefix a, ab, abc, abcd (by multiplications with
// scaled reciprocals of 10^3 .. 10^0) less ten times the one before it. No
// value waits for the digits of another, as the pairs of a table do.
inline __m128i EightDigitLanes(std::uint32_t value) {
  constexpr int kReciprocalShift = 45;  // 0xd1b71759 is 2^45 / 10^4, rounded up
  const __m128i v = _mm_cvtsi32_si128(static_cast<int>(value));
  const __m128i high = _mm_srli_epi64(_mm_mul_epu32(v, _mm_set1_epi32(static_cast<int>(0xd1b71759u))), kReciprocalShift);
  const __m128i low = _mm_sub_epi32(v, _mm_mul_epu32(high, _mm_set1_epi32(10'000)));
  // Both halves times 4, for the precision of the reciprocals, four times over.
  const __m128i halves = _mm_slli_epi64(_mm_unpacklo_epi16(high, low), 2);
  const __m128i pairs = _mm_unpacklo_epi16(halves, halves);
  const __m128i repeated = _mm_unpacklo_epi32(pairs, pairs);
  const __m128i reciprocals = _mm_setr_epi16(8389, 5243, 13108, -32768, 8389, 5243, 13108, -32768);
  const __m128i shifts = _mm_setr_epi16(1 << 7, 1 << 11, 1 << 13, -32768, 1 << 7, 1 << 11, 1 << 13, -32768);
  const __m128i prefixes = _mm_mulhi_epu16(_mm_mulhi_epu16(repeated, reciprocals), shifts);
  const __m128i tensOfPrevious = _mm_slli_epi64(_mm_mullo_epi16(prefixes, _mm_set1_epi16(10)), 16);
  return _mm_sub_epi16(prefixes, tensOfPrevious);
}

// The eight digits of n < 10^8, leading zeros included, written at `p`.
inline void WriteEightDigits(char* p, std::uint32_t n) {
  const __m128i characters = _mm_add_epi8(_mm_packus_epi16(EightDigitLanes(n), _mm_setzero_si128()), _mm_set1_epi8('0'));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), characters);
}
#else
inline void WriteEightDigits(char* p, std::uint32_t n) {
  WriteFourDigits(p, n / 10000);
  WriteFourDigits(p + 4, n % 10000);
}
#endif

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
// included, written at `p`, in parts of eight whose divisions by constants
// overlap.
[[gnu::always_inline]] inline char* WriteFixedDigits(char* p, std::uint64_t n, int count) {
  constexpr int kPart = 8;
  constexpr std::uint64_t kPartScale = 100'000'000;
  if (count <= kPart) return WriteShortDigits(p, static_cast<std::uint32_t>(n), count);
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
inline constexpr int kTableExponent = 99;
inline constexpr auto kExponentTexts = [] {
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

// "E", the exponent's sign, two digits; |exponent| at most kTableExponent,
// as it always is for a value that RoundToSignificantDigits rounds.
inline char* WriteTableExponent(char* p, int exponent) {
  std::memcpy(p, &kExponentTexts[static_cast<std::size_t>(4 * (exponent + kTableExponent))], 4);
  return p + 4;
}

// "-" before a negative value (not before -0), without a branch:
// coordinates change sign at random.
inline char* WriteMinusIfNegative(char* p, double value) {
  *p = '-';
  return p + (value < 0 ? 1 : 0);
}

// Blanks over the `width` characters at `p`: two overlapping stores for
// the widths of record fields, where a call of memset would cost more.
[[gnu::always_inline]] inline void FillBlanks(char* p, int width) {
  static constexpr char kBlanks[] = "                ";
  constexpr int kStore = sizeof kBlanks - 1;
  if (width >= kStore && width <= 2 * kStore) {
    std::memcpy(p, kBlanks, kStore);
    std::memcpy(p + width - kStore, kBlanks, kStore);
  } else if (width >= kStore / 2 && width < kStore) {
    std::memcpy(p, kBlanks, kStore / 2);
    std::memcpy(p + width - kStore / 2, kBlanks, kStore / 2);
  } else {
    std::memset(p, ' ', static_cast<std::size_t>(width > 0 ? width : 0));
  }
}

// The digits of n written backwards so that they end at `end`; their start.
inline char* WriteDigitsEndingAt(char* end, std::uint64_t n) {
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

// n < 10^4 without leading zeros, its digits straight from the table of pairs.
inline char* WriteSmallInteger(char* p, std::uint32_t n) {
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

// RoundToSignificantDigits into `d`, false where it gives no digits; 0 (a
// local coordinate on a face, often enough) takes the digits 0 and
// `zeroExponent`, written in place as well, at the digit counts the
// rounding serves.
[[gnu::always_inline]] inline bool RoundForField(double magnitude, int digits, int zeroExponent,
                                                 SignificantDigits& d) {
  d = RoundToSignificantDigits(magnitude, digits);
  if (d) return true;
  d.exponent = zeroExponent;
  return magnitude == 0 && digits <= kMostSignificantDigits;
}

// The in-place forms of the writers below: where the value takes the common
// form, its text at `p` and its end; otherwise nothing written and null.
[[gnu::always_inline]] inline char* TryWriteScientific(char* p, double value, int decimals) {
  SignificantDigits d;
  if (!RoundForField(std::fabs(value), decimals + 1, 0, d)) return nullptr;
  p = WriteMinusIfNegative(p, value);
  // All digits one place on, then the first moved before the point:
  // "1.E+02" with no decimals.
  char* const end = WriteFixedDigits(p + 1, d.digits, decimals + 1);
  p[0] = p[1];
  p[1] = '.';
  return WriteTableExponent(end, d.exponent);
}

// Numbers below 10^8, as cell indices and particle numbers are.
[[gnu::always_inline]] inline char* TryWriteIntegerMask(char* p, std::int64_t value) {
  constexpr std::uint32_t kSmallBelow = 10'000;
  constexpr std::int64_t kFastBelow = std::int64_t{kSmallBelow} * kSmallBelow;
  if (value < 0 || value >= kFastBelow) return nullptr;
  const auto n = static_cast<std::uint32_t>(value);
  if (n < kSmallBelow) return WriteSmallInteger(p, n);
  p = WriteSmallInteger(p, n / kSmallBelow);
  WriteFourDigits(p, n % kSmallBelow);
  return p + 4;
}

// Non-negative values that fit the width, as nearly all do.
[[gnu::always_inline]] inline char* TryWriteFortranInteger(char* p, std::int64_t value, int width) {
  if (value < 0 || width > kMostSignificantDigits ||
      static_cast<std::uint64_t>(value) >= kPowersOfTen[static_cast<std::size_t>(width)])
    return nullptr;
  FillBlanks(p, width);
  WriteDigitsEndingAt(p + width, static_cast<std::uint64_t>(value));
  return p + width;
}

// Rounded digits that fit the width with a blank or sign before them.
[[gnu::always_inline]] inline char* TryWriteFortranExponent(char* p, double value, int width, int digits) {
  constexpr int kExponentText = 4;  // "E+dd"
  const int unsignedLength = 2 + digits + kExponentText;
  // d.ddd...E+X is 0.dddd...E+(X+1); 0 is 0.000...E+00
  SignificantDigits d;
  if (width <= unsignedLength || !RoundForField(std::fabs(value), digits, -1, d)) return nullptr;
  FillBlanks(p, width);
  char* const number = p + width - unsignedLength;
  number[-1] = value < 0 ? '-' : ' ';
  number[0] = '0';
  number[1] = '.';
  WriteTableExponent(WriteFixedDigits(number + 2, d.digits, digits), d.exponent + 1);
  return p + width;
}

}  // namespace number_fields_detail

// The characters of the writing forms of number_format.h, each the same
// as the form it names.
[[gnu::always_inline]] inline char* WriteScientificField(char* p, double value, int decimals) {
  if (char* end = number_fields_detail::TryWriteScientific(p, value, decimals)) return end;
  return WriteScientificText(p, value, decimals);
}

[[gnu::always_inline]] inline char* WriteIntegerField(char* p, std::int64_t value) {
  if (char* end = number_fields_detail::TryWriteIntegerMask(p, value)) return end;
  return WriteIntegerMaskText(p, value);
}

[[gnu::always_inline]] inline char* WriteFortranIntegerField(char* p, std::int64_t value, int width) {
  if (char* end = number_fields_detail::TryWriteFortranInteger(p, value, width)) return end;
  return WriteFortranInteger(p, value, width);
}

[[gnu::always_inline]] inline char* WriteFortranExponentField(char* p, double value, int width, int digits) {
  if (char* end = number_fields_detail::TryWriteFortranExponent(p, value, width, digits)) return end;
  return WriteFortranExponent(p, value, width, digits);
}

}  // namespace kestra
