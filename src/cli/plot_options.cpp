#include "cli/plot_options.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <vector>

#include "cli/open_options.h"
#include "cli/tracking_options.h"
#include "core/quoted_text.h"
#include "core/text_reader.h"
#include "export/figure_page.h"
#include "graphics/contour_table_edits.h"
#include "graphics/view_arrangement.h"
#include "settings/environment_entries.h"

namespace kestra::cli {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::optional<PlotFileFormat> FormatNamed(const std::string& name) {
  const std::string lower = Lower(name);
  if (lower == "dxf") return PlotFileFormat::Dxf;
  if (lower == "hpgl" || lower == "hpg" || lower == "plt") return PlotFileFormat::Hpgl;
  if (lower == "png") return PlotFileFormat::Png;
  if (lower == "tif" || lower == "tiff") return PlotFileFormat::Tiff;
  if (lower == "bmp") return PlotFileFormat::Bmp;
  if (lower == "svg") return PlotFileFormat::Svg;
  if (lower == "pdf") return PlotFileFormat::Pdf;
  return std::nullopt;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

std::optional<int> PositiveInteger(const std::string& text, int largest) {
  const auto value = ParseFiniteNumber(text);
  if (!value || *value != std::floor(*value) || *value < 1 || *value > largest) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<ZoomWindow> ZoomNamed(const std::string& text) {
  const std::vector<std::string> parts = SplitAt(text, ',');
  if (parts.size() != 4) return std::nullopt;
  float corner[4];
  for (int n = 0; n < 4; ++n) {
    const auto value = ParseFiniteNumber(parts[n]);
    if (!value) return std::nullopt;
    corner[n] = static_cast<float>(*value);
  }
  if (!(corner[0] < corner[2]) || !(corner[1] < corner[3])) return std::nullopt;
  return ZoomWindowOf(corner[0], corner[1], corner[2], corner[3]);
}

std::optional<ContourChoice> ContoursNamed(const std::string& name) {
  const std::string lower = Lower(name);
  if (lower == "head" || lower == "heads") return ContourChoice::Head;
  if (lower == "drawdown" || lower == "drawdowns") return ContourChoice::Drawdown;
  if (lower == "off") return ContourChoice::Off;
  return std::nullopt;
}

std::optional<LevelRange> LevelsNamed(const std::string& text) {
  const std::vector<std::string> parts = SplitAt(text, ',');
  if (parts.size() != 3) return std::nullopt;
  float value[3];
  for (int n = 0; n < 3; ++n) {
    const auto number = ParseFiniteNumber(parts[n]);
    if (!number) return std::nullopt;
    value[n] = static_cast<float>(*number);
  }
  if (!LevelCountOfRange(value[0], value[1], value[2])) return std::nullopt;
  return LevelRange{value[0], value[1], value[2]};
}

std::optional<float> ExaggerationNamed(const std::string& text) {
  const auto value = ParseFiniteNumber(text);
  if (!value || *value < kLeastExaggeration || *value > kMostExaggeration) return std::nullopt;
  return static_cast<float>(*value);
}

std::optional<FloodQuantity> FloodNamed(const std::string& name) {
  const std::string lower = Lower(name);
  if (lower == "head") return FloodQuantity::Head;
  if (lower == "drawdown") return FloodQuantity::Drawdown;
  if (lower == "velocity") return FloodQuantity::Velocity;
  return std::nullopt;
}

std::optional<Paper> PaperNamed(const std::string& name) {
  const std::string lower = Lower(name);
  if (lower == "a4") return Paper::A4;
  if (lower == "a3") return Paper::A3;
  if (lower == "letter") return Paper::Letter;
  return std::nullopt;
}

bool ReadSize(const std::string& text, PlotOptions& options) {
  const std::vector<std::string> parts = SplitAt(Lower(text), 'x');
  if (parts.size() != 2) return false;
  const auto width = PositiveInteger(parts[0], kMostFigurePixels);
  const auto height = PositiveInteger(parts[1], kMostFigurePixels);
  if (!width || !height) return false;
  options.width = *width;
  options.height = *height;
  return true;
}

// What a value of `option` must be, where "bad value" alone would leave the
// user guessing; empty for the others.
std::string ValueRule(const std::string& option) {
  if (option == "--size") return ": WxH, each side 1 to " + std::to_string(kMostFigurePixels) + " pixels";
  if (option == "--dpi") return ": 1 to " + std::to_string(kMostFigureDpi);
  if (option == "--flood") return ": head, drawdown or velocity";
  if (option == "--paper") return ": A4, A3 or letter";
  return {};
}

// Applies one option with its value; false when the value does not fit.
bool ReadOptionValue(const std::string& option, const std::string& value, PlotOptions& options,
                     std::optional<PlotFileFormat>& format) {
  // Layer, row and column are checked against the grid once the model is open.
  constexpr int kAnyCount = 1 << 30;
  if (option == "--out") {
    options.outPath = value;
    return !value.empty();
  }
  if (option == "--format") return (format = FormatNamed(value)).has_value();
  if (option == "--layer") return (options.layer = PositiveInteger(value, kAnyCount)).has_value();
  if (option == "--row") return (options.row = PositiveInteger(value, kAnyCount)).has_value();
  if (option == "--column") return (options.column = PositiveInteger(value, kAnyCount)).has_value();
  if (option == "--zoom") return (options.zoom = ZoomNamed(value)).has_value();
  if (option == "--title") return !(options.title = value).empty();
  if (option == "--note") {
    options.notes.push_back(value);
    return true;
  }
  if (option == "--flood") return (options.flood = FloodNamed(value)).has_value();
  if (option == "--paper") {
    const auto paper = PaperNamed(value);
    if (paper) options.paper = *paper;
    return paper.has_value();
  }
  if (option == "--dpi") {
    const auto dpi = PositiveInteger(value, kMostFigureDpi);
    if (dpi) options.dpi = *dpi;
    return dpi.has_value();
  }
  if (option == "--contours") return (options.contours = ContoursNamed(value)).has_value();
  if (option == "--levels") return (options.levels = LevelsNamed(value)).has_value();
  if (option == "--exaggeration") return (options.exaggeration = ExaggerationNamed(value)).has_value();
  return ReadSize(value, options);
}

bool IsValueOption(const std::string& word) {
  for (const char* option : {"--out", "--format", "--layer", "--row", "--column", "--zoom", "--size", "--title",
                             "--note", "--flood", "--paper", "--dpi", "--contours", "--levels", "--exaggeration"})
    if (word == option) return true;
  return false;
}

bool Refuse(std::ostream& err, const std::string& reason) {
  ReportPlotProblem(err, reason);
  return false;
}

}  // namespace

bool ReadPlotOptions(const Arguments& args, PlotOptions& options, std::ostream& err) {
  std::optional<PlotFileFormat> format;
  for (std::size_t n = 0; n < args.size(); ++n) {
    const std::string& word = args[n];
    if (word == "--help" || word == "-h") {
      options.help = true;
      return true;
    }
    // Figures always carry their axes and legend; the switch that asked
    // for them is still taken from older scripts.
    if (word == "--legend") continue;
    if (word == "--landscape") {
      options.landscape = true;
      continue;
    }
    if (IsOverlayOption(word)) {
      if (n + 1 >= args.size()) return Refuse(err, word + " needs a value");
      if (!ReadOverlayOption(word, args[n + 1], options.overlays, err)) return false;
      ++n;
    } else if (IsValueOption(word)) {
      if (n + 1 >= args.size()) return Refuse(err, word + " needs a value");
      if (!ReadOptionValue(word, args[n + 1], options, format))
        return Refuse(err, "bad value " + SingleQuotedText(args[n + 1]) + " for " + word + ValueRule(word));
      ++n;
    } else if (word.starts_with("-")) {
      return Refuse(err, "unknown option " + SingleQuotedText(word));
    } else if (options.modelPath.empty()) {
      options.modelPath = word;
    } else {
      return Refuse(err, "more than one model given ('" + options.modelPath + "', '" + word + "')");
    }
  }
  if (options.modelPath.empty()) return Refuse(err, "no model given");
  if (options.outPath.empty()) return Refuse(err, "no output file given (--out FILE)");
  if (!format) {
    const std::string extension = std::filesystem::path(options.outPath).extension().string();
    format = FormatNamed(extension.empty() ? "" : extension.substr(1));
  }
  if (!format)
    return Refuse(err, "cannot tell the format of '" + options.outPath +
                           "': give --format dxf|hpgl|png|tiff|bmp|svg|pdf");
  options.format = *format;
  if (options.paper != Paper::Fitted && options.format != PlotFileFormat::Pdf)
    return Refuse(err, "--paper sizes a PDF only");
  if (options.flood && !IsPictureFormat(options.format))
    return Refuse(err, "--flood colours a picture (png, tiff, bmp, svg, pdf) only");
  return true;
}

void ReportPlotProblem(std::ostream& err, const std::string& reason) { err << "kestra-cli plot: " << reason << "\n"; }

void PrintPlotUsage(std::ostream& out) {
  out << "usage: kestra-cli plot MODEL --out FILE [--format dxf|hpgl|png|tiff|bmp|svg|pdf] [--layer K]\n"
         "                       [--row R --column C] [--zoom XMIN,YMIN,XMAX,YMAX] [--size WxH]\n"
         "                       [--dpi N] [--paper A4|A3|letter [--landscape]] [--title TEXT]\n"
         "                       [--note TEXT]... [--flood head|drawdown|velocity]\n"
         "                       [--vectors on|off] [--map FILE[,SHIFTX,SHIFTY,FACTOR]]...\n"
         "                       [--particles FILE [--forward] [--backward] [tracking options]]\n"
         "                       [--contours head|drawdown|off] [--levels MIN,MAX,STEP] [--exaggeration X]\n"
         "Draws the plan view of a model file (.mdl) or name-file model with the model's\n"
         "settings and, into DXF and picture files, the row and column cross-sections.\n"
         "With a particle file the particles are tracked as the run commands track them\n"
         "and their pathlines and time marks are drawn into the plot.\n"
         "  --out FILE      the plot file; .dxf, .hpgl (.hpg, .plt), .png, .tif, .bmp, .svg or\n"
         "                  .pdf give the format. PNG, TIFF, BMP, SVG and PDF hold a figure:\n"
         "                  title, plan and sections with axes in the model's unit, scale bar,\n"
         "                  north arrow, legend; SVG and PDF as vector paths and text\n"
         "  --format F      dxf, hpgl, png, tiff, bmp, svg or pdf, whatever the extension says\n"
         "  --layer K       the layer shown in plan (default 1)\n"
         "  --row R         the row cut by the row section (default: the model's settings)\n"
         "  --column C      the column cut by the column section (default: the model's settings)\n"
         "  --zoom X1,Y1,X2,Y2\n"
         "                  the part of the plan shown, in model units from the grid's\n"
         "                  upper-left corner, y downwards (default: the whole grid)\n"
         "  --size WxH      the drawing space in pixels (default 1200x900): the size of a PNG,\n"
         "                  TIFF or BMP file, with --dpi the page of an SVG or PDF; in DXF the\n"
         "                  width of barrier strips and section gaps\n"
         "  --dpi N         dots per inch of a figure (default 150): text and lines are sized\n"
         "                  in points, so 300 gives a print-ready PNG\n"
         "  --paper P       a PDF on an A4, A3 or letter sheet (default: the --size at --dpi),\n"
         "                  upright unless --landscape\n"
         "  --flood Q       a colour flood of the layer's head, drawdown or speed on the plan,\n"
         "                  with its colour bar in the legend\n"
         "  --note TEXT     a line under the figure (repeat for more)\n"
         "  --vectors on|off  velocity vectors, whatever the model's settings say\n"
         "  --map FILE[,SHIFTX,SHIFTY,FACTOR]\n"
         "                  a DXF base map (up to five, in place of the settings' maps),\n"
         "                  drawn into PNG pictures only; default no shift and factor 1\n"
         "  --title TEXT    the figure's title (default: model, layer, time step and time)\n"
         "  --contours C    contours of the heads or the drawdowns, or none (default: as the\n"
         "                  model's settings switch them)\n"
         "  --levels MIN,MAX,STEP\n"
         "                  contour levels from MIN in steps of STEP to MAX, labelled (default:\n"
         "                  the model's contour file, else about ten levels at round values)\n"
         "  --exaggeration X\n"
         "                  vertical exaggeration of the sections, 0.00001 to 1000 (default: the\n"
         "                  settings file's, else one that makes the sections readable)\n"
         "Tracking options:\n"
      << kTrackingUsage << kOpenUsage;
}

}  // namespace kestra::cli
