// DXF base maps: read, then drawn over the plan of a small model, shifted
// and scaled, with texts in the program's stroke font, into blank and raster
// pictures.
#include <string_view>

#include "export/dxf_map_file.h"
#include "export/dxf_maps.h"
#include "fuzz_support.h"
#include "render/raster_picture.h"

namespace {

using namespace kestra;

// Pixels of the raster plan: the scene's 120 by 100 units at one pixel each.
constexpr int kRasterWidth = 120;
constexpr int kRasterHeight = 100;

// As the settings place a map: unmoved, moved and shrunk, and thrown far out.
void DrawPlacements(PlotContext& context, const MapInputs& inputs, const DxfMapContent& content) {
  DrawDxfMap(context, inputs, content, {"fuzz.dxf", 0, 0, 1, kOn, kDefaultMapColour});
  DrawDxfMap(context, inputs, content, {"fuzz.dxf", -250, 1e4f, 0.05f, kOn, RgbColour(200, 0, 0)});
  DrawDxfMap(context, inputs, content, {"fuzz.dxf", 5e10f, -1e20f, 1e9f, kOn, RgbColour(0, 0, 200)});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DxfMapContent content;
  ReadDxfMap(std::string_view(reinterpret_cast<const char*>(data), size), content);
  fuzz::DrawingScene scene;
  fuzz::SilentInterface ui;
  Settings settings;
  DxfMapCache cache;
  const MapInputs inputs{settings, ui, scene.font, cache};
  DrawPlacements(scene.context, inputs, content);
  // The pixels the window and PNG plots show.
  RasterPicture plan, row, column;
  plan.SetGeometry(kRasterWidth, kRasterHeight, {0, 0, 120, 100});
  PlotContext raster{plan, row, column, scene.device, scene.model, scene.layout};
  DrawPlacements(raster, inputs, content);
  return 0;
}
