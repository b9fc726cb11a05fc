#include "settings/layer_porosity.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <optional>

#include "core/number_format.h"
#include "core/text_reader.h"
#include "settings/ini_file.h"

namespace kestra {
namespace {

constexpr const char* kPorositySection = "POROSITY";
constexpr std::string_view kLayerKey = "Layer";

// The layer number of a "LayerN" key in any letter case.
std::optional<int> LayerOfKey(const std::string& key) {
  if (key.size() <= kLayerKey.size()) return std::nullopt;
  for (std::size_t n = 0; n < kLayerKey.size(); ++n)
    if (std::tolower(static_cast<unsigned char>(key[n])) != std::tolower(static_cast<unsigned char>(kLayerKey[n])))
      return std::nullopt;
  int layer = 0;
  const char* end = key.data() + key.size();
  const auto [stop, error] = std::from_chars(key.data() + kLayerKey.size(), end, layer);
  if (error != std::errc{} || stop != end || layer < 1) return std::nullopt;
  return layer;
}

// Why an entry of the section sets no porosity in a model of `nlay`
// layers; empty when it sets one.
std::string IgnoredBecause(const std::string& key, const std::string& value, int nlay) {
  const auto layer = LayerOfKey(key);
  if (!layer) return "not a key Layer1, Layer2, ...";
  const auto number = ParseNumber(value);
  if (!number || !IsValidPorosity(*number)) return "not a porosity above 0 and at most 1";
  if (*layer > nlay) return "the model has " + std::to_string(nlay) + (nlay == 1 ? " layer" : " layers");
  return {};
}

}  // namespace

float LayerPorosity::Of(int layer) const {
  const auto found = byLayer.find(layer);
  return found != byLayer.end() ? found->second : everyLayer;
}

bool IsValidPorosity(double value) { return value > 0 && value <= 1; }

LayerPorosity Overridden(const LayerPorosity& base, const LayerPorosity& over) {
  if (over.everyLayer > 0) return over;
  LayerPorosity combined = base;
  for (const auto& [layer, porosity] : over.byLayer) combined.byLayer[layer] = porosity;
  return combined;
}

LayerPorosity ReadLayerPorosity(const std::string& path) {
  LayerPorosity porosity;
  for (const auto& [key, value] : IniFile::Load(path).Entries(kPorositySection))
    if (IgnoredBecause(key, value, std::numeric_limits<int>::max()).empty())
      porosity.byLayer[*LayerOfKey(key)] = static_cast<float>(*ParseNumber(value));
  return porosity;
}

std::string IgnoredLayerPorosityText(const std::string& path, int nlay) {
  std::string ignored;
  for (const auto& [key, value] : IniFile::Load(path).Entries(kPorositySection))
    if (const std::string reason = IgnoredBecause(key, value, nlay); !reason.empty())
      ignored += (ignored.empty() ? "" : "; ") + key + "=" + value + " (" + reason + ")";
  if (ignored.empty()) return {};
  return "These entries of the POROSITY section of " + path + " are ignored: " + ignored + ".";
}

bool WriteLayerPorosity(const std::string& path, const LayerPorosity& porosity, UserInterface& ui) {
  return UpdateSettingsFile(
      path,
      [&porosity](IniFile& file) {
        for (const auto& [layer, value] : porosity.byLayer)
          file.Set(kPorositySection, std::string(kLayerKey) + TrimmedNumberText(layer), NumberText(value));
      },
      ui);
}

bool ApplyLayerPorosity(const LayerPorosity& porosity, CellArray<float>& target) {
  const GridShape shape = target.shape;
  bool layerLeft = false;
  for (int k = 1; k <= shape.nlay; ++k) {
    const float value = porosity.Of(k);
    if (value <= 0) {
      layerLeft = true;
      continue;
    }
    for (int i = 1; i <= shape.nrow; ++i)
      for (int j = 1; j <= shape.ncol; ++j) target(j, i, k) = value;
  }
  return layerLeft;
}

}  // namespace kestra
