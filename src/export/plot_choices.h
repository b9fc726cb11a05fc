// The choices of the Save Plot As dialog: the plot formats it offers, the
// file name each format proposes and whether the cross-sections can go in.
#pragma once

#include <array>
#include <string>

namespace kestra {

// The format list as the dialog shows it; the first four are the classic
// formats, the bitmap a copy of the views' pixels, the pictures after it
// figures with axes, legend and captions.
inline constexpr const char* kPlotFormatPng = "PNG picture";
inline constexpr const char* kPlotFormatSvg = "SVG picture";
inline constexpr const char* kPlotFormatPdf = "PDF document";
inline constexpr std::array<const char*, 7> kPlotFormatList = {
    "DXF", "HPGL", "MODPATH", "Windows bitmap (BMP)", kPlotFormatPng, kPlotFormatSvg, kPlotFormatPdf};

// True for the bitmap and the figures.
bool IsPicturePlotFormat(const std::string& format);
// True for the figures, which have a size and a resolution of their own.
bool IsFigurePlotFormat(const std::string& format);

// The name proposed when the format changes to `format`: for "MODPATH" the
// file "pathline" in the folder of `modelPath`; for the others `fileName`
// with the format's extension in place of its own (added when it has none).
std::string PlotFileNameForFormat(const std::string& fileName, const std::string& format,
                                  const std::string& modelPath);

// Whether the two include boxes can be ticked: for DXF when the sections
// are shown, for the pictures always, never for HPGL and MODPATH.
bool SectionsCanBeIncluded(const std::string& format, bool sectionsShown);

}  // namespace kestra
