// The figure of the views for a report, the same on every page it goes to:
// a PDF or SVG page as vector paths and text, a PNG at any size, a printer's
// sheet. The title above; the plan with its axes, the sections with their
// elevation axes and captions; a scale bar and north arrow below; the legend
// and colour bar beside; notes under it all. Sizes of text and lines are in
// points, so that an A4 PDF and a 300 dpi PNG look alike.
#pragma once

#include <QPainter>
#include <QRectF>

#include "export/plot_annotation.h"
#include "graphics/picture_record.h"
#include "graphics/view_arrangement.h"

namespace kestra {

struct FigureViews {
  const PictureRecord& plan;
  const PictureRecord& rowSection;
  const PictureRecord& columnSection;
  ViewPlacement placement;  // the views' proportions, in the layout's pixels
  bool rowSectionShown = true;
  bool columnSectionShown = true;
};

// Draws the figure into `page`, a rectangle in points. The painter's device
// may have any resolution: DrawFigure scales to it.
void DrawFigure(QPainter& painter, const QRectF& page, const FigureViews& views, const FigureFacts& facts);

// Draws one picture's record into `target` (device units of the painter's
// current coordinates), its user corners on the rectangle's corners, lines
// `lineWidth` wide, clipped to the rectangle.
void DrawRecord(QPainter& painter, const PictureRecord& record, const QRectF& target, double lineWidth);

}  // namespace kestra
