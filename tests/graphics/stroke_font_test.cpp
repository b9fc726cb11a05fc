// The stroke font: its stroke encoding, its file, Hershey imports, the shipped font and text drawn with it.
#include "graphics/stroke_font.h"

#include <gtest/gtest.h>

#include "graphics/hershey_import.h"
#include "graphics/stroke_text.h"
#include "support/temp_dir.h"
#include "view_scene.h"

namespace kestra {
namespace {

std::string FontText(const std::string& strokes, int firstGlyphCount = 3) {
  // Glyph 1 is the blank, glyph 2 ('A') uses values 1..firstGlyphCount, the rest are empty.
  std::string text = "32,1,0,16\n65,1," + std::to_string(firstGlyphCount) + ",18\n";
  for (int g = 3; g <= kStrokeGlyphCount; ++g) text += std::to_string(100 + g) + ",1,0,10\n";
  return text + strokes;
}

// A font to read into and the reason it was refused.
class StrokeFontFile : public testing::Test {
 protected:
  StrokeFont font;
  std::string error;
};
using StrokeFontMap = StrokeFontFile;
using HersheyImport = StrokeFontFile;
using ShippedStrokeFont = StrokeFontFile;

TEST(StrokeEncoding, EncoderIsTheExactInverseOfTheDecoderAndRefusesPointsOutside) {
  for (bool draw : {false, true})
    for (int a = 0; a <= 64; ++a)
      for (int b = -31; b <= 64; ++b) {
        const StrokeCode code{a, b, draw};
        const auto value = EncodeStroke(code);
        ASSERT_TRUE(value.has_value()) << a << "," << b;
        ASSERT_EQ(DecodeStroke(*value), code) << a << "," << b << " draw " << draw;
        // Moves stay at or below the draw flag, strokes above it.
        ASSERT_EQ(*value > 10000, draw);
      }
  // Points outside the encoding are refused.
  for (const StrokeCode outside : {StrokeCode{65, 0, false}, StrokeCode{-1, 0, true}, StrokeCode{0, -32, true},
                                   StrokeCode{0, 65, false}})
    EXPECT_FALSE(EncodeStroke(outside).has_value()) << outside.a << "," << outside.b;
}

TEST(StrokeEncoding, DecoderFollowsTheFileConstants) {
  // A move: t = v + 16 = 128 a + b.
  EXPECT_EQ(DecodeStroke(128 * 9 + 37 - 16), (StrokeCode{9, 37, false}));
  // A stroke: t = v - 10000 + 32 - 6400, a = floor(t / 128).
  EXPECT_EQ(DecodeStroke(10000 + 6400 - 32 + 128 * 1 + 16), (StrokeCode{1, 16, true}));
  // Heights above 64 fold back below the cell: b = 96 - b.
  EXPECT_EQ(DecodeStroke(128 * 2 + 100 - 16), (StrokeCode{2, -4, false}));
}

TEST_F(StrokeFontFile, StrokeTableOfAnyLengthIsRead) {
  std::string strokes;
  for (int n = 0; n < 2000; ++n) strokes += "100,";
  ASSERT_TRUE(ParseStrokeFont(FontText(strokes + "100"), font, error)) << error;
  EXPECT_EQ(font.strokes.size(), 2001u);
  EXPECT_EQ(font.map['A'], 2);
}

TEST_F(StrokeFontFile, GlyphPointingPastTheTableMissingRecordsOrTextFieldsAreRefused) {
  EXPECT_FALSE(ParseStrokeFont(FontText("1 2", 3), font, error));
  EXPECT_NE(error.find("glyph 2"), std::string::npos);
  EXPECT_FALSE(font.Loaded());
  EXPECT_FALSE(ParseStrokeFont("32,1,0,16\n65,1,3,18\n", font, error));
  EXPECT_FALSE(ParseStrokeFont(FontText("1,2,x"), font, error));
  EXPECT_FALSE(ParseStrokeFont(FontText("1,2,40000"), font, error));
}

TEST_F(StrokeFontFile, WrittenTextReadsBackTheSameFont) {
  ASSERT_TRUE(ParseStrokeFont(FontText("1 2 3 4"), font, error));
  StrokeFont again;
  ASSERT_TRUE(ParseStrokeFont(StrokeFontText(font), again, error)) << error;
  EXPECT_EQ(again.strokes, font.strokes);
  EXPECT_EQ(again.map, font.map);
  ASSERT_EQ(again.glyphs.size(), font.glyphs.size());
  EXPECT_EQ(again.glyphs[1].advance, 18);
}

TEST_F(StrokeFontFile, FoundBesideTheProgramBeforeTheInstallFolder) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.path() / "bin");
  std::filesystem::create_directories(dir.path() / "share" / "kestra");
  EXPECT_TRUE(FindStrokeFontFile(dir.path() / "bin").empty());
  test::WriteWholeFile((dir.path() / "share" / "kestra" / "SCREEN.FON").string(), "x");
  EXPECT_EQ(FindStrokeFontFile(dir.path() / "bin").filename(), "SCREEN.FON");
  EXPECT_NE(FindStrokeFontFile(dir.path() / "bin").string().find("share"), std::string::npos);
  test::WriteWholeFile((dir.path() / "bin" / "SCREEN.FON").string(), "x");
  EXPECT_EQ(FindStrokeFontFile(dir.path() / "bin"), dir.path() / "bin" / "SCREEN.FON");
}

TEST_F(StrokeFontMap, CharactersWithoutGlyphDrawTheBlank) {
  ASSERT_TRUE(ParseStrokeFont(FontText("1 2 3"), font, error));
  EXPECT_EQ(GlyphFor(font, 'A'), 2);
  EXPECT_EQ(GlyphFor(font, 0), 1);
  EXPECT_EQ(GlyphFor(font, 256), 1);
  EXPECT_EQ(GlyphFor(font, 257), 1);
  EXPECT_EQ(GlyphFor(font, 0x20AC), 1);  // the euro sign
  EXPECT_EQ(GlyphFor(StrokeFont{}, 'A'), 0);
}

TEST_F(StrokeFontMap, UnicodeLettersCountAsOneCharacter) {
  EXPECT_EQ(CharacterCodes("A\xC3\xA4"
                           "B"),
            (std::vector<char32_t>{'A', 0xE4, 'B'}));
  EXPECT_EQ(CharacterCodes("\xE2\x82\xAC"), (std::vector<char32_t>{0x20AC}));
  // A lone Latin-1 byte stays one character of its own.
  EXPECT_EQ(CharacterCodes("\xE4x"), (std::vector<char32_t>{0xE4, 'x'}));
}

// A Hershey file of 95 glyphs: all blanks (advance 16) but 'A' (code 65), which
// is the simplex letter (advance 18), written over two lines as long glyphs are.
std::string SmallHersheyFile() {
  std::string text;
  for (int g = 0; g < 95; ++g) {
    if (g == 65 - 32)
      text += "  501  9I[RFJ[ RRFZ[\n RMTWT\n";
    else
      text += "12345  1JZ\n";
  }
  return text;
}

std::vector<StrokeCode> GlyphCodes(const StrokeFont& font, int code) {
  std::vector<StrokeCode> codes;
  const StrokeGlyph& g = font.glyphs[font.map[code] - 1];
  for (int j = 0; j < g.count; ++j) codes.push_back(DecodeStroke(font.strokes[g.first - 1 + j]));
  return codes;
}

TEST_F(HersheyImport, LetterBecomesStrokesOnTheBaselineAndAShortFileIsRefused) {
  ASSERT_TRUE(ImportHersheyFont(SmallHersheyFile(), font, error)) << error;
  const std::vector<StrokeCode> expected = {{9, 37, false}, {1, 16, true},  {9, 37, false},
                                            {17, 16, true}, {4, 23, false}, {14, 23, true}};
  EXPECT_EQ(GlyphCodes(font, 'A'), expected);
  EXPECT_EQ(font.glyphs[font.map['A'] - 1].advance, 18);
  EXPECT_EQ(font.glyphs[0].code, 32);
  EXPECT_EQ(font.glyphs[0].count, 0);
  EXPECT_FALSE(ImportHersheyFont("12345  1JZ\n", font, error)) << "a short file";
  EXPECT_NE(error.find("glyph 2"), std::string::npos);
}

TEST_F(ShippedStrokeFont, LoadsWithEveryPrintableCharacter) {
  const auto path = std::filesystem::path(KESTRA_BUILD_DIR) / kStrokeFontFileName;
  ASSERT_TRUE(LoadStrokeFont(path, font, error)) << error;
  for (int code = 33; code <= 126; ++code) EXPECT_GT(font.glyphs[font.map[code] - 1].count, 0) << code;
  // Every stroke value re-encodes to itself.
  for (std::int16_t value : font.strokes) ASSERT_EQ(EncodeStroke(DecodeStroke(value)), value);
  // Capital letters reach the top of the 21-unit cell.
  const TextStyle style = SetTextStyle(1, 0, 0, 1);
  float top = 0;
  const StrokeGlyph& h = font.glyphs[font.map['H'] - 1];
  for (int j = 1; j <= h.count; ++j) top = std::max(top, GetStrokePoint(font, style, j, font.map['H'], 0, 0, 1).y);
  EXPECT_FLOAT_EQ(top, kGlyphCellHeight);
}

StrokeFont LetterAFont() {
  StrokeFont font;
  std::string error;
  EXPECT_TRUE(ImportHersheyFont(SmallHersheyFile(), font, error)) << error;
  return font;
}

// Text 21 units high, so one glyph cell unit is one model unit.
constexpr float kCellSize = 21;

// 100 x 100, world y = 100 - plan y.
struct TextScene : test::ViewScene {
  TextScene() : ViewScene(test::UniformModel(10, 10, 1, 10, 10)) {}
  // Segments drawn, as plan coordinates x1, y1, x2, y2.
  std::vector<std::vector<float>> Lines() const { return Drawn(plan, "line", kBlack); }
  void Draw(const std::string& text, float x, float y, float degrees = 0) {
    DrawStrokeText(context, font, SetTextStyle(1, degrees, 0, 1), text, x, y, kCellSize, kBlack, false, true);
  }
  StrokeFont font = LetterAFont();
};

TEST(DrawStrokeText, LetterIsDrawnFromItsStartPointUpwards) {
  TextScene scene;
  scene.Draw("A", 20, 30);
  const auto lines = scene.Lines();
  ASSERT_EQ(lines.size(), 3u);
  // Apex 21 above the baseline at world (29, 51), the left foot at world (21, 30).
  EXPECT_EQ(lines[0], (std::vector<float>{29, 49, 21, 70}));
  EXPECT_EQ(lines[2], (std::vector<float>{24, 63, 34, 63}));
}

TEST(DrawStrokeText, CharactersOutsideTheFontAdvanceAsBlanksAndAnEmptyFontDrawsNothing) {
  TextScene scene;
  scene.Draw("\xC3\xA4" "A", 20, 30);
  const auto lines = scene.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0][0], 29 + 16);  // one blank of advance 16 before the letter
  scene.plan.elements.clear();
  scene.font = StrokeFont{};
  scene.Draw("A", 20, 30);
  EXPECT_TRUE(scene.plan.elements.empty()) << "an empty font draws nothing";
}

TEST(DrawStrokeText, StrokesAreCutToTheViewWindow) {
  TextScene scene;
  scene.Draw("A", 90, 30);
  for (const auto& line : scene.Lines()) {
    EXPECT_LE(line[0], 100);
    EXPECT_LE(line[2], 100);
  }
  EXPECT_EQ(scene.Lines().size(), 3u);  // the bar crosses the edge and is cut, not dropped
}

TEST(DrawStrokeText, TurnedTextRunsAlongItsAngle) {
  TextScene scene;
  scene.Draw("A", 50, 10, 90);
  const auto lines = scene.Lines();
  ASSERT_EQ(lines.size(), 3u);
  // Turned a quarter counter-clockwise: the baseline runs up, the apex points left.
  constexpr float kTolerance = 1e-4f;  // cosine of 90 degrees in 32 bits
  EXPECT_NEAR(lines[0][0], 50 - 21, kTolerance);
  EXPECT_NEAR(lines[0][1], 100 - (10 + 9), kTolerance);
}

TEST(MeasureStrokeText, WidthIsTheFarthestStrokeInCellHeights) {
  const StrokeFont font = LetterAFont();
  const TextStyle style = SetTextStyle(1, 0, 0, 1);
  EXPECT_FLOAT_EQ(MeasureStrokeText(font, style, "A", kCellSize), 17);
  EXPECT_FLOAT_EQ(MeasureStrokeText(font, style, "AA", kCellSize), 18 + 17);
}

}  // namespace
}  // namespace kestra
