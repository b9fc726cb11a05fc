// Random access to a little-endian binary file of the model file set; every
// read is checked against the file size.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace kestra {

class RandomAccessFile {
 public:
  // False when the file cannot be opened.
  bool Open(const std::string& path);
  std::uint64_t Size() const { return size_; }
  // False (and `out` untouched) when the bytes lie beyond the end of the file.
  bool ReadBytes(std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out);
  std::optional<std::int16_t> ReadInt16(std::uint64_t offset);
  std::optional<float> ReadFloat(std::uint64_t offset);
  // `count` floats from `offset`; false when they do not all lie in the file.
  bool ReadFloats(std::uint64_t offset, std::size_t count, std::vector<float>& out);

 private:
  std::ifstream file_;
  std::uint64_t size_ = 0;
};

// Little-endian fields of a byte buffer.
std::int16_t Int16At(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::int32_t Int32At(const std::vector<std::uint8_t>& bytes, std::size_t offset);
float FloatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset);
void PutInt16(std::vector<std::uint8_t>& bytes, std::int16_t value);
void PutInt32(std::vector<std::uint8_t>& bytes, std::int32_t value);
void PutFloat(std::vector<std::uint8_t>& bytes, float value);

}  // namespace kestra
