#include "graphics/hershey_import.h"

#include <gtest/gtest.h>

#include "graphics/stroke_text.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

// A Hershey file of 95 glyphs: all blanks but 'A' (code 65), which is the
// simplex letter, written over two lines as long glyphs are.
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

TEST(HersheyImport, LetterBecomesStrokesOnTheBaseline) {
  StrokeFont font;
  std::string error;
  ASSERT_TRUE(ImportHersheyFont(SmallHersheyFile(), font, error)) << error;
  const std::vector<StrokeCode> expected = {{9, 37, false}, {1, 16, true},  {9, 37, false},
                                            {17, 16, true}, {4, 23, false}, {14, 23, true}};
  EXPECT_EQ(GlyphCodes(font, 'A'), expected);
  EXPECT_EQ(font.glyphs[font.map['A'] - 1].advance, 18);
  EXPECT_EQ(font.glyphs[0].code, 32);
  EXPECT_EQ(font.glyphs[0].count, 0);
}

TEST(HersheyImport, ShortFileIsRefused) {
  StrokeFont font;
  std::string error;
  EXPECT_FALSE(ImportHersheyFont("12345  1JZ\n", font, error));
  EXPECT_NE(error.find("glyph 2"), std::string::npos);
}

TEST(ShippedStrokeFont, LoadsWithEveryPrintableCharacter) {
  StrokeFont font;
  std::string error;
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

}  // namespace
}  // namespace kestra
