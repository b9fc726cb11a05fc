#include "graphics/view_arrangement.h"

#include <algorithm>
#include <cmath>

namespace kestra {

void SetModelElevationRange(ViewLayout& layout, const ModelState& model) {
  float lowest = 0;
  float highest = 0;
  bool any = false;
  for (int k = 1; k <= model.NLAY; ++k)
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) {
        const float bottom = model.BOT(j, i, k);
        const float top = model.TOP(j, i, k);
        lowest = any ? std::min(lowest, bottom) : bottom;
        highest = any ? std::max(highest, top) : top;
        any = true;
      }
  layout.modelZmin = lowest;
  layout.modelZmax = highest;
}

ZoomWindow ZoomWindowOf(float xmin, float ymin, float xmax, float ymax) {
  return {xmin, ymin, xmax, ymax, xmax - xmin, ymax - ymin};
}

ZoomWindow WholeGridZoom(const ModelState& model) {
  return ZoomWindowOf(0, 0, model.XEDGE[model.NCOL], model.YEDGE[model.NROW]);
}

void SetUpModelViews(ViewLayout& layout, const ModelState& model) {
  SetModelElevationRange(layout, model);
  layout.zoom = WholeGridZoom(model);
  SetViewWindow(layout);
}

ViewPlacement ArrangeViews(ViewLayout& layout, Picture& plan, Picture& rowSection, Picture& columnSection,
                           const Settings& settings, int availableWidth, int availableHeight) {
  ViewPlacement placement;
  layout.Exaggeration = settings.exaggeration;
  layout.sectionsShown = IsOn(settings.sectionsVisible);
  const ZoomWindow& zoom = layout.zoom;
  // Elevation range drawn across each section, in model length units.
  const float sectionDepth = layout.sectionsShown ? (layout.modelZmax - layout.modelZmin) * layout.Exaggeration : 0;
  const int deduction = layout.sectionsShown ? kSectionGapPixels : 0;
  const float spaceX = static_cast<float>(availableWidth - deduction);
  const float spaceY = static_cast<float>(availableHeight - deduction);
  if (spaceX <= 0 || spaceY <= 0) {
    layout.planShown = false;
    return placement;
  }
  layout.PixelSize = std::max((zoom.width + sectionDepth) / spaceX, (zoom.height + sectionDepth) / spaceY);
  if (!(layout.PixelSize > 0) || !std::isfinite(layout.PixelSize)) {
    layout.planShown = false;
    return placement;
  }
  // A grid far longer than wide keeps a plan one pixel across rather than none.
  placement.planWidth = std::max(1, static_cast<int>(std::lround(zoom.width / layout.PixelSize)));
  placement.planHeight = std::max(1, static_cast<int>(std::lround(zoom.height / layout.PixelSize)));
  layout.planShown = true;
  plan.SetGeometry(placement.planWidth, placement.planHeight,
                   {zoom.Xmin, zoom.Ymin, zoom.Xmin + zoom.width, zoom.Ymin + zoom.height});
  rowSection.SetVisible(layout.sectionsShown);
  columnSection.SetVisible(layout.sectionsShown);
  if (!layout.sectionsShown) return placement;
  placement.sectionPixels = std::max(1, static_cast<int>(std::lround(sectionDepth / layout.PixelSize)));
  placement.rowSectionTop = placement.planHeight + kSectionGapPixels;
  placement.columnSectionLeft = placement.planWidth + kSectionGapPixels;
  rowSection.SetGeometry(placement.planWidth, placement.sectionPixels,
                         {zoom.Xmin, layout.modelZmax, zoom.Xmin + zoom.width, layout.modelZmin});
  columnSection.SetGeometry(placement.sectionPixels, placement.planHeight,
                            {layout.modelZmax, zoom.Ymin, layout.modelZmin, zoom.Ymin + zoom.height});
  return placement;
}

}  // namespace kestra
