// Where a printed picture goes on the sheet, in millimetres: its size and
// its margins from the paper's left and top edges.
#pragma once

namespace kestra {

struct PageGeometry {
  double paperWidth = 0, paperHeight = 0;          // the whole sheet
  double printableLeft = 0, printableTop = 0;      // offset of the printable area on the sheet
  double printableWidth = 0, printableHeight = 0;  // the area the printer can reach
};

struct ImageLayout {
  double width = 0, height = 0, left = 0, top = 0;
};

// The largest image of the picture's proportions (`aspect` = width / height)
// that fits the printable area, placed at the printable area's margins.
void FitImageToPage(ImageLayout& layout, const PageGeometry& page, double aspect);

// The image in the middle of the sheet; a margin that would be negative is 0.
void CenterImage(ImageLayout& layout, const PageGeometry& page);

// The other side of an image of the picture's proportions.
double HeightForWidth(double width, double aspect);
double WidthForHeight(double height, double aspect);

// Whole millimetres, halves to even, as the image size is printed.
double WholeMillimetres(double length);

}  // namespace kestra
