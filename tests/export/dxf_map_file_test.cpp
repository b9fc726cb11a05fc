#include "export/dxf_map_file.h"

#include <gtest/gtest.h>

#include "dxf_text.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

DxfMapContent Read(const std::string& text, DxfMapReadResult* result = nullptr) {
  DxfMapContent content;
  const DxfMapReadResult read = ReadDxfMap(text, content);
  if (result) *result = read;
  return content;
}

std::string MapsDir() { return (TestDataDir() / "maps").string(); }

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
  DxfMapReadResult result;
  const DxfMapContent map = Read(Dxf({{"0", "POINT"}, {"10", "1"}, {"20", "2"},
                                      {"0", "POINT"}, {"10", "3"}, {"20", "4"},
                                      {"1.5", "x"}, {"0", "POINT"}, {"10", "5"}, {"20", "6"}}), &result);
  EXPECT_EQ(result.badCodeLine, 13u);
  ASSERT_EQ(map.entities.size(), 2u);
  EXPECT_EQ(map.entities[1].points[0].x, 3);
  EXPECT_NE(BadGroupCodeMessage("/maps/site.dxf", 13).find("/maps/site.dxf"), std::string::npos);
  EXPECT_NE(BadGroupCodeMessage("/maps/site.dxf", 13).find("13"), std::string::npos);
}

TEST(DxfMapFile, EndsOnTruncatedAndOddFiles) {
  // Each of these must come back, whatever it holds.
  for (const std::string& text : {std::string("0\nLINE\n10\n"), std::string("0\nLINE\n10"), std::string("0\n"),
                                 std::string(""), std::string("\n\n\n"), std::string("0\nPOINT\n0\nPOINT\n0\nVERTEX"),
                                 std::string("  0\r\nPOINT\r\n 10\r\n1\r\n 20\r\n2\r\n")}) {
    DxfMapReadResult result;
    const DxfMapContent map = Read(text, &result);
    EXPECT_LE(map.entities.size(), 1u);
  }
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

TEST(DxfMapFile, LightweightPolylineWithItsClosedFlag) {
  const DxfMapContent map = Read(Dxf({{"0", "LWPOLYLINE"}, {"90", "3"}, {"70", "129"}, {"43", "0"},
                                      {"10", "1"}, {"20", "2"}, {"10", "3"}, {"20", "4"}, {"42", "0.5"},
                                      {"10", "5"}, {"20", "6"},
                                      {"0", "LWPOLYLINE"}, {"70", "0"}, {"10", "1"}, {"20", "2"}, {"10", "3"},
                                      {"20", "4"}, {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 2u);
  EXPECT_TRUE(map.entities[0].closed);
  ASSERT_EQ(map.entities[0].points.size(), 3u);
  ExpectPoint(map.entities[0].points[2], 5, 6);
  EXPECT_FALSE(map.entities[1].closed);
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

TEST(DxfMapFile, SolidCornersInOutlineOrder) {
  const DxfMapContent map = Read(Dxf({{"0", "SOLID"}, {"10", "0"}, {"20", "0"}, {"11", "1"}, {"21", "0"},
                                      {"12", "0"}, {"22", "1"}, {"13", "1"}, {"23", "1"},
                                      {"0", "SOLID"}, {"10", "0"}, {"20", "0"}, {"11", "1"}, {"21", "0"},
                                      {"12", "0"}, {"22", "1"}, {"0", "EOF"}}));
  ASSERT_EQ(map.entities.size(), 2u);
  ExpectPoint(map.entities[0].points[2], 1, 1);  // the fourth corner comes third
  ExpectPoint(map.entities[0].points[3], 0, 1);
  // A triangle repeats its third corner.
  ExpectPoint(map.entities[1].points[2], 0, 1);
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
  const std::string text = ReadWholeFile(MapsDir() + "/shapes_r2010.dxf");
  ASSERT_FALSE(text.empty());
  const DxfMapContent map = Read(text);
  std::vector<MapEntityKind> kinds;
  for (const MapEntity& e : map.entities) kinds.push_back(e.kind);
  using K = MapEntityKind;
  EXPECT_EQ(kinds, (std::vector<K>{K::Line, K::Polyline, K::Polyline, K::Text, K::Circle, K::Arc, K::Solid,
                                    K::Point}));
  EXPECT_TRUE(map.entities[1].closed);
  EXPECT_FALSE(map.entities[2].closed);
  EXPECT_EQ(map.entities[3].text, "AB");

  const DxfMapContent old = Read(ReadWholeFile(MapsDir() + "/polylines_r12.dxf"));
  ASSERT_EQ(old.entities.size(), 3u);
  EXPECT_EQ(old.entities[0].points.size(), 5u);
  EXPECT_FALSE(old.entities[0].closed);
  EXPECT_TRUE(old.entities[1].closed);
  EXPECT_EQ(old.entities[2].kind, K::Line);
}

TEST(DxfMapFile, CacheKeepsAMapWhileItsFileIsUnchanged) {
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
}

TEST(DxfMapFile, ABadMapTellsItsProblemOnlyWhenRead) {
  TempDir dir;
  const std::string path = dir.File("bad.dxf");
  WriteWholeFile(path, Dxf({{"0", "POINT"}, {"10", "1"}, {"20", "2"}, {"X", "1"}}));
  DxfMapCache cache;
  const LoadedDxfMap first = LoadDxfMap(cache, path);
  EXPECT_EQ(first.problem, BadGroupCodeMessage(path, 7));
  EXPECT_TRUE(LoadDxfMap(cache, path).problem.empty());
}

}  // namespace
}  // namespace kestra::test
