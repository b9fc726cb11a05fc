#include "graphics/view_arrangement.h"

#include <algorithm>
#include <cmath>

#include "core/round_numbers.h"
#include "settings/environment_entries.h"

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
  layout.grid = WholeGridZoom(model);
  layout.zoom = layout.grid;
  SetViewWindow(layout);
}

namespace {

// Model units per pixel of a space holding `extent` and sections `depth`
// model units deep beside and below it.
float PixelSizeFor(const ZoomWindow& extent, float depth, float spaceX, float spaceY) {
  return std::max((extent.width + depth) / spaceX, (extent.height + depth) / spaceY);
}

bool SameExtent(const ZoomWindow& a, const ZoomWindow& b) {
  return a.Xmin == b.Xmin && a.Ymin == b.Ymin && a.width == b.width && a.height == b.height;
}

// PixelSize and Exaggeration of the layout for sections of elevation range
// `depth`, and their depth in pixels.
float ScaleViews(ViewLayout& layout, float exaggeration, float depth, float spaceX, float spaceY) {
  const float wholeGridPixel = PixelSizeFor(layout.grid, depth * exaggeration, spaceX, spaceY);
  const float wanted = depth * exaggeration / wholeGridPixel;
  const float band = std::min(wanted, kLargestSectionShare * std::min(spaceX, spaceY));
  layout.Exaggeration = exaggeration;
  if (band == wanted && SameExtent(layout.zoom, layout.grid)) {
    layout.PixelSize = wholeGridPixel;
    return band;
  }
  layout.PixelSize = std::max(layout.zoom.width / (spaceX - band), layout.zoom.height / (spaceY - band));
  if (depth > 0) layout.Exaggeration = band * layout.PixelSize / depth;
  return band;
}

}  // namespace

ViewPlacement ArrangeViews(ViewLayout& layout, Picture& plan, Picture& rowSection, Picture& columnSection,
                           const Settings& settings, int availableWidth, int availableHeight) {
  ViewPlacement placement;
  layout.sectionsShown = IsOn(settings.sectionsVisible);
  const ZoomWindow& zoom = layout.zoom;
  const int deduction = layout.sectionsShown ? kSectionGapPixels : 0;
  const float spaceX = static_cast<float>(availableWidth - deduction);
  const float spaceY = static_cast<float>(availableHeight - deduction);
  if (spaceX <= 0 || spaceY <= 0) {
    layout.planShown = false;
    return placement;
  }
  const float depth = layout.sectionsShown ? layout.modelZmax - layout.modelZmin : 0;
  const float band = ScaleViews(layout, settings.exaggeration, depth, spaceX, spaceY);
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
  placement.sectionPixels = std::max(1, static_cast<int>(std::lround(band)));
  placement.rowSectionTop = placement.planHeight + kSectionGapPixels;
  placement.columnSectionLeft = placement.planWidth + kSectionGapPixels;
  rowSection.SetGeometry(placement.planWidth, placement.sectionPixels,
                         {zoom.Xmin, layout.modelZmax, zoom.Xmin + zoom.width, layout.modelZmin});
  columnSection.SetGeometry(placement.sectionPixels, placement.planHeight,
                            {layout.modelZmax, zoom.Ymin, layout.modelZmin, zoom.Ymin + zoom.height});
  return placement;
}

float ExaggerationForSectionPixels(const ViewLayout& layout, float pixels, int availableWidth, int availableHeight) {
  const float spaceX = static_cast<float>(availableWidth - kSectionGapPixels);
  const float spaceY = static_cast<float>(availableHeight - kSectionGapPixels);
  const float depth = layout.modelZmax - layout.modelZmin;
  const float band = std::clamp(pixels, 1.0f, kLargestSectionShare * std::min(spaceX, spaceY));
  if (!(depth > 0) || !(spaceX > band) || !(spaceY > band)) return 0;
  // The inverse of the band of ScaleViews: the sections take `band` pixels
  // where the tighter of the two directions allows it.
  const double sectionDepth =
      std::max(band * layout.grid.width / (spaceX - band), band * layout.grid.height / (spaceY - band));
  return static_cast<float>(
      std::clamp(TwoSignificantDigits(sectionDepth / depth), kLeastExaggeration, kMostExaggeration));
}

}  // namespace kestra
