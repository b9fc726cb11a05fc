// A pixel copy of the views written to a file as PNG or Windows bitmap
// (figures with axes and legend are render/figure_file's). The file is
// replaced only when the whole picture was written.
#pragma once

#include <QImage>
#include <string>

namespace kestra {

enum class PlotImageFormat { Bmp, Png };

// False, with the reason in `error`, when the file could not be written.
bool SavePlotImage(const QImage& image, const std::string& path, PlotImageFormat format, std::string& error);

}  // namespace kestra
