// The command line of kestra-cli plot, read and checked before the model opens.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/plot_overlays.h"
#include "graphics/colour_flood.h"
#include "graphics/view_layout.h"
#include "export/figure_page.h"

namespace kestra::cli {

enum class PlotFileFormat { Dxf, Hpgl, Png, Tiff, Bmp, Svg, Pdf };

// True for the formats drawn as a figure (title, axes, legend) rather than
// written element by element into a plot file.
inline bool IsPictureFormat(PlotFileFormat format) {
  return format != PlotFileFormat::Dxf && format != PlotFileFormat::Hpgl;
}

// What --contours asks for, over the model's settings.
enum class ContourChoice { Head, Drawdown, Off };

// --levels MIN,MAX,STEP.
struct LevelRange {
  float minimum = 0;
  float maximum = 0;
  float interval = 1;
};

struct PlotOptions {
  std::string modelPath;
  std::string outPath;
  PlotFileFormat format = PlotFileFormat::Dxf;
  std::optional<int> layer;
  std::optional<int> row;
  std::optional<int> column;
  std::optional<ZoomWindow> zoom;
  std::optional<ContourChoice> contours;
  std::optional<LevelRange> levels;
  std::optional<float> exaggeration;
  int width = 1200;  // pixels of the drawing space and of a raster figure
  int height = 900;
  int dpi = 150;                   // of a raster figure; with the size, the page of a vector one
  Paper paper = Paper::Fitted;     // a PDF's sheet
  bool landscape = false;
  std::string title;               // replaces the figure's own title
  std::vector<std::string> notes;  // lines under the figure
  std::optional<FloodQuantity> flood;
  bool help = false;
  OverlayOptions overlays;
};

// Reads the arguments into `options`; false, with the reason on `err`, for
// an unknown or incomplete option, a malformed value, or a missing model or
// output path (not needed with --help).
bool ReadPlotOptions(const Arguments& args, PlotOptions& options, std::ostream& err);

void PrintPlotUsage(std::ostream& out);

// One line on `err` that says what stopped the plot.
void ReportPlotProblem(std::ostream& err, const std::string& reason);

}  // namespace kestra::cli
