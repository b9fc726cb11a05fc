// Pathlines and their time and direction marks on the plan, the sections and
// the plot, particles redrawn at their release points, and the stored pathline
// found under a point.
#include "graphics/pathline_drawing.h"

#include <cmath>
#include <gtest/gtest.h>

#include "graphics/particle_redraw.h"
#include "graphics/plot_device.h"
#include "graphics/stored_pathlines.h"
#include "graphics/time_marks.h"
#include "modelset/layer_files.h"
#include "plot_file.h"
#include "view_scene.h"

namespace kestra {
namespace {

using test::ViewScene;

constexpr Colour kRed = RgbColour(255, 0, 0);

TrackSegment Move(PlanPoint from, PlanPoint to, std::int16_t layer = 1) {
  return {1, 1, from, to, {1, 1, layer}, 10, kRed};
}

// A 10 x 10 grid of 10-unit cells, one layer from 90 to 100.
struct DrawingScene : ViewScene {
  DrawingScene() : ViewScene(test::UniformModel(10, 10, 1, 10, 10)) {}
  TrackingSettings tracking;
};

TEST(PathlineDrawing, SegmentGoesOnThePlanAndBothSectionsCutToTheViewBox) {
  DrawingScene scene;
  PathlineDrawing drawing(scene.context, scene.tracking, false);
  // From inside the model up through its top at 100, halfway along.
  drawing.Segment(Move({20, 30, 96}, {40, 50, 104}));
  using Lines = std::vector<std::vector<float>>;
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "line", kRed), (Lines{{20, 30, 30, 40}}));
  EXPECT_EQ(ViewScene::Drawn(scene.row, "line", kRed), (Lines{{20, 96, 30, 100}}));     // (x, z)
  EXPECT_EQ(ViewScene::Drawn(scene.column, "line", kRed), (Lines{{96, 30, 100, 40}}));  // (z, y)
  for (const auto* picture : {&scene.plan, &scene.row, &scene.column}) EXPECT_EQ(picture->Of("line").size(), 1u);
}

TEST(PathlineDrawing, HiddenViewsAndSegmentsOutsideTheBoxDrawNothing) {
  DrawingScene scene;
  PathlineDrawing drawing(scene.context, scene.tracking, false);
  scene.layout.sectionsShown = false;
  drawing.Segment(Move({20, 30, 95}, {40, 50, 95}));
  EXPECT_EQ(scene.plan.Of("line").size(), 1u);
  EXPECT_TRUE(scene.row.elements.empty());
  scene.layout.planShown = false;
  scene.layout.sectionsShown = true;
  drawing.Segment(Move({120, 30, 95}, {140, 50, 95}));
  EXPECT_TRUE(scene.row.elements.empty());
  EXPECT_EQ(scene.plan.Of("line").size(), 1u);
}

TEST(PathlineDrawing, TimeMarksInThePathlineColourAsAsked) {
  DrawingScene scene;
  scene.tracking.MarkOnTopView = -1;
  PathlineDrawing drawing(scene.context, scene.tracking, false);
  drawing.Segment(Move({20, 30, 95}, {40, 30, 95}));
  drawing.TimeMark(1, 1, {20, 30, 95}, {40, 30, 95});
  // The arrow's two barbs end at the new point; no circles without section marks.
  const auto lines = scene.plan.Of("line");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].values[2], 40);
  EXPECT_EQ(lines[2].colour, kRed);
  EXPECT_TRUE(scene.row.Of("circle").empty());
  scene.tracking.MarkOnTopView = 0;
  scene.tracking.MarkOnXsections = -1;
  drawing.DirectionMark(1, {40, 30, 95}, {20, 30, 95});
  const auto circles = scene.row.Of("circle");
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(circles[0].values[0], 20);  // at the release point
  EXPECT_EQ(circles[0].values[1], 95);
}

TEST(PathlineDrawing, PlotGetsEverySegmentOnceInItsPenColour) {
  DrawingScene scene;
  const std::string dxf = scene.DxfOf([&] {
    PathlineDrawing drawing(scene.context, scene.tracking, false);
    drawing.Segment(Move({20, 30, 95}, {40, 50, 95}));
    drawing.Segment(Move({40, 50, 95}, {50, 50, 95}));
  });
  // Plan, row section and column section lines for each move.
  EXPECT_EQ(test::Occurrences(dxf, "  0\r\nLINE\r\n"), 6);
  // Red is colour index 1.
  EXPECT_EQ(test::Occurrences(dxf, "  0\r\nLINE\r\n  8\r\n0\r\n 62\r\n 1 \r\n"), 6);
}

TEST(PathlineDrawing, MovesTakeTheColourOfTheirDirectionUnlessLayerColoursAreAsked) {
  DrawingScene scene;
  constexpr Colour kBlue = RgbColour(0, 0, 255);
  constexpr Colour kGreen = RgbColour(0, 255, 0);
  PathlineDrawing drawing(scene.context, scene.tracking, false);
  drawing.SetBackwardColour(kBlue);
  const TrackSegment forward = Move({20, 30, 95}, {40, 50, 95});
  TrackSegment back = forward;
  back.direction = -1;
  drawing.Segment(back);
  drawing.Segment(forward);
  scene.model.LayerProperties.resize(2);
  SetLayerColor(scene.model.LayerProperties[1], kGreen);
  scene.tracking.UseLayerColors = -1;
  drawing.Segment(back);
  drawing.Segment(forward);
  const auto lines = scene.plan.Of("line");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].colour, kBlue);
  EXPECT_EQ(lines[1].colour, kRed);
  EXPECT_EQ(lines[2].colour, kGreen);
  EXPECT_EQ(lines[3].colour, kGreen);
}

TEST(PathlineDrawing, MarkSpacingLeavesOutMarksWithinTheirSizeOfTheLastOne) {
  auto marksAfter = [](bool spacing) {
    DrawingScene fresh;
    fresh.tracking.MarkOnTopView = -1;
    fresh.tracking.MarkSizeTopView = 10;
    const float pixel = fresh.layout.PixelSize;
    PathlineDrawing drawing(fresh.context, fresh.tracking, false);
    drawing.SetMarkSpacing(spacing);
    // Marks 4 pixels apart along a row: only every third is 10 pixels or
    // more from the last one drawn.
    for (int n = 0; n < 9; ++n) {
      const double x = 20 + 4 * n * pixel;
      drawing.TimeMark(1, 1, {x - pixel, 30, 95}, {x, 30, 95});
    }
    // Another particle at the same place is not held back by the first.
    drawing.TimeMark(2, 1, {19, 30, 95}, {20, 30, 95});
    return fresh.plan.Of("line").size();
  };
  const std::size_t every = marksAfter(false);
  const std::size_t spaced = marksAfter(true);
  ASSERT_EQ(every % 10, 0u);  // each arrow has the same number of lines
  EXPECT_EQ(spaced, every / 10 * 4);  // marks 0, 3, 6 of the first particle and the second's
}

constexpr float kTolerance = 1e-4f;  // 32-bit arithmetic on values near 50

TEST(DrawArrowMark, HeadPointsDownstreamBothWaysAndNothingIsDrawnOutsideTheViewOrWithoutMovement) {
  for (int direction : {1, -1}) {
    ViewScene scene(test::UniformModel(10, 10, 1, 10, 10));
    scene.layout.PixelSize = 0.5f;
    DrawArrowMark(scene.context, 40, 50, 50, 50, 95, kBlack, direction, 10, false);
    const auto lines = scene.plan.Of("line");
    ASSERT_EQ(lines.size(), 2u);
    // Mark size 10 pixels of 0.5: the barbs start 5 behind the new point (ahead of
    // it backwards), 2.5 to either side, and end at the new point.
    for (const auto& line : lines) {
      EXPECT_NEAR(line.values[0], 50 - direction * 5.0f, kTolerance);
      EXPECT_NEAR(std::fabs(line.values[1] - 50), 2.5f, kTolerance);
      EXPECT_FLOAT_EQ(line.values[2], 50);
      EXPECT_FLOAT_EQ(line.values[3], 50);
    }
  }
  ViewScene scene(test::UniformModel(10, 10, 1, 10, 10));
  // Outside the plan, above the sections, and with no movement.
  DrawArrowMark(scene.context, 40, 50, 150, 50, 95, kBlack, 1, 10, false);
  DrawArrowMark(scene.context, 40, 50, 50, 50, 105, kBlack, 1, 10, false);
  DrawArrowMark(scene.context, 50, 50, 50, 50, 95, kBlack, 1, 10, false);
  EXPECT_TRUE(scene.plan.elements.empty());
}

TEST(DrawSectionMark, CirclesOnBothSectionsAndInTheIncludedPlotSections) {
  ViewScene scene(test::UniformModel(10, 10, 1, 10, 10));
  scene.layout.PixelSize = 2;
  scene.layout.Exaggeration = 4;
  scene.device.IncludeRightXsection = false;
  const std::string dxf = scene.DxfOf([&] { DrawSectionMark(scene.context, 30, 40, 95, kBlack, 3); });
  ASSERT_EQ(scene.row.Of("circle").size(), 1u);
  EXPECT_EQ(scene.row.Of("circle")[0].values, (std::vector<float>{30, 95, 6}));
  EXPECT_EQ(scene.column.Of("circle")[0].values, (std::vector<float>{95, 40, 1.5f}));
  // One circle, of the row section: 5 pixels below the plan's bottom (y 100),
  // 5 elevation units below the top at exaggeration 4: plan y 130, world y -30.
  EXPECT_NE(dxf.find("CIRCLE\r\n  8\r\n0\r\n 10\r\n 30\r\n 20\r\n-30\r\n 40\r\n 6\r\n"), std::string::npos) << dxf;
  EXPECT_EQ(dxf.find("CIRCLE"), dxf.rfind("CIRCLE"));
}

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

TEST(RedrawParticles, SkipsPointsOutsideTheZoomStopsOnRequestAndDoesNothingWhileBusy) {
  RedrawScene scene;
  scene.layout.zoom = {0, 0, 50, 50, 50, 50};
  scene.Redraw(1);
  EXPECT_EQ(scene.plan.Of("box").size(), 1u);  // the second lies at x 75

  RedrawScene stopped;
  StoppingInterface ui(stopped.control, 1);
  stopped.particles.Particles[1].startCell = {3, 4, 1};
  stopped.Redraw(ui, 1);
  EXPECT_EQ(stopped.plan.Of("box").size(), 1u);

  RedrawScene busy;
  busy.busy.trackingRun = true;
  busy.Redraw(kReleaseDotFactor);
  EXPECT_TRUE(busy.plan.elements.empty());
}

TrackSegment TimedMove(int particle, int direction, PlanPoint from, PlanPoint to, double time) {
  return {.particle = particle, .direction = direction, .from = from, .to = to, .time = time};
}

TEST(StoredPathlines, ThePathlineUnderAPointGivesItsParticleAndTheTimeThere) {
  StoredPathlines paths;
  paths.ReleasePoint(1, 1, {.time = 100});  // particle 1 starts late
  paths.Segment(TimedMove(1, 1, {0, 0, 0}, {10, 0, 0}, 120));
  paths.Segment(TimedMove(1, 1, {10, 0, 0}, {10, 10, 0}, 160));
  paths.Segment(TimedMove(2, -1, {0, 20, 0}, {20, 20, 0}, 50));  // no release time: the move's own
  const struct {
    double x, y;
    int particle, direction;
    double time;
  } hits[] = {
      {5, 1, 1, 1, 110},    // halfway along the first move
      {11, 7.5, 1, 1, 150},  // three quarters along the second
      {10, 19, 2, -1, 50},
  };
  for (const auto& h : hits) {
    SCOPED_TRACE(h.x);
    const std::optional<PathlineHit> hit = paths.PathlineAt(h.x, h.y, 2);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->particle, h.particle);
    EXPECT_EQ(hit->direction, h.direction);
    EXPECT_DOUBLE_EQ(hit->time, h.time);
  }
  EXPECT_FALSE(paths.PathlineAt(5, 5, 2).has_value());  // farther than the reach from all
  StoredPathlines renumbered = paths;
  renumbered.Renumber(ParticleRenumbering({2}));  // particle 1 deleted: 2 is now 1
  EXPECT_FALSE(renumbered.PathlineAt(5, 1, 2).has_value());
  const std::optional<PathlineHit> moved = renumbered.PathlineAt(10, 19, 2);
  ASSERT_TRUE(moved.has_value());
  EXPECT_EQ(moved->particle, 1);
  EXPECT_EQ(moved->direction, -1);
  paths.KeepParticles(1);
  EXPECT_FALSE(paths.PathlineAt(10, 19, 2).has_value());
  paths.Clear();
  EXPECT_FALSE(paths.PathlineAt(5, 1, 2).has_value());
}

}  // namespace
}  // namespace kestra
