// A figure written to a file: PDF and SVG as vector paths and text, PNG,
// TIFF and Windows bitmap at a chosen size and resolution. The file is
// replaced only when the whole figure was written.
#pragma once

#include <QImage>
#include <QSizeF>
#include <string>

#include "export/figure_page.h"
#include "render/figure.h"

namespace kestra {

// A Windows bitmap is no figure: it stays the pixel copy of the views (render/plot_image).
enum class FigureFormat { Png, Tiff, Svg, Pdf };

// The page of the figure in points.
QSizeF PagePoints(const FigurePage& page, FigureFormat format);

// The figure on an image of the page's pixels and resolution; a null image
// when it could not be drawn.
QImage FigureImage(const FigurePage& page, const FigureViews& views, const FigureFacts& facts);

// False, with the reason in `error`, when the file could not be written.
bool SaveFigure(const std::string& path, FigureFormat format, const FigurePage& page, const FigureViews& views,
                const FigureFacts& facts, std::string& error);

}  // namespace kestra
