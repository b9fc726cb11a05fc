#include "export/page_layout.h"

#include <algorithm>
#include <cmath>

namespace kestra {

void FitImageToPage(ImageLayout& layout, const PageGeometry& page, double aspect) {
  if (page.printableWidth / page.printableHeight <= aspect) {
    layout.width = page.printableWidth;
    layout.height = layout.width / aspect;
  } else {
    layout.height = page.printableHeight;
    layout.width = aspect * layout.height;
  }
  layout.left = (page.paperWidth - page.printableWidth) / 2;
  layout.top = (page.paperHeight - page.printableHeight) / 2;
}

void CenterImage(ImageLayout& layout, const PageGeometry& page) {
  layout.top = std::max(0.0, (page.paperHeight - layout.height) / 2);
  layout.left = std::max(0.0, (page.paperWidth - layout.width) / 2);
}

double HeightForWidth(double width, double aspect) { return width / aspect; }
double WidthForHeight(double height, double aspect) { return height * aspect; }

double WholeMillimetres(double length) { return std::nearbyint(length); }

}  // namespace kestra
