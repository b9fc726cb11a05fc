// The window opens a MODFLOW 6 simulation as it opens any other model.
#include "app/gui_model.h"

namespace kestra::test {
namespace {

// Pixels of `image` that are not the background of its corner.
int DrawnPixels(const QImage& image) {
  const QRgb background = image.pixel(0, 0);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != background;
  return count;
}

TEST(Mf6Window, OpensTheSimulationAndDrawsPlanSectionsAndRiverCells) {
  OpenWindow w("usgs/ex01_mf6", "mfsim.nam");
  ASSERT_TRUE(w.window.model().HasModel());
  EXPECT_EQ(w.window.model().NCOL, 20);
  EXPECT_TRUE(w.window.model().flowTermsLoaded);
  const QImage plan = w.window.Raster(0).Image();
  // The river cells of column 20 are drawn in their own colour.
  EXPECT_NE(plan.pixel(w.CellCentre(20, 7)), plan.pixel(w.CellCentre(12, 7)));
  EXPECT_GT(DrawnPixels(w.window.Raster(1).Image()), 100);
  EXPECT_GT(DrawnPixels(w.window.Raster(2).Image()), 100);
}

}  // namespace
}  // namespace kestra::test
