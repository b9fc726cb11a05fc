// A fine raster of the plan that marks where pathlines ran: the area a
// capture zone is drawn from. Paths are marked segment by segment, gaps
// between neighbouring paths closed by a morphological closing.
#pragma once

#include <cstdint>
#include <vector>

namespace kestra {

// A point of the plan: x from the grid's left edge, y down from its upper
// edge, as the tracking reports them.
struct PlanXY {
  double x = 0;
  double y = 0;
};

struct ZoneMask {
  double left = 0;   // x of the left edge
  double top = 0;    // y of the upper edge (the smallest y)
  double pixel = 1;  // side of a square pixel
  int columns = 0;
  int rows = 0;
  std::vector<std::uint8_t> marks;  // row by row from the top; 1 inside

  bool Marked(int column, int row) const { return marks[Index(column, row)] != 0; }
  std::size_t Index(int column, int row) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
  }
};

// An empty mask of `pixel` squares over the box from `low` to `high`
// widened by `margin` on every side.
ZoneMask EmptyMask(PlanXY low, PlanXY high, double margin, double pixel);

// The pixel count of that mask, to refuse one too large before making it.
double MaskPixels(PlanXY low, PlanXY high, double margin, double pixel);

// Marks every pixel the segment from `a` to `b` passes through.
void MarkSegment(ZoneMask& mask, PlanXY a, PlanXY b);

// Marks the pixels whose centres lie in the rectangle from `low` to `high`,
// and at least the pixel of its centre.
void MarkRectangle(ZoneMask& mask, PlanXY low, PlanXY high);

// Closes gaps up to `width` wide between marked parts: dilation by a disc of
// half that width, then erosion by the same disc (Euclidean distances).
void CloseGaps(ZoneMask& mask, double width);

// The marked area.
double MarkedArea(const ZoneMask& mask);

}  // namespace kestra
