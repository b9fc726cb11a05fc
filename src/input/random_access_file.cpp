#include "input/random_access_file.h"

#include <bit>

namespace kestra {

bool RandomAccessFile::Open(const std::string& path) {
  file_.open(path, std::ios::binary);
  if (!file_) return false;
  file_.seekg(0, std::ios::end);
  size_ = static_cast<std::uint64_t>(file_.tellg());
  return true;
}

bool RandomAccessFile::ReadBytes(std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out) {
  if (offset > size_ || count > size_ - offset) return false;
  std::vector<std::uint8_t> bytes(count);
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(offset));
  file_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
  if (!file_) return false;
  out = std::move(bytes);
  return true;
}

std::optional<std::int16_t> RandomAccessFile::ReadInt16(std::uint64_t offset) {
  std::vector<std::uint8_t> bytes;
  if (!ReadBytes(offset, 2, bytes)) return std::nullopt;
  return Int16At(bytes, 0);
}

std::optional<float> RandomAccessFile::ReadFloat(std::uint64_t offset) {
  std::vector<std::uint8_t> bytes;
  if (!ReadBytes(offset, 4, bytes)) return std::nullopt;
  return FloatAt(bytes, 0);
}

bool RandomAccessFile::ReadFloats(std::uint64_t offset, std::size_t count, std::vector<float>& out) {
  std::vector<std::uint8_t> bytes;
  if (count > size_ / 4 + 1 || !ReadBytes(offset, count * 4, bytes)) return false;
  out.resize(count);
  for (std::size_t n = 0; n < count; ++n) out[n] = FloatAt(bytes, n * 4);
  return true;
}

std::int16_t Int16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::int32_t Int32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int n = 3; n >= 0; --n) value = (value << 8) | bytes[offset + n];
  return static_cast<std::int32_t>(value);
}

float FloatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(Int32At(bytes, offset)));
}

void PutInt16(std::vector<std::uint8_t>& bytes, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  bytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
}

void PutInt32(std::vector<std::uint8_t>& bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int n = 0; n < 4; ++n) bytes.push_back(static_cast<std::uint8_t>((bits >> (8 * n)) & 0xFF));
}

void PutFloat(std::vector<std::uint8_t>& bytes, float value) {
  PutInt32(bytes, static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value)));
}

}  // namespace kestra
