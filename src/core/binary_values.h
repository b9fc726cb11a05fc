// Checked little-endian reads of the binary files of a model file set (record
// directory, data files, layer property and contour files) and their writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/binary_file.h"

namespace kestra {

std::int16_t Int16At(const std::byte* bytes);

// Empty when the value does not lie inside the file.
std::optional<std::int16_t> ReadInt16At(BinaryFile& file, std::int64_t offset);
std::optional<float> ReadFloatAt(BinaryFile& file, std::int64_t offset);

// `count` bytes or floats from `offset`; false (and `out` untouched) when they
// do not all lie inside the file.
bool ReadBytesAt(BinaryFile& file, std::int64_t offset, std::size_t count, std::vector<std::byte>& out);
bool ReadFloatsAt(BinaryFile& file, std::int64_t offset, std::size_t count, std::vector<float>& out);

void AppendInt16(std::string& out, std::int16_t value);
void AppendFloat(std::string& out, float value);

}  // namespace kestra
