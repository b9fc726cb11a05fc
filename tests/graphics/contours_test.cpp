// Contours: the table of levels, its file and the edits of its columns, the
// lines traced through the nodes and their labels.
#include "graphics/contours.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

#include "graphics/contour_labels.h"
#include "graphics/contour_table.h"
#include "graphics/contour_table_edits.h"
#include "graphics/contour_tracing.h"
#include "graphics/hershey_import.h"
#include "graphics/stroke_text.h"
#include "graphics/world_transform.h"
#include "plot_file.h"
#include "small_models.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "view_scene.h"

namespace kestra {
namespace {

ModelState HeadModel() {
  ModelState state;
  DimensionModel(state, 3, 4, 1);
  state.DELR = {0, 10, 10, 10};
  state.DELC = {0, 10, 10, 10, 10};
  ComputeGridGeometry(state);
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 3; ++j) {
      state.IBOUND(j, i, 1) = 1;
      state.HEAD(j, i, 1) = static_cast<float>(j + i);
    }
  state.IBOUND(3, 4, 1) = 0;  // its head 7 lies outside the range
  return state;
}

// A folder for the table's file and the messages about it.
class ContourLevels : public testing::Test {
 protected:
  ContourTable Read(const std::string& name, const Settings& settings = Settings{}) {
    return ReadContourLevels(dir.File(name), HeadModel(), settings, false, ui);
  }
  test::RecordingInterface ui;
  test::TempDir dir;
  std::string error;
};

TEST_F(ContourLevels, DefaultTableSpansTheHeadRangeOfTheLayer) {
  const ContourTable table = Read("m.ctr");
  // Heads 2 to 6: round steps of 0.5, not ten steps of 0.4.
  ASSERT_EQ(table.ContourCount(), 8);
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(table.levels[i].value, 2.0f + 0.5f * i);
  EXPECT_EQ(table.levels[5].label, 1);
  EXPECT_EQ(table.levels[5].colour, 0);
  const float diagonal = std::sqrt(30.0f * 30.0f + 40.0f * 40.0f);
  EXPECT_FLOAT_EQ(table.levels[3].labelHeight, diagonal / 100);
  EXPECT_FLOAT_EQ(table.levels[3].labelSpacing, diagonal / 10);
  // Drawdowns asked for but none loaded: every level zero.
  Settings drawdowns;
  drawdowns.contourDataSource = 1;
  for (const auto& level : Read("m.ctr", drawdowns).levels) EXPECT_EQ(level.value, 0.0f);
}

// Without a stored label format the labels are fixed numbers with the
// decimals the round levels need and the unit; a stored format wins.
TEST(ReadableLabels, FollowTheStepOfTheDefaultLevels) {
  const struct {
    ValueRange range;
    const char* unit;
    const char* first;
    const char* second;
  } cases[] = {
      {{40.2f, 43.7f}, "m", "40.5 m", "41.0 m"},
      {{0.0f, 0.0125f}, "m", "0.000 m", "0.002 m"},
      {{120.0f, 980.0f}, "ft", "200 ft", "300 ft"},
      {{-3.0f, 2.0f}, "", "-3.0", "-2.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    const ContourTable table = DefaultContourTable(c.range, 100);
    ASSERT_GE(table.levels.size(), 2u);
    Settings settings;
    settings.labelFormatStored = false;
    UseReadableLabels(settings, table, c.unit);
    EXPECT_EQ(ContourLabelText(table.levels[0].value, settings), c.first);
    EXPECT_EQ(ContourLabelText(table.levels[1].value, settings), c.second);
  }
  Settings stored;
  const Settings before = stored;
  UseReadableLabels(stored, DefaultContourTable({40.2f, 43.7f}, 100), "m");
  EXPECT_EQ(stored, before);
}

TEST_F(ContourLevels, FileRoundTripKeepsEveryField) {
  ContourTable table;
  ContourLevel level{12.5f, 0x00FF00, 0, 3.5f, 40, {}};
  level.reserved[11] = 9;
  table.levels = {level, level};
  table.levels[1].value = -1;
  ASSERT_TRUE(WriteContourTable(dir.File("m.ctr"), table, error)) << error;
  EXPECT_EQ(test::ReadWholeFile(dir.File("m.ctr")).size(), 2u + 2 * 30);
  EXPECT_EQ(Read("m.ctr"), table);
}

TEST_F(ContourLevels, BadCountKeepsTheDefaultTableAndSaysSo) {
  const ContourTable defaults = Read("none.ctr");
  EXPECT_TRUE(ui.messages.empty());  // no file is no fault
  ContourTable table;
  table.levels.resize(3);
  ASSERT_TRUE(WriteContourTable(dir.File("m.ctr"), table, error)) << error;
  const std::string records = test::ReadWholeFile(dir.File("m.ctr")).substr(2);
  // Negative, 32767 (32 768 levels), more records than the file holds, no count at all.
  for (const std::string& head : {std::string("\xFF\xFF", 2), std::string("\xFF\x7F", 2), std::string("\x03\x00", 2),
                                  std::string("\x02", 1)}) {
    test::WriteWholeFile(dir.File("m.ctr"), head + (head.size() == 2 ? records : ""));
    ui.messages.clear();
    EXPECT_EQ(Read("m.ctr"), defaults);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("default contour levels"), std::string::npos);
  }
  // The largest count a file may hold reads.
  table.levels.resize(32767);
  ASSERT_TRUE(WriteContourTable(dir.File("big.ctr"), table, error)) << error;
  ui.messages.clear();
  EXPECT_EQ(Read("big.ctr").ContourCount(), 32766);
  EXPECT_TRUE(ui.messages.empty());
}

ContourTable Levels(int count) {
  ContourTable table;
  table.levels.resize(static_cast<std::size_t>(count));
  return table;
}

TEST(SpreadContourColors, EndsTakeTheSpectrumColoursAndTheMiddleRoundsToEven) {
  ContourTable table = Levels(3);
  SpreadContourColors(table, kBlack, kWhite);
  EXPECT_EQ(table.levels[0].colour, kBlack);
  EXPECT_EQ(table.levels[1].colour, RgbColour(128, 128, 128));  // 127.5
  EXPECT_EQ(table.levels[2].colour, kWhite);
  table = Levels(5);
  SpreadContourColors(table, RgbColour(200, 0, 10), RgbColour(0, 100, 10));
  EXPECT_EQ(table.levels[1].colour, RgbColour(150, 25, 10));
  EXPECT_EQ(table.levels[4].colour, RgbColour(0, 100, 10));
  // A single level keeps its own colour.
  table = Levels(1);
  table.levels[0].colour = 77;
  SpreadContourColors(table, kBlack, kWhite);
  EXPECT_EQ(table.levels[0].colour, 77);
}

TEST(RebuildLevels, CountRoundsHalvesToEven) {
  ContourTable table;
  ASSERT_TRUE(RebuildLevels(table, 0, 10, 4, 500));
  ASSERT_EQ(table.ContourCount(), 2);  // 2.5
  EXPECT_EQ(table.levels[1].value, 4);
  EXPECT_EQ(table.levels[2].value, 8);
  EXPECT_EQ(table.levels[2].label, 1);
  EXPECT_EQ(table.levels[2].colour, 0);
  EXPECT_FLOAT_EQ(table.levels[0].labelHeight, 5);
  EXPECT_FLOAT_EQ(table.levels[0].labelSpacing, 50);
  ASSERT_TRUE(RebuildLevels(table, 10, 20, 1, 500));
  ASSERT_EQ(table.ContourCount(), 10);
  EXPECT_EQ(table.levels[10].value, 20);
  ASSERT_TRUE(RebuildLevels(table, 3, 3, 1, 500));
  EXPECT_EQ(table.ContourCount(), 0);
}

TEST(RebuildLevels, RefusesRangesTheTableCannotHold) {
  ContourTable table = Levels(4);
  EXPECT_FALSE(RebuildLevels(table, 5, 4, 1, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 10, 0, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 10, -1, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 32767, 1, 500));  // 32 768 levels
  EXPECT_FALSE(RebuildLevels(table, 0, 1.0E+30f, 1.0E-30f, 500));
  EXPECT_EQ(table.ContourCount(), 3);
  EXPECT_EQ(LevelCountOfRange(0, 32766, 1), 32766);
}

TEST(SetLabelRule, FirstPositionThenEveryFrequency) {
  ContourTable table = Levels(11);
  SetLabelRule(table, 2, 3);
  for (int k = 0; k <= 10; ++k) EXPECT_EQ(table.levels[k].label, (k == 1 || k == 4 || k == 7 || k == 10) ? 1 : 0) << k;
  SetLabelRule(table, 0, 3);
  for (const auto& level : table.levels) EXPECT_EQ(level.label, 0);
  SetLabelRule(table, 3, 0);
  for (int k = 0; k <= 10; ++k) EXPECT_EQ(table.levels[k].label, k == 2 ? 1 : 0) << k;
}

TEST(DefaultLevelRange, HeadsOrLoadedDrawdownsAndTheStartValuesForAnEmptyLayer) {
  ModelState model;
  DimensionModel(model, 2, 1, 1);
  model.IBOUND(1, 1, 1) = model.IBOUND(2, 1, 1) = 1;
  model.HEAD(1, 1, 1) = 10, model.HEAD(2, 1, 1) = 20;
  model.DRAWDOWN(1, 1, 1) = 1, model.DRAWDOWN(2, 1, 1) = 2;
  Settings settings;
  EXPECT_EQ(DefaultLevelRange(model, settings, true).maximum, 20);
  settings.contourDataSource = kDrawdownDataSource;
  EXPECT_EQ(DefaultLevelRange(model, settings, true).maximum, 2);
  EXPECT_EQ(DefaultLevelRange(model, settings, false).maximum, 0);
  ModelState empty = HeadModel();
  empty.IBOUND.Dimension(empty.Shape());
  const ValueRange range = ResultRange(empty, empty.HEAD);
  EXPECT_EQ(range.minimum, 1.0E+30f);
  EXPECT_EQ(range.maximum, -1.0E+30f);
}

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

// Cells 10 units wide: node (j, i) sits at (10j - 5, 10i - 5).
ModelState FieldModel(int ncol, int nrow, const std::function<float(float, float)>& field) {
  ModelState model = test::UniformModel(ncol, nrow, 1, 10, 10);
  for (int i = 1; i <= nrow; ++i)
    for (int j = 1; j <= ncol; ++j) model.HEAD(j, i, 1) = field(model.XCENTER[j], model.YCENTER[i]);
  return model;
}

// A 12 by 10 grid of 10-unit cells with the heads of `field` (plan x, y).
struct ContourScene : test::ViewScene {
  explicit ContourScene(float (*field)(float, float)) : ViewScene(FieldModel(12, 10, field)) {
    settings.contourDisplay = kOn;
    settings.labelStyle = 0;
    settings.labelDecimals = 0;
  }

  void Level(float value, int label = 0, Colour colour = kBlue) {
    table.levels.push_back({value, colour, static_cast<std::int16_t>(label), 4, 30, {}});
  }
  void Draw() { DrawContours(context, contourInputs, model.HEAD); }
  void Redraw() {
    plan.elements.clear();
    Draw();
  }
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

TEST(DrawContours, ACacheRedrawsTheSameLinesAndTracesWhatChanged) {
  ContourScene scene(East);
  ContourCache cache;
  scene.contourInputs.cache = &cache;
  scene.Level(30, 1, kBlue);
  scene.Level(60, 0, 0x00FF00);
  scene.Draw();
  const auto traced = scene.plan.elements;
  ASSERT_EQ(cache.levels.size(), 2u);
  scene.Redraw();
  EXPECT_EQ(scene.plan.elements, traced);  // labels and all
  cache.levels[1].lines.clear();  // what a redraw draws is what the cache holds
  scene.Redraw();
  EXPECT_TRUE(scene.Lines(0x00FF00).empty());
  // A level moved, then the heads: the lines follow each change.
  scene.table.levels[1].value = 70;
  scene.Redraw();
  EXPECT_EQ(scene.Lines(0x00FF00).size(), 9u);
  EXPECT_FLOAT_EQ(scene.Lines(0x00FF00).at(4)[0], 70);
  for (int i = 1; i <= 10; ++i)
    for (int j = 1; j <= 12; ++j) scene.model.HEAD(j, i, 1) = 2 * scene.model.XCENTER[j];
  scene.Redraw();
  EXPECT_NEAR(scene.Lines(0x00FF00).at(4)[0], 35, 1e-3);
  EXPECT_EQ(cache.levels.at(1).value, 70);
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

TEST(DrawContours, LabelsSitInGapsOfTheLineOnTheScreenAndInThePlot) {
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
  // The plot holds the four pieces of line around the three labels, and the label strokes.
  const std::string dxf = scene.Dxf();
  EXPECT_EQ(test::Occurrences(dxf, "POLYLINE"), 4);
  EXPECT_EQ(test::Occurrences(dxf, "\nLINE"), 9);
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
      scene.model.origin = {.X0 = 1000, .Y0 = 500, .isSet = true};
      SetOriginAngle(scene.model.origin, c.degrees * 3.14159265f / 180);
    }
    scene.settings.labelUphill = c.uphill;
    scene.Level(c.level, 1);
    scene.Draw();
    ExpectStrokesPoint(scene, c.uphillX, 0);
  }
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

void ExpectAt(const PicturePoint& p, float x, float y) {
  EXPECT_FLOAT_EQ(p.x, x);
  EXPECT_FLOAT_EQ(p.y, y);
}

bool Same(const PicturePoint& a, const PicturePoint& b) { return a.x == b.x && a.y == b.y; }

std::vector<ContourLine> Trace(const ModelState& model, float level) {
  std::vector<ContourLine> lines;
  TraceLevel(LayerNodes(model, model.HEAD, 1, BlockedValues{}), level,
             [&](const ContourLine& line) { lines.push_back(line); });
  return lines;
}

TEST(TraceLevel, LinearFieldGivesStraightLinesAtTheExactPositions) {
  // Rising 0.3 per unit eastwards and 0.1 per unit southwards.
  const auto field = [](float x, float y) { return 0.3f * x + 0.1f * y; };
  const ModelState model = FieldModel(20, 15, field);
  const float gradient = std::hypot(0.3f, 0.1f);
  std::vector<float> offsets;  // distance of each level's line from the origin along the gradient
  for (float level : {20.0f, 30.0f, 40.0f}) {
    const auto lines = Trace(model, level);
    ASSERT_EQ(lines.size(), 1u) << level;
    const auto& points = lines[0].points;
    ASSERT_GE(points.size(), 10u);
    for (const PicturePoint& p : points) EXPECT_NEAR(field(p.x, p.y), level, 1e-3f) << p.x << " " << p.y;
    // The line crosses the whole grid from edge row to edge row of nodes.
    EXPECT_FLOAT_EQ(std::min(points.front().y, points.back().y), 5);
    EXPECT_FLOAT_EQ(std::max(points.front().y, points.back().y), 145);
    offsets.push_back((0.3f * points[3].x + 0.1f * points[3].y) / gradient);
  }
  EXPECT_NEAR(offsets[1] - offsets[0], 10 / gradient, 5e-3f);
  EXPECT_NEAR(offsets[2] - offsets[1], 10 / gradient, 5e-3f);
}

TEST(TraceLevel, NorthSouthLinesLieMidwayBetweenTheNodesUnsplitAndLevelsOutsideTheValuesDrawNothing) {
  const ModelState model = FieldModel(8, 6, [](float x, float) { return x; });
  const auto lines = Trace(model, 30);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0].points.size(), 6u);
  for (std::size_t n = 0; n < 6; ++n) ExpectAt(lines[0].points[n], 30, 5 + 10.0f * n);
  // The start node is the western node of the first edge, below the level.
  EXPECT_FLOAT_EQ(lines[0].startNode.x, 25);
  EXPECT_FALSE(lines[0].startNodeHigh);
  for (float level : {100.0f, -1.0f}) EXPECT_TRUE(Trace(model, level).empty()) << level;
  // Through 12 000 rows: more points than 10 001, still one line.
  const auto longLines = Trace(FieldModel(4, 12000, [](float x, float) { return x - 20; }), 0.5f);
  ASSERT_EQ(longLines.size(), 1u);
  EXPECT_EQ(longLines[0].points.size(), 12000u);
}

TEST(TraceLevel, RadialFieldGivesOneClosedCircle) {
  const auto radius = [](float x, float y) { return std::hypot(x - 200, y - 200); };
  const ModelState model = FieldModel(40, 40, radius);
  for (float level : {42.0f, 100.0f, 150.0f}) {
    const auto lines = Trace(model, level);
    ASSERT_EQ(lines.size(), 1u) << level;
    const auto& points = lines[0].points;
    EXPECT_TRUE(Same(points.front(), points.back()));
    double area = 0;  // shoelace: a closed ring of the circle's area
    for (std::size_t n = 0; n + 1 < points.size(); ++n) {
      EXPECT_NEAR(radius(points[n].x, points[n].y), level, 1.0f);
      area += points[n].x * points[n + 1].y - points[n + 1].x * points[n].y;
    }
    EXPECT_NEAR(std::abs(area) / 2, 3.14159 * level * level, 0.03 * 3.14159 * level * level);
  }
}

TEST(TraceLevel, LevelOnANodeIsDrawnAsIfTheNodeWereSlightlyAbove) {
  const ModelState model = FieldModel(6, 3, [](float x, float) { return (x + 5) / 10; });  // node j has value j
  auto lines = Trace(model, 3);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_LT(lines[0].points[0].x, 25);
  EXPECT_GT(lines[0].points[0].x, 24.99f);
  // Level 0 through nodes of value 0: the nodes count as 1E-20.
  const ModelState zero = FieldModel(6, 3, [](float x, float) { return (x + 5) / 10 - 3; });
  lines = Trace(zero, 0);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NEAR(lines[0].points[0].x, 25, 1e-4f);
  EXPECT_LE(lines[0].points[0].x, 25);
}

// Whether any segment of the lines enters the 10 by 10 cell centred on (x, y).
bool TouchesNode(const std::vector<ContourLine>& lines, float x, float y) {
  constexpr int kSamples = 20;
  for (const auto& line : lines)
    for (std::size_t n = 0; n + 1 < line.points.size(); ++n)
      for (int s = 0; s <= kSamples; ++s) {
        const float t = static_cast<float>(s) / kSamples;
        const float px = line.points[n].x + t * (line.points[n + 1].x - line.points[n].x);
        const float py = line.points[n].y + t * (line.points[n + 1].y - line.points[n].y);
        if (std::abs(px - x) < 4.999f && std::abs(py - y) < 4.999f) return true;
      }
  return false;
}

// The lines of levels 5 to 170 in steps of 2.5 (times `sign`), by one tracer.
std::vector<ContourLine> TraceEveryLevel(const ContourNodes& nodes, float sign = 1) {
  std::vector<ContourLine> lines;
  ContourTracer tracer(nodes);
  for (float level = 5; level < 170; level += 2.5f)
    tracer.Trace(sign * level, [&](const ContourLine& line) { lines.push_back(line); });
  return lines;
}

TEST(TraceLevel, CellsWithoutAValidResultAreNeverCrossed) {
  ModelState model = FieldModel(12, 12, [](float x, float y) { return x + 0.5f * y; });
  BlockedValues blocked{-999.99f, -1.0E+30f};
  model.HEAD(4, 3, 1) = blocked.HNOFLO;
  model.HEAD(6, 8, 1) = blocked.HDRY;
  model.HEAD(9, 5, 1) = 2.0E+25f;
  model.IBOUND(3, 10, 1) = 0;
  model.IBOUND(10, 10, 1) = -1;
  const std::pair<int, int> cells[] = {{4, 3}, {6, 8}, {9, 5}, {3, 10}, {10, 10}};
  const auto lines = TraceEveryLevel(LayerNodes(model, model.HEAD, 1, blocked));
  ASSERT_GT(lines.size(), 40u);
  for (const auto& [j, i] : cells)
    EXPECT_FALSE(TouchesNode(lines, model.XCENTER[j], model.YCENTER[i])) << j << "," << i;
  // Without the blocks the same levels do pass those cells.
  const ModelState open = FieldModel(12, 12, [](float x, float y) { return x + 0.5f * y; });
  const auto free = TraceEveryLevel(LayerNodes(open, open.HEAD, 1, blocked));
  for (const auto& [j, i] : cells) EXPECT_TRUE(TouchesNode(free, open.XCENTER[j], open.YCENTER[i])) << j << "," << i;
}

// A tracer reused level after level, with levels on node values above and
// below zero, finds what a fresh trace of each level alone finds.
TEST(ContourTracer, ReusedOverManyLevelsFindsTheLinesOfEachLevelAlone) {
  for (const float sign : {1.0f, -1.0f}) {
    ModelState model = FieldModel(12, 12, [sign](float x, float y) { return sign * (x + 0.5f * y); });
    model.IBOUND(3, 10, 1) = 0;
    const ContourNodes nodes = LayerNodes(model, model.HEAD, 1, BlockedValues{});
    std::vector<ContourLine> alone;
    for (float level = 5; level < 170; level += 2.5f)
      TraceLevel(nodes, sign * level, [&](const ContourLine& line) { alone.push_back(line); });
    const std::vector<ContourLine> reused = TraceEveryLevel(nodes, sign);
    ASSERT_EQ(reused.size(), alone.size()) << sign;
    ASSERT_GT(reused.size(), 40u);
    for (std::size_t n = 0; n < alone.size(); ++n) {
      ASSERT_EQ(reused[n].points.size(), alone[n].points.size()) << n;
      for (std::size_t p = 0; p < alone[n].points.size(); ++p)
        EXPECT_TRUE(Same(reused[n].points[p], alone[n].points[p])) << n << ":" << p;
      EXPECT_EQ(reused[n].startNodeHigh, alone[n].startNodeHigh) << n;
    }
  }
}

TEST(TraceLevel, OpenLineCrossingItsStartEdgeComesInTwoHalves) {
  // x - y = -32 first meets a row edge in row 5 (y 45, x 13), inside the grid.
  const ModelState model = FieldModel(10, 10, [](float x, float y) { return x - y; });
  const auto lines = Trace(model, -32);
  ASSERT_EQ(lines.size(), 2u);
  ExpectAt(lines[0].points[0], 13, 45);
  EXPECT_TRUE(Same(lines[1].points[0], lines[0].points[0]));
  // Up to the western edge, then down to the southern edge.
  ASSERT_EQ(lines[0].points.size(), 2u);
  EXPECT_FLOAT_EQ(lines[0].points[1].x, 5);
  EXPECT_FLOAT_EQ(lines[1].points.back().y, 95);
}

TEST(TraceLevel, SaddleSquareIsLeftByTheFirstExitInTheOrder) {
  // Four nodes, high on one diagonal and low on the other: two lines through one square.
  ModelState model = test::UniformModel(2, 2, 1, 10, 10);
  model.HEAD(1, 1, 1) = 1;
  model.HEAD(2, 1, 1) = 0;
  model.HEAD(1, 2, 1) = 0;
  model.HEAD(2, 2, 1) = 1;
  const auto lines = Trace(model, 0.5f);
  ASSERT_EQ(lines.size(), 2u);
  // The first starts on the upper edge and, entered from the top, leaves by the left edge first.
  ExpectAt(lines[0].points[0], 10, 5);
  ExpectAt(lines[0].points[1], 5, 10);
}

TEST(LabelAngle, FollowsTheDirectionInEveryQuadrantAndIsComparedWholeTurnsApart) {
  const struct {
    float x1, y1, x2, y2, degrees;
  } directions[] = {{0, 0, 0, -1, 270}, {0, 0, 0, 0, 270},   {0, 0, 0, 2, 90},  {0, 0, 1, 1, 45},
                    {0, 0, -1, 1, 135}, {0, 0, -1, -1, 225}, {1, 1, 2, 0, -45}};
  for (const auto& d : directions)
    EXPECT_FLOAT_EQ(LabelAngle(d.x1, d.y1, d.x2, d.y2), d.degrees) << d.x2 - d.x1 << ", " << d.y2 - d.y1;
  EXPECT_TRUE(AnglesWithin(355, 3, 10));
  EXPECT_TRUE(AnglesWithin(-90, 270, 10));
  EXPECT_TRUE(AnglesWithin(-45, 314, 10));
  EXPECT_FALSE(AnglesWithin(355, 5, 10));
  EXPECT_FALSE(AnglesWithin(0, 180, 10));
}

TEST(ContourLabelText, FixedAndExponentialFormsWithPrefixAndSuffix) {
  const struct {
    std::int16_t style, decimals;
    const char *prefix, *suffix;
    float value;
    const char* text;
  } cases[] = {{0, 2, "", "", 12.5f, "12.50"},
               {0, 2, "h=", " m", 12.5f, "h=12.50 m"},
               {1, 2, "", "", 12.5f, "1.25E+01"},
               {0, 0, "", "", -3.0f, "-3."}};
  for (const auto& c : cases) {
    Settings settings;
    settings.labelStyle = c.style;
    settings.labelDecimals = c.decimals;
    settings.labelPrefix = c.prefix;
    settings.labelSuffix = c.suffix;
    EXPECT_EQ(ContourLabelText(c.value, settings), c.text) << c.text;
  }
}

std::vector<PicturePoint> Straight(float length, float step) {
  std::vector<PicturePoint> points;
  for (float x = 0; x <= length; x += step) points.push_back({x, 0});
  return points;
}

TEST(PlaceLabels, StartHalfASpacingInAndRepeatEverySpacing) {
  const auto places = PlaceLabels(Straight(100, 10), 5, 40);
  // At 100 the line ends before a label 5 long would: no third label.
  ASSERT_EQ(places.size(), 2u);
  EXPECT_FLOAT_EQ(places[0].p.x, 20);
  EXPECT_FLOAT_EQ(places[0].q.x, 25);
  EXPECT_EQ(places[0].pSegment, 1u);  // at the end of the segment from 10 to 20
  EXPECT_EQ(places[0].qSegment, 2u);
  EXPECT_DOUBLE_EQ(places[0].pLength, 20);
  EXPECT_DOUBLE_EQ(places[0].qLength, 25);
  EXPECT_FLOAT_EQ(places[1].p.x, 60);
  EXPECT_FLOAT_EQ(places[1].q.x, 65);
}

TEST(PlaceLabels, LabelEndIsFoundOnTheSegmentBeyondItsStart) {
  // Points 10 apart, a label 12 long from 15: it ends on the segment after the next.
  const auto places = PlaceLabels(Straight(50, 10), 12, 30);
  ASSERT_EQ(places.size(), 1u);
  EXPECT_FLOAT_EQ(places[0].p.x, 15);
  EXPECT_NEAR(places[0].q.x, 27, 0.2f);  // within one of the 50 search steps
  EXPECT_GE(places[0].q.x, 27);
  EXPECT_EQ(places[0].qSegment, 2u);
}

TEST(PlaceLabels, ShortLinesAndEmptySpacingGetNone) {
  EXPECT_TRUE(PlaceLabels(Straight(19, 1), 2, 40).empty());  // shorter than half the spacing
  EXPECT_TRUE(PlaceLabels(Straight(100, 10), 5, 0).empty());
  EXPECT_TRUE(PlaceLabels(Straight(100, 10), 5, -3).empty());
  EXPECT_TRUE(PlaceLabels(Straight(100, 10), 0, 40).empty());
  EXPECT_TRUE(PlaceLabels(Straight(30, 10), 15, 40).empty());  // ends less than a width after P
}

TEST(PlaceLabels, LabelsNeverOverlapWhenTheSpacingIsShorterThanThem) {
  const auto places = PlaceLabels(Straight(100, 1), 10, 4);
  ASSERT_GE(places.size(), 5u);
  for (std::size_t n = 1; n < places.size(); ++n) EXPECT_GE(places[n].pLength, places[n - 1].qLength);
}

TEST(PlaceLabels, TinySpacingOnALongLineEnds) {
  // Labels a thousandth long every thousandth along 100 000 units: a
  // thousand at most, not a hundred million.
  const auto places = PlaceLabels(Straight(100000, 1), 1.0E-3f, 1.0E-3f);
  EXPECT_GE(places.size(), 999u);
  EXPECT_LE(places.size(), 1001u);
}

TEST(PlaceLabels, PlaceWhereTheLineBendsUnderTheLabelIsAbandoned) {
  // East 10, then a long way south (plan y grows): the label at 8 would turn the corner.
  const std::vector<PicturePoint> line = {{0, 0}, {10, 0}, {10, 50}};
  const auto places = PlaceLabels(line, 5, 16);
  ASSERT_EQ(places.size(), 2u);
  ExpectAt(places[0].p, 10, 14);
  EXPECT_FLOAT_EQ(places[1].p.y, 30);
}

}  // namespace
}  // namespace kestra
