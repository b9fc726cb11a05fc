// Tables that never change: the data-file extensions of the model file set
// and the colour index table of the DXF plots.
#pragma once

#include <array>
#include <string>

namespace kestra {

constexpr int kDataTypeCount = 201;  // data types 0..200

// Extension (with its point) of each data type; empty for unused types.
using DataFileExtensionTable = std::array<std::string, kDataTypeCount>;
const DataFileExtensionTable& DataFileExtensions();

struct RgbColor {
  float red = 0;
  float green = 0;
  float blue = 0;
};

constexpr int kColorIndexCount = 255;  // DXF colour indices 1..255

// Entry 0 is unused; entries 1..255 hold R, G, B in 0..255.
using ColorIndexTableType = std::array<RgbColor, kColorIndexCount + 1>;
const ColorIndexTableType& ColorIndexTable();

}  // namespace kestra
