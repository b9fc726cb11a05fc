#include "render/view_image.h"

#include <QPainter>

namespace kestra {

QImage ComposeViews(const RasterPicture& plan, const RasterPicture& rowSection, const RasterPicture& columnSection,
                    const ViewLayout& layout, const ViewPlacement& placement) {
  return ComposeViews(plan, rowSection, columnSection, layout, placement, true, true);
}

QImage ComposeViews(const RasterPicture& plan, const RasterPicture& rowSection, const RasterPicture& columnSection,
                    const ViewLayout& layout, const ViewPlacement& placement, bool lowerSection, bool rightSection) {
  if (!layout.planShown) return {};
  const bool lower = layout.sectionsShown && lowerSection;
  const bool right = layout.sectionsShown && rightSection;
  const int width = right ? placement.columnSectionLeft + placement.sectionPixels : placement.planWidth;
  const int height = lower ? placement.rowSectionTop + placement.sectionPixels : placement.planHeight;
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawImage(0, 0, plan.Image());
  if (lower) painter.drawImage(0, placement.rowSectionTop, rowSection.Image());
  if (right) painter.drawImage(placement.columnSectionLeft, 0, columnSection.Image());
  return image;
}

}  // namespace kestra
