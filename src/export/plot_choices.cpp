#include "export/plot_choices.h"

#include <algorithm>
#include <filesystem>

#include "graphics/plot_device.h"

namespace kestra {
namespace {

constexpr const char* kPathlineFileName = "pathline";

std::string ExtensionOf(const std::string& format) {
  if (format == kPlotFormatDxf) return ".dxf";
  if (format == kPlotFormatHpgl) return ".pgl";
  if (format == kPlotFormatPng) return ".png";
  if (format == kPlotFormatSvg) return ".svg";
  if (format == kPlotFormatPdf) return ".pdf";
  return ".bmp";
}

}  // namespace

bool IsPicturePlotFormat(const std::string& format) {
  return format == kPlotFormatBitmap || IsFigurePlotFormat(format);
}

bool IsFigurePlotFormat(const std::string& format) {
  return format == kPlotFormatPng || format == kPlotFormatSvg || format == kPlotFormatPdf;
}

std::string PlotFileNameForFormat(const std::string& fileName, const std::string& format,
                                  const std::string& modelPath) {
  namespace fs = std::filesystem;
  if (format == kPlotFormatModpath) return (fs::path(modelPath).parent_path() / kPathlineFileName).string();
  fs::path path(fileName);
  path.replace_extension(ExtensionOf(format));
  return path.string();
}

bool SectionsCanBeIncluded(const std::string& format, bool sectionsShown) {
  if (format == kPlotFormatDxf) return sectionsShown;
  return IsPicturePlotFormat(format);
}

}  // namespace kestra
