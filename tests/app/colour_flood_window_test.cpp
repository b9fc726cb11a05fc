// Options, Colour Flood fills the plan and the sections and shows its colour
// bar; None takes them away again.
#include <QAction>
#include <QLabel>
#include <gtest/gtest.h>

#include "gui_model.h"

namespace kestra::test {
namespace {

TEST(ColourFloodWindow, FillsThePlanAndShowsItsColourBarUntilNone) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  app::MainWindow& window = w.window;
  const QImage plain = window.Raster(0).Image();
  const QImage plainSection = window.Raster(1).Image();
  auto* bar = window.findChild<QLabel*>("flood_bar");
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->isVisible());

  window.findChild<QAction*>("flood_head")->trigger();
  const QImage flooded = window.Raster(0).Image();
  EXPECT_GT(ChangedPixels(plain, flooded), flooded.width() * flooded.height() / 4);
  const QImage section = window.Raster(1).Image();
  EXPECT_GT(ChangedPixels(plainSection, section), section.width() * section.height() / 4);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(bar->pixmap().isNull());

  // The speeds give another picture.
  window.findChild<QAction*>("flood_velocity")->trigger();
  EXPECT_GT(ChangedPixels(flooded, window.Raster(0).Image()), 100);

  window.findChild<QAction*>("flood_none")->trigger();
  EXPECT_EQ(ChangedPixels(plain, window.Raster(0).Image()), 0);
  EXPECT_EQ(ChangedPixels(plainSection, window.Raster(1).Image()), 0);
  EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace kestra::test
