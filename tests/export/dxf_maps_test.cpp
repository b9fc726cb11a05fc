#include "export/dxf_maps.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../graphics/view_scene.h"
#include "graphics/world_transform.h"
#include "dxf_text.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

constexpr Colour kMapColour = RgbColour(0, 0, 128);
constexpr Colour kRed = RgbColour(255, 0, 0);

std::string Line(const char* x1, const char* y1, const char* x2, const char* y2, const char* colour = nullptr) {
  std::string text = Dxf({{"0", "LINE"}, {"10", x1}, {"20", y1}, {"11", x2}, {"21", y2}});
  if (colour) text += Dxf({{"62", colour}});
  return text;
}

// The interface of the map tests: presses Esc once while the hint names `escapeMap`.
class MapInterface : public StatusRecordingInterface {
 public:
  void SetHint(const std::string& text) override {
    hint = text;
    if (!text.empty()) hints.push_back(text);
  }
  bool EscapePressed() override {
    if (escapeMap == 0 || hint != DrawMapHint(escapeMap) || pressed) return false;
    pressed = true;
    return true;
  }
  std::vector<std::string> hints;
  int escapeMap = 0;
  bool pressed = false;
};

// A 10 x 10 grid of 100-unit cells at its default position: world (x, y)
// lies at plan (x, 1000 - y).
struct MapScene : ViewScene {
  MapScene() : ViewScene(UniformModel(10, 10, 1, 100, 100)) {}

  // Map n shows the file with the text, factor 1 and no shift.
  void SetMap(int n, const std::string& text, float factor = 1, float shiftX = 0, float shiftY = 0) {
    const std::string path = dir.File("map" + std::to_string(n) + ".dxf");
    WriteWholeFile(path, text);
    settings.dxfMaps[n] = {path, shiftX, shiftY, factor, kOn, kMapColour};
  }
  void Draw() { DrawDxfMaps(context, MapInputs{settings, mapUi, font, cache}); }
  std::vector<std::vector<float>> PlanLines(Colour colour) const { return Drawn(plan, "line", colour); }

  TempDir dir;
  MapInterface mapUi;
  StrokeFont font;
  DxfMapCache cache;
};

StrokeFont LoadedFont() {
  StrokeFont font;
  std::string error;
  const auto path = FindStrokeFontFile(KESTRA_BUILD_DIR);
  EXPECT_TRUE(LoadStrokeFont(path, font, error)) << error;
  return font;
}

TEST(DxfMaps, ScaledShiftedAndPlacedOnThePlan) {
  MapScene scene;
  scene.SetMap(1, Line("10", "20", "30", "40"), 2, 100, 50);
  scene.Draw();
  const auto lines = scene.PlanLines(kMapColour);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], (std::vector<float>{120, 1000 - 90, 160, 1000 - 130}));
}

TEST(DxfMaps, EntityColoursComeFromTheTableExceptWhite) {
  EXPECT_EQ(MapEntityColour(1, kMapColour), kRed);
  EXPECT_EQ(MapEntityColour(7, kMapColour), kMapColour);  // white
  EXPECT_EQ(MapEntityColour(0, kMapColour), kMapColour);
  EXPECT_EQ(MapEntityColour(256, kMapColour), kMapColour);
  EXPECT_EQ(MapEntityColour(-1, kMapColour), kMapColour);
}

TEST(DxfMaps, FactorZeroDrawsOnlyTexts) {
  MapScene scene;
  scene.font = LoadedFont();
  scene.SetMap(1, Line("10", "20", "30", "40") + Dxf({{"0", "CIRCLE"}, {"10", "1"}, {"20", "1"}, {"40", "5"},
                                                     {"0", "TEXT"}, {"1", "A"}, {"10", "100"}, {"20", "100"},
                                                     {"40", "10"}, {"62", "1"}}),
               0);
  scene.Draw();
  EXPECT_TRUE(scene.PlanLines(kMapColour).empty());
  EXPECT_TRUE(scene.plan.Of("circle").empty());
  // A text without size shows as a dot at its place.
  EXPECT_EQ(scene.plan.elements.size(), 1u);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "point", kRed), (std::vector<std::vector<float>>{{0, 1000}}));
}

TEST(DxfMaps, MapsAreKeptOnlyWhileDisplayed) {
  MapScene scene;
  scene.SetMap(1, Line("10", "20", "30", "40"));
  scene.SetMap(2, Line("10", "20", "30", "40"));
  scene.Draw();
  EXPECT_EQ(scene.cache.maps.size(), 2u);
  scene.settings.dxfMaps[1].display = kOff;
  scene.Draw();
  ASSERT_EQ(scene.cache.maps.size(), 1u);
  EXPECT_EQ(scene.cache.maps.begin()->first, scene.settings.dxfMaps[2].file);
}

TEST(DxfMaps, MissingOrHiddenMapsAreSkippedSilently) {
  MapScene scene;
  scene.SetMap(1, Line("10", "20", "30", "40"));
  scene.settings.dxfMaps[1].display = kOff;
  scene.settings.dxfMaps[2] = {scene.dir.File("gone.dxf"), 0, 0, 1, kOn, kMapColour};
  scene.Draw();
  EXPECT_TRUE(scene.plan.elements.empty());
  EXPECT_TRUE(scene.mapUi.messages.empty());
  EXPECT_TRUE(scene.mapUi.hints.empty());
}

TEST(DxfMaps, OpenChainsStayOpenAndClosedOnesClose) {
  MapScene scene;
  std::string text = Dxf({{"0", "POLYLINE"}});
  for (const char* x : {"0", "100", "200", "300", "400"}) text += Dxf({{"0", "VERTEX"}, {"10", x}, {"20", "500"}});
  text += Dxf({{"0", "SEQEND"}, {"0", "LWPOLYLINE"}, {"70", "1"}, {"10", "0"}, {"20", "0"}, {"10", "100"},
               {"20", "0"}, {"10", "100"}, {"20", "100"}});
  scene.SetMap(1, text);
  scene.Draw();
  const auto lines = scene.PlanLines(kMapColour);
  // A dot and four segments for the five vertices; two sides and the closing one.
  ASSERT_EQ(lines.size(), 4u + 3u);
  EXPECT_EQ(lines[3], (std::vector<float>{300, 500, 400, 500}));
  EXPECT_EQ(lines[6], (std::vector<float>{100, 900, 0, 1000}));
  EXPECT_EQ(scene.plan.Of("point").size(), 2u + 2u * 7u);
}

TEST(DxfMaps, SolidsFillTheirOutlineOnTheScreenOnly) {
  MapScene scene;
  scene.SetMap(1, Dxf({{"0", "SOLID"}, {"10", "0"}, {"20", "0"}, {"11", "100"}, {"21", "0"}, {"12", "0"},
                       {"22", "100"}, {"13", "100"}, {"23", "100"}, {"62", "1"}}));
  scene.device.PlotToFile = true;
  scene.Draw();
  const auto polygons = scene.plan.Of("polygon");
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].colour, kRed);
  EXPECT_EQ(polygons[0].values, (std::vector<float>{0, 1000, 100, 1000, 100, 900, 0, 900}));
}

TEST(DxfMaps, ArcsFollowTheRotationOfTheModel) {
  MapScene scene;
  SetOriginAngle(scene.model.origin, static_cast<float>(std::acos(-1.0) / 6));  // 30 degrees
  scene.SetMap(1, Dxf({{"0", "ARC"}, {"10", "0"}, {"20", "1000"}, {"40", "50"}, {"50", "60"}, {"51", "10"}}));
  scene.Draw();
  const auto arcs = scene.plan.Of("arc");
  ASSERT_EQ(arcs.size(), 1u);
  const double degree = std::acos(-1.0) / 180;
  EXPECT_NEAR(arcs[0].values[2], 50, 1e-4);
  EXPECT_NEAR(arcs[0].values[3], 30 * degree, 1e-5);
  EXPECT_NEAR(arcs[0].values[4], 340 * degree, 1e-5);
}

TEST(DxfMaps, EscapeEndsOneMapAndTheNextIsStillDrawn) {
  MapScene scene;
  std::string many;
  for (int n = 0; n < 100; ++n) many += Line("0", "0", "10", "10");
  scene.SetMap(1, many);
  scene.SetMap(2, many);
  scene.SetMap(3, many);
  scene.mapUi.escapeMap = 2;
  scene.Draw();
  const std::size_t drawn = scene.PlanLines(kMapColour).size();
  EXPECT_GT(drawn, 200u);
  EXPECT_LT(drawn, 300u);
  EXPECT_EQ(scene.mapUi.hints, (std::vector<std::string>{DrawMapHint(1), DrawMapHint(2), DrawMapHint(3)}));
  EXPECT_EQ(scene.mapUi.hints[1], "Draw DXF Map #2; Press ESC to Break");
  EXPECT_EQ(scene.mapUi.hint, "");
}

TEST(DxfMaps, ABrokenMapSaysSoOnceAndDrawsWhatCameBefore) {
  MapScene scene;
  scene.SetMap(1, Line("0", "0", "10", "10") + "X\nY\n" + Line("0", "0", "10", "10"));
  scene.Draw();
  scene.Draw();
  EXPECT_EQ(scene.PlanLines(kMapColour).size(), 2u);
  ASSERT_EQ(scene.mapUi.messages.size(), 1u);
  EXPECT_EQ(scene.mapUi.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(scene.mapUi.beeps, 1);
}

TEST(DxfMaps, DrawsWhatEzdxfWrites) {
  MapScene scene;
  scene.font = LoadedFont();
  scene.SetMap(1, ReadWholeFile((TestDataDir() / "maps" / "shapes_r2010.dxf").string()));
  scene.layout.zoom = ZoomWindow{-100, -100, 1100, 1100, 1200, 1200};
  scene.Draw();
  const auto red = scene.PlanLines(kRed);
  ASSERT_EQ(red.size(), 1u);
  EXPECT_EQ(red[0], (std::vector<float>{10, 980, 110, 980}));
  const auto own = scene.PlanLines(kMapColour);
  // The closed square has four sides, the open polyline two.
  ASSERT_EQ(own.size(), 4u + 2u);
  EXPECT_EQ(own[3], (std::vector<float>{200, 700, 200, 800}));
  const auto circles = scene.plan.Of("circle");
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(circles[0].values, (std::vector<float>{700, 900, 50}));
  EXPECT_EQ(circles[0].colour, RgbColour(0, 0, 255));
  const auto arcs = scene.plan.Of("arc");
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_NEAR(arcs[0].values[4], std::acos(-1.0) / 2, 1e-6);
  ASSERT_EQ(scene.plan.Of("polygon").size(), 1u);
  // The text strokes lie right of the insertion point, within the text height.
  const auto green = scene.PlanLines(RgbColour(0, 255, 0));
  ASSERT_GT(green.size(), 4u);
  for (const auto& stroke : green)
    for (int n = 0; n < 4; n += 2) {
      EXPECT_GE(stroke[n], 599);
      EXPECT_LE(stroke[n], 650);
      EXPECT_GE(stroke[n + 1], 1000 - 600 - 25);
      EXPECT_LE(stroke[n + 1], 1000 - 600 + 5);
    }
  // The white point takes the map's colour.
  bool whitePoint = false;
  for (const DrawnElement& e : scene.plan.Of("point")) whitePoint |= e.values == std::vector<float>{5, 995};
  EXPECT_TRUE(whitePoint);
}

}  // namespace
}  // namespace kestra::test
