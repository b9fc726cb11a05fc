// Velocity vectors on the raster plan: the fastest cell's arrow spans Size
// pixels whatever the zoom.
#include <gtest/gtest.h>

#include "graphics/small_models.h"
#include "graphics/velocity_vectors.h"
#include "graphics/view_arrangement.h"
#include "render/raster_picture.h"

namespace kestra {
namespace {

constexpr Colour kArrowColour = RgbColour(200, 0, 100);

// Pixel columns from the leftmost to the rightmost pixel of the colour.
int WidthOf(const QImage& image, Colour colour) {
  const QRgb rgb = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  int left = image.width(), right = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == rgb) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  return right - left + 1;
}

// The arrow of the one moving cell, east, at the fastest speed, drawn with
// the whole grid or the zoom window given.
int ArrowPixels(const ZoomWindow* zoom) {
  ModelState model = test::UniformModel(5, 5, 1, 100, 100);
  model.flowTermsLoaded = true;
  // Resting cells would add their dots: only the moving one is active.
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) model.IBOUND(j, i, 1) = j == 3 && i == 3 ? 1 : 0;
  model.VX(3, 3, 1) = 2;
  ViewLayout layout = test::WholeGridLayout(model);
  if (zoom) layout.zoom = *zoom;
  RasterPicture plan, row, column;
  Settings settings;
  settings.sectionsVisible = kOff;
  settings.vectorsVisible = kOn;
  settings.vectorColor = kArrowColour;
  ArrangeViews(layout, plan, row, column, settings, 400, 400);
  PlotDevice device;
  SilentInterface ui;
  PlotContext context{plan, row, column, device, model, layout};
  DrawVelocityVectors(context, {settings, ui, 2});
  plan.Refresh();
  return WidthOf(plan.Image(), kArrowColour);
}

TEST(VectorRaster, FastestArrowSpansSizePixelsAtAnyZoom) {
  // The shaft covers 25 pixel steps, so 26 pixels from end to end.
  EXPECT_NEAR(ArrowPixels(nullptr), 26, 1);
  const ZoomWindow close = ZoomWindowOf(200, 200, 300, 300);
  EXPECT_NEAR(ArrowPixels(&close), 26, 1);
}

}  // namespace
}  // namespace kestra
