// The toolbar's stress period and time step of a transient model: a change
// loads that step and redraws its boundary cells; a steady model of one
// step has the control off.
#include <QSpinBox>
#include <gtest/gtest.h>

#include "gui_model.h"

namespace kestra::test {
namespace {

QRgb ToQRgb(Colour c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TEST(TimeControl, ATransientModelShowsTheStepChosenOnTheToolbar) {
  OpenWindow w("transient2/modflow", "transient2.nam");
  app::MainWindow& window = w.window;
  auto* period = window.findChild<QSpinBox*>("period_spin");
  auto* step = window.findChild<QSpinBox*>("step_spin");
  ASSERT_TRUE(period->isEnabled());
  EXPECT_EQ(period->maximum(), 3);
  EXPECT_EQ(step->maximum(), 1);
  const ZeroedBuffer<float> firstHeads = window.model().HEAD.values;
  // The injection well of the third period is in layer 1, row 4, column 12.
  const QRgb injection = ToQRgb(window.session().settings.rechargeWellColor);
  const auto injectionPixels = [&] {
    const QPoint at = w.CellCentre(12, 4);
    const QImage image = window.Raster(0).Image().copy(at.x() - 5, at.y() - 5, 11, 11);
    return PixelsOf(image, injection);
  };
  EXPECT_EQ(injectionPixels(), 0);

  period->setValue(3);
  EXPECT_EQ(window.model().CurrentPeriod, 3);
  EXPECT_EQ(window.model().CurrentStep, 1);
  EXPECT_EQ(step->maximum(), 4);
  EXPECT_EQ(Pane(window, 5), "3");
  EXPECT_NE(window.model().HEAD.values, firstHeads);
  EXPECT_GT(injectionPixels(), 10);

  step->setValue(4);
  EXPECT_EQ(window.model().CurrentStep, 4);
  EXPECT_EQ(Pane(window, 6), "4");

  // Back to the first period: its one step, its heads.
  period->setValue(1);
  EXPECT_EQ(window.model().CurrentStep, 1);
  EXPECT_EQ(step->value(), 1);
  EXPECT_EQ(window.model().HEAD.values, firstHeads);
  EXPECT_EQ(injectionPixels(), 0);
}

TEST(TimeControl, IsOffForASteadyModelOfOneStep) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  EXPECT_FALSE(w.window.findChild<QSpinBox*>("period_spin")->isEnabled());
  EXPECT_FALSE(w.window.findChild<QSpinBox*>("step_spin")->isEnabled());
}

}  // namespace
}  // namespace kestra::test
