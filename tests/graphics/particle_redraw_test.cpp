#include "graphics/particle_redraw.h"

#include <gtest/gtest.h>

#include "view_scene.h"

namespace kestra {
namespace {

// Stops the redraw once `after` particles have had their turn.
class StoppingInterface : public test::StatusRecordingInterface {
 public:
  StoppingInterface(RunControl& control, int after) : control_(control), after_(after) {}
  void ProcessEvents() override {
    if (++calls_ > after_) control_.breakRequested = true;
  }

 private:
  RunControl& control_;
  int after_;
  int calls_ = 0;
};

struct RedrawScene : test::ViewScene {
  // 10 x 10 cells of 10 units, one layer from 90 to 100; pixels of 0.5 and
  // sections exaggerated 5 times, so a section pixel is 0.1 high.
  RedrawScene() : ViewScene(test::UniformModel(10, 10, 1, 10, 10)) {
    layout.PixelSize = 0.5f;
    layout.Exaggeration = 5;
    SilentInterface silent;
    AddParticle(particles, {3, 4, 1}, {0.5f, 0.5f, 0.25f}, 92.5f, silent);
    AddParticle(particles, {8, 2, 1}, {0.5f, 0.5f, 0.5f}, 95, silent);
    particles.Particles[1].ParticleColor = RgbColour(0, 255, 0);
  }
  void Redraw(int dotFactor) { Redraw(ui, dotFactor); }
  void Redraw(UserInterface& redrawUi, int dotFactor) {
    ParticleRedraw redraw{context, settings, tracking, particles, busy, redrawUi, control};
    RedrawParticles(redraw, dotFactor);
  }
  TrackingSettings tracking;
  ParticleSet particles;
  BusyFlags busy;
  RunControl control;
};

TEST(RedrawParticles, DotsAtTheReleasePointsOnAllThreePictures) {
  RedrawScene scene;
  scene.Redraw(kReleaseDotFactor);
  const auto plan = scene.plan.Of("box");
  ASSERT_EQ(plan.size(), 2u);
  // A dot two pixels across around (25, 35).
  EXPECT_EQ(plan[0].values, (std::vector<float>{24.5f, 34.5f, 25.5f, 35.5f}));
  EXPECT_EQ(plan[1].colour, RgbColour(0, 255, 0));
  const auto row = scene.row.Of("box");
  ASSERT_EQ(row.size(), 2u);
  // Local height 0.25 of the 90..100 cell is 92.5; two section pixels are 0.2 high.
  EXPECT_FLOAT_EQ(row[0].values[1], 92.4f);
  EXPECT_FLOAT_EQ(row[0].values[3], 92.6f);
  const auto column = scene.column.Of("box");
  ASSERT_EQ(column.size(), 2u);
  EXPECT_FLOAT_EQ(column[0].values[0], 92.4f);
  EXPECT_FLOAT_EQ(column[0].values[1], 34.5f);
  EXPECT_EQ(scene.ui.panes[7], "2");
  EXPECT_FALSE(scene.busy.particleRedraw);
}

TEST(RedrawParticles, SkipsPointsOutsideTheZoomAndStopsOnRequest) {
  RedrawScene scene;
  scene.layout.zoom = {0, 0, 50, 50, 50, 50};
  scene.Redraw(1);
  EXPECT_EQ(scene.plan.Of("box").size(), 1u);  // the second lies at x 75

  RedrawScene stopped;
  StoppingInterface ui(stopped.control, 1);
  stopped.particles.Particles[1].startCell = {3, 4, 1};
  stopped.Redraw(ui, 1);
  EXPECT_EQ(stopped.plan.Of("box").size(), 1u);
}

TEST(RedrawParticles, DoesNothingWhileBusy) {
  RedrawScene scene;
  scene.busy.trackingRun = true;
  scene.Redraw(kReleaseDotFactor);
  EXPECT_TRUE(scene.plan.elements.empty());
}

}  // namespace
}  // namespace kestra
