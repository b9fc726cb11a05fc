// Contour files: read, written back and read again (the second writing must
// give the bytes of the first), then every level drawn over a small model on
// the screen and into a DXF plot, in both label styles.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "fuzz_support.h"
#include "graphics/contour_table.h"
#include "graphics/contours.h"

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string path = fuzz::WriteInput("model.ctr", data, size);
  ContourTable table;
  std::string problem;
  if (!ReadContourTable(path, table, problem)) return 0;

  const std::string once = fuzz::WriteInput("once.ctr", nullptr, 0);
  const std::string twice = fuzz::WriteInput("twice.ctr", nullptr, 0);
  ContourTable again;
  if (!WriteContourTable(once, table, problem) || !ReadContourTable(once, again, problem) ||
      !WriteContourTable(twice, again, problem) ||
      FileBytes(once) != FileBytes(twice))
    std::abort();

  fuzz::DrawingScene scene(fuzz::WriteInput("contours.dxf", nullptr, 0));
  fuzz::SilentInterface ui;
  BusyFlags busy;
  Settings settings;
  settings.contourDisplay = kOn;
  for (const int style : {0, 1}) {
    settings.labelStyle = static_cast<std::int16_t>(style);
    settings.labelDecimals = static_cast<std::int16_t>(2 + style);
    DrawContours(scene.context, ContourInputs(settings, table, scene.font, ui, busy), scene.model.HEAD);
  }
  scene.FinishPlot();
  return 0;
}
