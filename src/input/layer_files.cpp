#include "input/layer_files.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>

#include "core/number_format.h"
#include "input/random_access_file.h"
#include "input/input_messages.h"
#include "input/text_reader.h"

namespace kestra {
namespace {

constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kRecordBytes = 24;
constexpr int kColorComponentMax = 255;

}  // namespace

bool ReadLayerTypes(const std::string& path, int nlay, std::vector<std::int16_t>& LAYCON, UserInterface& ui) {
  LAYCON.assign(nlay + 1, 0);
  std::optional<TextReader> reader;
  if (!TextReader::FromFile(path, reader)) {
    ComplainFileMissing(ui, path, kErrorTitle);
    return false;
  }
  std::int16_t listed = 0;
  reader->NextInt16(listed);
  for (int k = 1; k <= std::min<int>(listed, nlay); ++k) {
    std::int16_t code = 0;
    if (!reader->NextInt16(code)) break;
    LAYCON[k] = code >= 4 ? static_cast<std::int16_t>(code - 4) : code;
  }
  return true;
}

std::int32_t LayerColor(const LayerProperty& layer) {
  std::int32_t color = 0;
  std::memcpy(&color, layer.bytes.data(), sizeof color);
  return color;
}

void SetLayerColor(LayerProperty& layer, std::int32_t color) { std::memcpy(layer.bytes.data(), &color, sizeof color); }

LayerPropertyFile DefaultLayerProperties(int nlay) {
  LayerPropertyFile file;
  file.layers.assign(nlay + 1, LayerProperty{});
  const int shade = RoundToInt32(255.0 / nlay).value_or(kColorComponentMax);
  // round(255 / nlay) * nlay exceeds 255 for some layer counts; a blue above
  // 255 would spill into the next byte of the colour.
  for (int k = 1; k <= nlay; ++k) SetLayerColor(file.layers[k], 65536 * std::min(k * shade, kColorComponentMax));
  return file;
}

bool ReadLayerProperties(const std::string& path, int nlay, LayerPropertyFile& file) {
  RandomAccessFile binary;
  if (!binary.Open(path)) {
    file = DefaultLayerProperties(nlay);
    return WriteLayerProperties(path, file);
  }
  std::vector<std::uint8_t> bytes;
  if (!binary.ReadBytes(0, kHeaderBytes + kRecordBytes * nlay, bytes)) {
    file = DefaultLayerProperties(nlay);
    return false;
  }
  LayerPropertyFile read;
  read.headerValue = Int16At(bytes, 0);
  read.layers.assign(nlay + 1, LayerProperty{});
  for (int k = 1; k <= nlay; ++k)
    std::copy_n(bytes.begin() + kHeaderBytes + kRecordBytes * (k - 1), kRecordBytes, read.layers[k].bytes.begin());
  file = std::move(read);
  return true;
}

bool WriteLayerProperties(const std::string& path, const LayerPropertyFile& file) {
  std::vector<std::uint8_t> bytes;
  PutInt16(bytes, file.headerValue);
  bytes.resize(kHeaderBytes, 0);
  for (std::size_t k = 1; k < file.layers.size(); ++k)
    bytes.insert(bytes.end(), file.layers[k].bytes.begin(), file.layers[k].bytes.end());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace kestra
