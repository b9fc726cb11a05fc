#include "graphics/contours.h"

#include <cmath>

#include <gtest/gtest.h>

#include "graphics/hershey_import.h"
#include "graphics/stroke_text.h"
#include "graphics/world_transform.h"
#include "plot_file.h"
#include "recording_picture.h"
#include "small_models.h"
#include "support/recording_interface.h"

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

// A 12 by 10 grid of 10-unit cells with the heads of `field` (plan x, y).
struct ContourScene {
  explicit ContourScene(float (*field)(float, float)) {
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) model.HEAD(j, i, 1) = field(model.XCENTER[j], model.YCENTER[i]);
    settings.contourDisplay = kOn;
    settings.labelStyle = 0;
    settings.labelDecimals = 0;
  }

  void Level(float value, int label = 0, float height = 4, float spacing = 30, Colour colour = 0x0000FF) {
    table.levels.push_back({value, colour, static_cast<std::int16_t>(label), height, spacing, {}});
  }

  void Draw() { DrawContours(context, inputs, model.HEAD); }

  // Lines drawn on the plan in the colour, as x1, y1, x2, y2.
  std::vector<std::vector<float>> Lines(Colour colour = 0x0000FF) const {
    std::vector<std::vector<float>> lines;
    for (const auto& e : plan.Of("line"))
      if (e.colour == colour) lines.push_back(e.values);
    return lines;
  }

  ModelState model = test::UniformModel(12, 10, 1, 10, 10);
  ViewLayout layout = test::WholeGridLayout(model);
  test::RecordingPicture plan, row, column;
  PlotDevice device;
  Settings settings;
  ContourTable table;
  StrokeFont font = UpStrokeFont();
  test::RecordingInterface ui;
  BusyFlags busy;
  PlotContext context{plan, row, column, device, model, layout};
  ContourInputs inputs{settings, table, font, ui, busy};
};

float East(float x, float) { return x; }
float West(float x, float) { return 200 - x; }

TEST(DrawContours, LinesFollowTheLevelsInTheirColours) {
  ContourScene scene(East);
  scene.Level(30, 0, 4, 30, 0x0000FF);
  scene.Level(60, 0, 4, 30, 0x00FF00);
  scene.Draw();
  const auto first = scene.Lines(0x0000FF);
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
  test::TempDir dir;
  const std::string dxf = test::PlotOf(scene.model, kPlotFormatDxf, dir.File("c.dxf"), [&](PlotContext& context) {
    DrawContours(context, scene.inputs, scene.model.HEAD);
  });
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
  scene.Level(30, 0, 4, 30, 0x0000FF);
  scene.Level(60, 0, 4, 30, 0x00FF00);
  DrawContours(scene.context, inputs, scene.model.HEAD);
  EXPECT_EQ(scene.Lines(0x0000FF).size(), 9u);
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
  scene.Level(30, 1, 4, 30);
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

TEST(DrawContours, LabelsReadUphill) {
  for (float (*field)(float, float) : {East, West}) {
    ContourScene scene(field);
    scene.Level(field == East ? 30 : 170, 1, 4, 30);
    scene.Draw();
    ExpectStrokesPoint(scene, field == East ? 1 : -1, 0);
  }
}

TEST(DrawContours, LabelsReadUphillOnRotatedModels) {
  for (float angle : {30.0f, 135.0f, 250.0f}) {
    ContourScene scene(West);
    scene.model.origin.X0 = 1000;
    scene.model.origin.Y0 = 500;
    SetOriginAngle(scene.model.origin, angle * 3.14159265f / 180);
    scene.model.origin.isSet = true;
    scene.Level(170, 1, 4, 30);
    scene.Draw();
    ExpectStrokesPoint(scene, -1, 0);
  }
}

TEST(DrawContours, WithoutUphillLabelsFollowTheTraceDirection) {
  // The traces run south; text along south has its tops to the east.
  ContourScene scene(West);
  scene.settings.labelUphill = kOff;
  scene.Level(170, 1, 4, 30);
  scene.Draw();
  ExpectStrokesPoint(scene, 1, 0);
}

TEST(DrawContours, DxfPlotHoldsTheLinesAndTheLabelStrokes) {
  ContourScene scene(East);
  scene.Level(30, 1, 4, 30);
  test::TempDir dir;
  const std::string dxf = test::PlotOf(scene.model, kPlotFormatDxf, dir.File("c.dxf"), [&](PlotContext& context) {
    DrawContours(context, scene.inputs, scene.model.HEAD);
  });
  EXPECT_EQ(test::Occurrences(dxf, "POLYLINE"), 4);  // four pieces around three labels
  EXPECT_EQ(test::Occurrences(dxf, "\nLINE"), 9);
}

TEST(ContourSource, DrawdownsOnlyWhenLoaded) {
  ModelState model;
  Settings settings;
  EXPECT_EQ(ContourSource(model, settings, false), &model.HEAD);
  settings.contourDataSource = 1;
  EXPECT_EQ(ContourSource(model, settings, true), &model.DRAWDOWN);
  EXPECT_EQ(ContourSource(model, settings, false), nullptr);
}

}  // namespace
}  // namespace kestra
