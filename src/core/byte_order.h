// Little-endian numbers as MODFLOW's result files hold them, independent of
// the host's byte order.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace kestra {

inline constexpr std::int64_t kInt32Bytes = 4;

inline std::uint64_t LittleEndianUnsigned(const std::byte* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
  return value;
}

inline std::int32_t Int32At(const std::byte* bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndianUnsigned(bytes, 4)));
}

inline float Float32At(const std::byte* bytes) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(LittleEndianUnsigned(bytes, 4)));
}

inline double Float64At(const std::byte* bytes) { return std::bit_cast<double>(LittleEndianUnsigned(bytes, 8)); }

// A real of 4 or 8 bytes, as the precision of the MODFLOW build wrote it.
inline double RealAt(const std::byte* bytes, int realBytes) {
  return realBytes == 8 ? Float64At(bytes) : Float32At(bytes);
}

inline void AppendLittleEndian(std::string& out, std::uint64_t value, int count) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void AppendInt32(std::string& out, std::int32_t value) {
  AppendLittleEndian(out, static_cast<std::uint32_t>(value), 4);
}

inline void AppendReal(std::string& out, double value, int realBytes) {
  if (realBytes == 8)
    AppendLittleEndian(out, std::bit_cast<std::uint64_t>(value), 8);
  else
    AppendLittleEndian(out, std::bit_cast<std::uint32_t>(static_cast<float>(value)), 4);
}

// True when the host keeps floats in the file's byte order, so 4-byte reals
// can be copied as they are.
inline constexpr bool kHostIsLittleEndian = std::endian::native == std::endian::little;

}  // namespace kestra
