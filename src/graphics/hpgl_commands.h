// The HPGL instructions of plot files. One stream without line breaks except
// after the two header lines; plan points are scaled by HpglScale with the
// y axis flipped to point up.
#pragma once

#include "graphics/plot_device.h"

namespace kestra {

// Sets HpglScale so that the width W and height H fit 10000 by 7200 plotter
// units, and writes the initialisation and the input window.
void WriteHpglHeader(PlotDevice& device, float width, float height);
void WriteHpglTrailer(PlotDevice& device);

// Pen-up move to (x1, y1), then a filled rectangle to (x2, y2). gridHeight
// is the total length of the grid, YEDGE(NROW).
void WriteHpglBox(PlotDevice& device, float gridHeight, float x1, float y1, float x2, float y2);
void WriteHpglMove(PlotDevice& device, float gridHeight, float x, float y);
void WriteHpglDraw(PlotDevice& device, float gridHeight, float x, float y);
void WriteHpglPen(PlotDevice& device, int pen);

}  // namespace kestra
