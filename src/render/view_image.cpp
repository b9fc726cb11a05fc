#include "render/view_image.h"

#include <QPainter>

namespace kestra {

QImage ComposeViews(const RasterPicture& plan, const RasterPicture& rowSection, const RasterPicture& columnSection,
                    const ViewLayout& layout, const ViewPlacement& placement) {
  if (!layout.planShown) return {};
  const bool sections = layout.sectionsShown;
  const int width = sections ? placement.columnSectionLeft + placement.sectionPixels : placement.planWidth;
  const int height = sections ? placement.rowSectionTop + placement.sectionPixels : placement.planHeight;
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawImage(0, 0, plan.Image());
  if (sections) {
    painter.drawImage(0, placement.rowSectionTop, rowSection.Image());
    painter.drawImage(placement.columnSectionLeft, 0, columnSection.Image());
  }
  return image;
}

}  // namespace kestra
