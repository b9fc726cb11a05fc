// DXF base maps: the file read into entities, and the entities drawn on the plan.
#include "export/dxf_maps.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

#include "../graphics/view_scene.h"
#include "export/dxf_map_file.h"
#include "graphics/world_transform.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

// A DXF text from group code and value pairs.
std::string Dxf(std::initializer_list<std::pair<const char*, const char*>> pairs) {
  std::string text;
  for (const auto& [code, value] : pairs) text += std::string(code) + "\n" + value + "\n";
  return text;
}

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

std::string MapFileText(const char* name) { return ReadWholeFile((TestDataDir() / "maps" / name).string()); }

TEST(DxfMaps, ScaledShiftedAndPlacedOnThePlan) {
  MapScene scene;
  scene.SetMap(1, Line("10", "20", "30", "40"), 2, 100, 50);
  scene.Draw();
  const auto lines = scene.PlanLines(kMapColour);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], (std::vector<float>{120, 1000 - 90, 160, 1000 - 130}));
}

// Red (1) and white (7) are drawn from the ezdxf map, no index (0) by every map without group 62.
TEST(DxfMaps, ColourIndicesOutsideTheTableTakeTheMapsColour) {
  for (const int index : {256, -1}) EXPECT_EQ(MapEntityColour(index, kMapColour), kMapColour) << index;
}

TEST(DxfMaps, FactorZeroDrawsOnlyTexts) {
  MapScene scene;
  scene.font = LoadedFont();
  scene.SetMap(1, Line("10", "20", "30", "40") + Dxf({{"0", "CIRCLE"}, {"10", "1"}, {"20", "1"}, {"40", "5"},
                                                     {"0", "TEXT"}, {"1", "A"}, {"10", "100"}, {"20", "100"},
                                                     {"40", "10"}, {"62", "1"}}),
               0);
  scene.Draw();
  // Nothing but the text, which without size shows as a dot at its place.
  EXPECT_EQ(scene.plan.elements.size(), 1u);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "point", kRed), (std::vector<std::vector<float>>{{0, 1000}}));
}

TEST(DxfMaps, MapsAreKeptOnlyWhileDisplayed) {
  MapScene scene;
  for (const int n : {1, 2}) scene.SetMap(n, Line("10", "20", "30", "40"));
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
  for (const int n : {1, 2, 3}) scene.SetMap(n, many);
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
  scene.SetMap(1, MapFileText("shapes_r2010.dxf"));
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
  const auto ownPoints = ViewScene::Drawn(scene.plan, "point", kMapColour);
  EXPECT_NE(std::find(ownPoints.begin(), ownPoints.end(), std::vector<float>{5, 995}), ownPoints.end());
}

DxfMapContent Read(const std::string& text) {
  DxfMapContent content;
  ReadDxfMap(text, content);
  return content;
}

void ExpectPoint(const MapPoint& point, float x, float y) {
  EXPECT_EQ(point.x, x);
  EXPECT_EQ(point.y, y);
}

TEST(DxfMapFile, ReadsEachEntityKindWithItsValues) {
  const DxfMapContent map = Read(Dxf({{"0", "SECTION"}, {"2", "ENTITIES"},
                                      {"0", "POINT"}, {"10", "1"}, {"20", "2"}, {"62", "3"},
                                      // Text values of groups the map does not use are no problem.
                                      {"0", "LINE"}, {"5", "2F"}, {"100", "AcDbEntity"}, {"8", "Layer 1"},
                                      {"6", "DASHED"}, {"10", "1"}, {"20", "2"}, {"11", "3"}, {"21", "4"},
                                      {"0", "CIRCLE"}, {"10", "5"}, {"20", "6"}, {"40", "7"},
                                      {"0", "ARC"}, {"10", "5"}, {"20", "6"}, {"40", "7"}, {"50", "30"}, {"51", "60"},
                                      {"0", "TEXT"}, {"1", "Well  A "}, {"10", "8"}, {"20", "9"}, {"40", "2.5"},
                                      {"41", "0.5"}, {"50", "45"},
                                      {"0", "ENDSEC"}, {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 5u);
  EXPECT_EQ(map.entities[0].kind, MapEntityKind::Point);
  EXPECT_EQ(map.entities[0].colorIndex, 3);
  EXPECT_EQ(map.entities[1].kind, MapEntityKind::Line);
  EXPECT_EQ(map.entities[1].points[1].y, 4);
  EXPECT_EQ(map.entities[1].colorIndex, 0);
  EXPECT_EQ(map.entities[2].radius, 7);
  EXPECT_EQ(map.entities[3].startAngle, 30);
  EXPECT_EQ(map.entities[3].endAngle, 60);
  const MapEntity& text = map.entities[4];
  // The text value is the whole line, blanks and all.
  EXPECT_EQ(text.text, "Well  A ");
  EXPECT_EQ(text.radius, 2.5f);
  EXPECT_EQ(text.widthFactor, 0.5f);
  EXPECT_EQ(text.startAngle, 45);
}

TEST(DxfMapFile, EntitiesMissingAGroupAreLeftOut) {
  const DxfMapContent map = Read(Dxf({{"0", "LINE"}, {"10", "1"}, {"20", "2"}, {"11", "3"},
                                      {"0", "TEXT"}, {"10", "1"}, {"20", "2"}, {"40", "3"},
                                      {"0", "ARC"}, {"10", "1"}, {"20", "2"}, {"40", "3"}, {"50", "0"},
                                      {"0", "POINT"}, {"10", "1"}, {"20", "2"}, {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 1u);
  EXPECT_EQ(map.entities[0].kind, MapEntityKind::Point);
}

TEST(DxfMapFile, AValueThatIsNoNumberSkipsItsEntityOnly) {
  for (const char* bad : {"abc", "1 2", "1e39", "nan", "inf", "", "12,5"}) {
    const DxfMapContent map = Read(Dxf({{"0", "LINE"}, {"10", bad}, {"20", "2"}, {"11", "3"}, {"21", "4"},
                                        {"0", "LINE"}, {"10", " 5.5 "}, {"20", "+6"}, {"11", "-7e1"}, {"21", "8\r"},
                                        {"0", "EOF"}}));
    ASSERT_EQ(map.entities.size(), 1u) << bad;
    ExpectPoint(map.entities[0].points[0], 5.5f, 6);
    ExpectPoint(map.entities[0].points[1], -70, 8);
  }
}

TEST(DxfMapFile, AGroupCodeThatIsNoIntegerEndsTheMapAndKeepsWhatCameBefore) {
  DxfMapContent map;
  const DxfMapReadResult result = ReadDxfMap(Dxf({{"0", "POINT"}, {"10", "1"}, {"20", "2"},
                                                  {"0", "POINT"}, {"10", "3"}, {"20", "4"},
                                                  {"1.5", "x"}, {"0", "POINT"}, {"10", "5"}, {"20", "6"}}), map);
  EXPECT_EQ(result.badCodeLine, 13u);
  ASSERT_EQ(map.entities.size(), 2u);
  EXPECT_EQ(map.entities[1].points[0].x, 3);
  EXPECT_NE(BadGroupCodeMessage("/maps/site.dxf", 13).find("/maps/site.dxf"), std::string::npos);
  EXPECT_NE(BadGroupCodeMessage("/maps/site.dxf", 13).find("13"), std::string::npos);
}

TEST(DxfMapFile, EndsOnTruncatedAndOddFiles) {
  // Each of these must come back, whatever it holds.
  for (const char* text : {"0\nLINE\n10\n", "0\nLINE\n10", "0\n", "", "\n\n\n", "0\nPOINT\n0\nPOINT\n0\nVERTEX"})
    EXPECT_LE(Read(text).entities.size(), 1u) << text;
  EXPECT_EQ(Read("  0\r\nPOINT\r\n 10\r\n1\r\n 20\r\n2\r\n").entities.size(), 1u);
}

TEST(DxfMapFile, PolylineGathersItsVerticesOpenOrClosed) {
  const DxfMapContent map = Read(Dxf({{"0", "POLYLINE"}, {"62", "1"}, {"66", "1"}, {"10", "0"}, {"20", "0"},
                                      {"0", "VERTEX"}, {"10", "1"}, {"20", "1"},
                                      {"0", "VERTEX"}, {"10", "2"}, {"20", "1"}, {"62", "3"},
                                      {"0", "VERTEX"}, {"10", "x"}, {"20", "1"},
                                      {"0", "VERTEX"}, {"10", "3"}, {"20", "1"},
                                      {"0", "SEQEND"},
                                      {"0", "POLYLINE"}, {"70", "1"},
                                      {"0", "VERTEX"}, {"10", "5"}, {"20", "5"},
                                      {"0", "VERTEX"}, {"10", "6"}, {"20", "5"},
                                      {"0", "POINT"}, {"10", "0"}, {"20", "0"},
                                      {"0", "VERTEX"}, {"10", "9"}, {"20", "9"},
                                      {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 4u);
  const MapEntity& open = map.entities[0];
  EXPECT_EQ(open.kind, MapEntityKind::Polyline);
  ASSERT_EQ(open.points.size(), 3u);  // the vertex with a bad value is left out
  EXPECT_FALSE(open.closed);
  EXPECT_EQ(open.vertexColorIndex, (std::vector<int>{1, 3, 1}));
  EXPECT_TRUE(map.entities[1].closed);
  EXPECT_EQ(map.entities[1].points.size(), 2u);
  // A vertex after another entity starts a chain of its own.
  EXPECT_EQ(map.entities[3].kind, MapEntityKind::Polyline);
  EXPECT_EQ(map.entities[3].points.size(), 1u);
}

// Flag 129 is closed (1) with other bits set; an open one (70 = 0) is in ReadsWhatEzdxfWrites.
TEST(DxfMapFile, LightweightPolylineWithItsClosedFlag) {
  const DxfMapContent map = Read(Dxf({{"0", "LWPOLYLINE"}, {"90", "3"}, {"70", "129"}, {"43", "0"},
                                      {"10", "1"}, {"20", "2"}, {"10", "3"}, {"20", "4"}, {"42", "0.5"},
                                      {"10", "5"}, {"20", "6"}, {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 1u);
  EXPECT_TRUE(map.entities[0].closed);
  ASSERT_EQ(map.entities[0].points.size(), 3u);
  ExpectPoint(map.entities[0].points[2], 5, 6);
}

TEST(DxfMapFile, IntegerGroupsBeyondSixteenBitsCountAsAbsent) {
  const DxfMapContent map = Read(Dxf({{"0", "POLYLINE"}, {"70", "1e+20"}, {"62", "-1e+20"},
                                      {"0", "VERTEX"}, {"10", "1"}, {"20", "2"},
                                      {"0", "VERTEX"}, {"10", "3"}, {"20", "4"}, {"62", "70000"},
                                      {"0", "SEQEND"},
                                      {"0", "LWPOLYLINE"}, {"70", "65537"}, {"10", "1"}, {"20", "2"}, {"10", "3"},
                                      {"20", "4"}, {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 2u);
  EXPECT_FALSE(map.entities[0].closed);
  EXPECT_EQ(map.entities[0].colorIndex, 0);
  EXPECT_EQ(map.entities[0].vertexColorIndex, (std::vector<int>{0, 0}));
  EXPECT_FALSE(map.entities[1].closed);  // 65537 is no 16-bit flag word with bit 1 set
}

// A triangle repeats its third corner; SolidsFillTheirOutlineOnTheScreenOnly holds the order of four.
TEST(DxfMapFile, SolidOfThreeCornersRepeatsItsThird) {
  const DxfMapContent map = Read(Dxf({{"0", "SOLID"}, {"10", "0"}, {"20", "0"}, {"11", "1"}, {"21", "0"},
                                      {"12", "0"}, {"22", "1"}, {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 1u);
  ASSERT_EQ(map.entities[0].points.size(), 4u);
  ExpectPoint(map.entities[0].points[2], 0, 1);
  ExpectPoint(map.entities[0].points[3], 0, 1);
}

TEST(DxfMapFile, ProgressCanBreakOffALargeMap) {
  std::string text;
  for (int n = 0; n < 20000; ++n) text += Dxf({{"0", "POINT"}, {"10", "1"}, {"20", "2"}});
  std::vector<int> seen;
  DxfMapContent content;
  const DxfMapReadResult result = ReadDxfMap(text, content, [&](int percent) {
    seen.push_back(percent);
    return percent >= 50;
  });
  EXPECT_TRUE(result.broken);
  ASSERT_FALSE(seen.empty());
  EXPECT_GE(seen.back(), 50);
  EXPECT_LT(content.entities.size(), 20000u);
}

TEST(DxfMapFile, ReadsWhatEzdxfWrites) {
  const DxfMapContent map = Read(MapFileText("shapes_r2010.dxf"));
  std::vector<MapEntityKind> kinds;
  for (const MapEntity& e : map.entities) kinds.push_back(e.kind);
  using K = MapEntityKind;
  ASSERT_EQ(kinds, (std::vector<K>{K::Line, K::Polyline, K::Polyline, K::Text, K::Circle, K::Arc, K::Solid,
                                    K::Point}));
  EXPECT_TRUE(map.entities[1].closed);
  EXPECT_FALSE(map.entities[2].closed);
  EXPECT_EQ(map.entities[3].text, "AB");

  const DxfMapContent old = Read(MapFileText("polylines_r12.dxf"));
  ASSERT_EQ(old.entities.size(), 3u);
  EXPECT_EQ(old.entities[0].points.size(), 5u);
  EXPECT_FALSE(old.entities[0].closed);
  EXPECT_TRUE(old.entities[1].closed);
  EXPECT_EQ(old.entities[2].kind, K::Line);
}

TEST(DxfMapFile, CacheKeepsAMapWhileItsFileIsUnchangedAndTellsAProblemOnlyWhenRead) {
  TempDir dir;
  const std::string path = dir.File("map.dxf");
  WriteWholeFile(path, Dxf({{"0", "POINT"}, {"10", "1"}, {"20", "2"}}));
  DxfMapCache cache;
  const LoadedDxfMap first = LoadDxfMap(cache, path);
  ASSERT_TRUE(first.content);
  EXPECT_EQ(LoadDxfMap(cache, path).content, first.content);
  // Same size, newer time.
  WriteWholeFile(path, Dxf({{"0", "POINT"}, {"10", "3"}, {"20", "4"}}));
  std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));
  const LoadedDxfMap second = LoadDxfMap(cache, path);
  ASSERT_TRUE(second.content);
  EXPECT_NE(second.content, first.content);
  EXPECT_EQ(second.content->entities[0].points[0].x, 3);
  EXPECT_FALSE(LoadDxfMap(cache, dir.File("missing.dxf")).content);
  // A bad map tells its problem only when read.
  const std::string bad = dir.File("bad.dxf");
  WriteWholeFile(bad, Dxf({{"0", "POINT"}, {"10", "1"}, {"20", "2"}, {"X", "1"}}));
  EXPECT_EQ(LoadDxfMap(cache, bad).problem, BadGroupCodeMessage(bad, 7));
  EXPECT_TRUE(LoadDxfMap(cache, bad).problem.empty());
}

}  // namespace
}  // namespace kestra::test
