// DXF base maps: read, then drawn over the plan of a small model, shifted
// and scaled, with texts in the program's stroke font.
#include <string_view>

#include "export/dxf_map_file.h"
#include "export/dxf_maps.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  DxfMapContent content;
  ReadDxfMap(std::string_view(reinterpret_cast<const char*>(data), size), content);
  fuzz::DrawingScene scene;
  fuzz::SilentInterface ui;
  Settings settings;
  DxfMapCache cache;
  const MapInputs inputs{settings, ui, scene.font, cache};
  DrawDxfMap(scene.context, inputs, content, {"fuzz.dxf", 0, 0, 1, kOn, kDefaultMapColour});
  DrawDxfMap(scene.context, inputs, content, {"fuzz.dxf", -250, 1e4f, 0.05f, kOn, RgbColour(200, 0, 0)});
  return 0;
}
