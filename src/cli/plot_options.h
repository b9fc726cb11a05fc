// The command line of kestra-cli plot, read and checked before the model opens.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/plot_overlays.h"
#include "graphics/view_layout.h"

namespace kestra::cli {

enum class PlotFileFormat { Dxf, Hpgl, Png, Bmp, Svg, Pdf };

// True for the formats written from the pictures' pixels.
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
  int width = 1200;  // pixels of the drawing space
  int height = 900;
  std::string title;    // above a picture
  bool legend = false;  // ticks, scale bar and legend around a picture
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
