#include "modelset/layer_files.h"

#include <algorithm>
#include <optional>

#include "core/atomic_file.h"
#include "core/binary_values.h"
#include "core/byte_order.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "modelset/input_messages.h"

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
  return Int32At(reinterpret_cast<const std::byte*>(layer.bytes.data()));
}

void SetLayerColor(LayerProperty& layer, std::int32_t color) {
  std::string bytes;
  AppendInt32(bytes, color);
  std::copy(bytes.begin(), bytes.end(), layer.bytes.begin());
}

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
  BinaryFile binary;
  if (!binary.Open(path)) {
    file = DefaultLayerProperties(nlay);
    std::string unwritten;  // the defaults serve all the same
    return WriteLayerProperties(path, file, unwritten);
  }
  std::vector<std::byte> bytes;
  if (!ReadBytesAt(binary, 0, kHeaderBytes + kRecordBytes * nlay, bytes)) {
    file = DefaultLayerProperties(nlay);
    return false;
  }
  LayerPropertyFile read;
  read.headerValue = Int16At(bytes.data());
  read.layers.assign(nlay + 1, LayerProperty{});
  for (int k = 1; k <= nlay; ++k)
    std::transform(bytes.begin() + kHeaderBytes + kRecordBytes * (k - 1), bytes.begin() + kHeaderBytes + kRecordBytes * k,
                   read.layers[k].bytes.begin(), [](std::byte b) { return static_cast<std::uint8_t>(b); });
  file = std::move(read);
  return true;
}

bool WriteLayerProperties(const std::string& path, const LayerPropertyFile& file, std::string& error) {
  std::string bytes;
  AppendInt16(bytes, file.headerValue);
  bytes.resize(kHeaderBytes, '\0');
  for (std::size_t k = 1; k < file.layers.size(); ++k)
    bytes.append(file.layers[k].bytes.begin(), file.layers[k].bytes.end());
  return WriteFileAtomically(path, bytes, error);
}

}  // namespace kestra
