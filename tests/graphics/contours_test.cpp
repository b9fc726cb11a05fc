#include "graphics/contours.h"

#include <cmath>

#include <gtest/gtest.h>

#include "graphics/hershey_import.h"
#include "graphics/stroke_text.h"
#include "graphics/world_transform.h"
#include "plot_file.h"
#include "view_scene.h"

namespace kestra {
namespace {

// Every character one stroke from the baseline straight up to the cap
// height: drawn, it points where the tops of the letters point.
StrokeFont UpStrokeFont() {
  std::string text;
  for (int g = 0; g < 95; ++g) text += "12345  3HXR[RF\n";
  StrokeFont font;
  std::string error;
  EXPECT_TRUE(ImportHersheyFont(text, font, error)) << error;
  return font;
}

constexpr Colour kBlue = 0x0000FF;

// A 12 by 10 grid of 10-unit cells with the heads of `field` (plan x, y).
struct ContourScene : test::ViewScene {
  explicit ContourScene(float (*field)(float, float)) : ViewScene(test::UniformModel(12, 10, 1, 10, 10)) {
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) model.HEAD(j, i, 1) = field(model.XCENTER[j], model.YCENTER[i]);
    settings.contourDisplay = kOn;
    settings.labelStyle = 0;
    settings.labelDecimals = 0;
  }

  void Level(float value, int label = 0, Colour colour = kBlue) {
    table.levels.push_back({value, colour, static_cast<std::int16_t>(label), 4, 30, {}});
  }
  void Draw() { DrawContours(context, contourInputs, model.HEAD); }
  std::string Dxf() {
    return test::PlotOf(model, kPlotFormatDxf, [&](PlotContext& c) { DrawContours(c, contourInputs, model.HEAD); });
  }
  // Lines drawn on the plan in the colour, as x1, y1, x2, y2.
  std::vector<std::vector<float>> Lines(Colour colour = kBlue) const { return Drawn(plan, "line", colour); }

  ContourTable table;
  StrokeFont font = UpStrokeFont();
  BusyFlags busy;
  ContourInputs contourInputs{settings, table, font, ui, busy};
};

float East(float x, float) { return x; }
float West(float x, float) { return 200 - x; }

TEST(DrawContours, LinesFollowTheLevelsInTheirColours) {
  ContourScene scene(East);
  scene.Level(30, 0, kBlue);
  scene.Level(60, 0, 0x00FF00);
  scene.Draw();
  const auto first = scene.Lines(kBlue);
  const auto second = scene.Lines(0x00FF00);
  ASSERT_EQ(first.size(), 9u);  // one per pair of node rows
  ASSERT_EQ(second.size(), 9u);
  for (const auto& l : first) {
    EXPECT_FLOAT_EQ(l[0], 30);
    EXPECT_FLOAT_EQ(l[2], 30);
  }
  EXPECT_FLOAT_EQ(second[4][0], 60);
}

TEST(DrawContours, NothingWithoutTheSwitchUnlessAPlotIsWritten) {
  ContourScene scene(East);
  scene.settings.contourDisplay = kOff;
  scene.Level(30);
  scene.Draw();
  EXPECT_TRUE(scene.plan.elements.empty());
  const std::string dxf = scene.Dxf();
  EXPECT_EQ(test::Occurrences(dxf, "POLYLINE"), 1);
  EXPECT_EQ(test::Occurrences(dxf, "VERTEX"), 10);
}

TEST(DrawContours, ShowsItsHintAndMeterAndClearsTheBusyFlag) {
  ContourScene scene(East);
  for (float v = 10; v <= 110; v += 10) scene.Level(v);
  scene.Draw();
  EXPECT_FALSE(scene.busy.contourDrawing);
  EXPECT_EQ(scene.ui.hint, "");
  EXPECT_FALSE(scene.ui.hourglassOn);
  ASSERT_GE(scene.ui.meterValues.size(), 3u);
  EXPECT_EQ(scene.ui.meterValues[1], 9);
  EXPECT_EQ(scene.ui.meterValues[scene.ui.meterValues.size() - 2], 100);
}

// The hint while the levels are drawn, seen from inside the loop.
class HintWatchingInterface : public test::RecordingInterface {
 public:
  bool EscapePressed() override {
    hintsSeen.push_back(hint);
    return escapeAnswer;
  }
  std::vector<std::string> hintsSeen;
};

TEST(DrawContours, EscStopsAfterTheLevelBeingDrawn) {
  ContourScene scene(East);
  HintWatchingInterface ui;
  ui.escapeAnswer = true;
  ContourInputs inputs{scene.settings, scene.table, scene.font, ui, scene.busy};
  scene.Level(30, 0, kBlue);
  scene.Level(60, 0, 0x00FF00);
  DrawContours(scene.context, inputs, scene.model.HEAD);
  EXPECT_EQ(scene.Lines(kBlue).size(), 9u);
  EXPECT_TRUE(scene.Lines(0x00FF00).empty());
  ASSERT_EQ(ui.hintsSeen.size(), 1u);
  EXPECT_EQ(ui.hintsSeen[0], kDrawContoursHint);
  EXPECT_FALSE(scene.busy.contourDrawing);
}

// Label strokes: the segments that do not run along the north-south contour lines.
std::vector<std::vector<float>> LabelStrokes(const ContourScene& scene) {
  std::vector<std::vector<float>> strokes;
  for (const auto& l : scene.Lines())
    if (std::abs(l[0] - l[2]) > 1e-3f) strokes.push_back(l);
  return strokes;
}

TEST(DrawContours, LabelsSitInGapsOfTheLine) {
  ContourScene scene(East);
  scene.Level(30, 1);
  scene.Draw();
  // "30." is three glyphs: three strokes per label, labels at 15 and 45 and 75 along the line.
  const auto strokes = LabelStrokes(scene);
  ASSERT_EQ(strokes.size(), 9u);
  float drawn = 0;
  for (const auto& l : scene.Lines())
    if (std::abs(l[0] - l[2]) <= 1e-3f) drawn += std::abs(l[3] - l[1]);
  const float width = MeasureStrokeText(scene.font, SetTextStyle(1, 0, 0, 1), "30.", 4.4f);
  EXPECT_NEAR(drawn, 90 - 3 * width, 0.61f);  // each gap ends within a search step of 0.2
}

// Whether every label stroke (baseline to cap) points along `uphill`, in world coordinates.
void ExpectStrokesPoint(const ContourScene& scene, float uphillX, float uphillY) {
  const auto strokes = LabelStrokes(scene);
  ASSERT_FALSE(strokes.empty());
  const ModelOrigin origin = PlotOrigin(scene.model);
  const WorldPoint o = PlanToWorld(origin, 0, 0);
  const WorldPoint u = PlanToWorld(origin, uphillX, uphillY);
  for (const auto& l : strokes) {
    const WorldPoint a = PlanToWorld(origin, l[0], l[1]);
    const WorldPoint b = PlanToWorld(origin, l[2], l[3]);
    const float along = (b.x - a.x) * (u.x - o.x) + (b.y - a.y) * (u.y - o.y);
    EXPECT_GT(along, 0.9f * 4.4f) << l[0] << " " << l[1] << " " << l[2] << " " << l[3];
  }
}

TEST(DrawContours, LabelsReadUphillOrAlongTheTrace) {
  const struct {
    const char* what;
    float (*field)(float, float);
    float level, degrees, uphillX;
    std::int16_t uphill;
  } cases[] = {
      {"rising east", East, 30, 0, 1, kOn},
      {"rising west", West, 170, 0, -1, kOn},
      {"rising west, turned 30 degrees", West, 170, 30, -1, kOn},
      {"rising west, turned 135 degrees", West, 170, 135, -1, kOn},
      {"rising west, turned 250 degrees", West, 170, 250, -1, kOn},
      // The traces run south; text along south has its tops to the east.
      {"along the trace", West, 170, 0, 1, kOff},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ContourScene scene(c.field);
    if (c.degrees != 0) {
      scene.model.origin.X0 = 1000;
      scene.model.origin.Y0 = 500;
      SetOriginAngle(scene.model.origin, c.degrees * 3.14159265f / 180);
      scene.model.origin.isSet = true;
    }
    scene.settings.labelUphill = c.uphill;
    scene.Level(c.level, 1);
    scene.Draw();
    ExpectStrokesPoint(scene, c.uphillX, 0);
  }
}

TEST(DrawContours, DxfPlotHoldsTheLinesAndTheLabelStrokes) {
  ContourScene scene(East);
  scene.Level(30, 1);
  const std::string dxf = scene.Dxf();
  EXPECT_EQ(test::Occurrences(dxf, "POLYLINE"), 4);  // four pieces around three labels
  EXPECT_EQ(test::Occurrences(dxf, "\nLINE"), 9);
}

TEST(ContourSource, TheChosenResultOnlyWhenItLoadedWhole) {
  ModelState model;
  Settings settings;
  EXPECT_EQ(ContourSource(model, settings, true, false), &model.HEAD);
  EXPECT_EQ(ContourSource(model, settings, false, true), nullptr);
  settings.contourDataSource = 1;
  EXPECT_EQ(ContourSource(model, settings, false, true), &model.DRAWDOWN);
  EXPECT_EQ(ContourSource(model, settings, true, false), nullptr);
}

}  // namespace
}  // namespace kestra
