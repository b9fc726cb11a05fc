// The layer type file (".L") and the layer property file (".lyp").
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "core/user_interface.h"

namespace kestra {

// Reads the layer type codes into LAYCON(1..nlay), which is sized 0..nlay;
// a code of 4 or more is reduced by 4 once, codes the file does not hold are
// 0. False, with a message titled "Error", when the file is missing (LAYCON
// is then all 0).
bool ReadLayerTypes(const std::string& path, int nlay, std::vector<std::int16_t>& LAYCON, UserInterface& ui);

// The layer property file: a 12-byte header and one 24-byte record per layer,
// the first four bytes of which are the layer colour.
struct LayerPropertyFile {
  std::int16_t headerValue = 0;
  std::vector<LayerProperty> layers;  // 0..NLAY, entry 0 unused
};

// The file created for a model without one: header 0, layer k coloured
// RGB(0, 0, min(255, k * round(255 / nlay))).
LayerPropertyFile DefaultLayerProperties(int nlay);

// Reads `path` for `nlay` layers. A missing file is created with the default
// properties. False when the file is too short or cannot be created; `file`
// then holds the defaults.
bool ReadLayerProperties(const std::string& path, int nlay, LayerPropertyFile& file);

// Replaces the file whole (core/atomic_file.h); false, with the reason in
// `error`, when it could not be written.
bool WriteLayerProperties(const std::string& path, const LayerPropertyFile& file, std::string& error);

std::int32_t LayerColor(const LayerProperty& layer);
void SetLayerColor(LayerProperty& layer, std::int32_t color);

}  // namespace kestra
