#include "core/binary_values.h"

#include "core/byte_order.h"

namespace kestra {

std::int16_t Int16At(const std::byte* bytes) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(LittleEndianUnsigned(bytes, 2)));
}

bool ReadBytesAt(BinaryFile& file, std::int64_t offset, std::size_t count, std::vector<std::byte>& out) {
  if (!file.Holds(offset, static_cast<std::int64_t>(count))) return false;
  std::vector<std::byte> bytes(count);
  if (!file.ReadAt(offset, bytes)) return false;
  out = std::move(bytes);
  return true;
}

std::optional<std::int16_t> ReadInt16At(BinaryFile& file, std::int64_t offset) {
  std::vector<std::byte> bytes;
  if (!ReadBytesAt(file, offset, 2, bytes)) return std::nullopt;
  return Int16At(bytes.data());
}

std::optional<float> ReadFloatAt(BinaryFile& file, std::int64_t offset) {
  std::vector<std::byte> bytes;
  if (!ReadBytesAt(file, offset, 4, bytes)) return std::nullopt;
  return Float32At(bytes.data());
}

bool ReadFloatsAt(BinaryFile& file, std::int64_t offset, std::size_t count, std::vector<float>& out) {
  std::vector<std::byte> bytes;
  if (count > static_cast<std::size_t>(file.Size()) || !ReadBytesAt(file, offset, count * 4, bytes)) return false;
  out.resize(count);
  for (std::size_t n = 0; n < count; ++n) out[n] = Float32At(bytes.data() + 4 * n);
  return true;
}

void AppendInt16(std::string& out, std::int16_t value) { AppendLittleEndian(out, static_cast<std::uint16_t>(value), 2); }

void AppendFloat(std::string& out, float value) { AppendReal(out, value, 4); }

}  // namespace kestra
