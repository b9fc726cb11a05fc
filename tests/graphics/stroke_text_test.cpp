#include "graphics/stroke_text.h"

#include <gtest/gtest.h>

#include "graphics/hershey_import.h"
#include "view_scene.h"

namespace kestra {
namespace {

// All blanks (advance 16) but 'A', the simplex letter (advance 18).
StrokeFont LetterAFont() {
  std::string text;
  for (int g = 0; g < 95; ++g) text += g == 65 - 32 ? "  501  9I[RFJ[ RRFZ[ RMTWT\n" : "12345  1HX\n";
  StrokeFont font;
  std::string error;
  EXPECT_TRUE(ImportHersheyFont(text, font, error)) << error;
  return font;
}

// 100 x 100, world y = 100 - plan y.
struct TextScene : test::ViewScene {
  TextScene() : ViewScene(test::UniformModel(10, 10, 1, 10, 10)) {}
  // Segments drawn, as plan coordinates x1, y1, x2, y2.
  std::vector<std::vector<float>> Lines() const { return Drawn(plan, "line", kBlack); }
  StrokeFont font = LetterAFont();
};

// Text 21 units high, so one glyph cell unit is one model unit.
constexpr float kCellSize = 21;

TEST(DrawStrokeText, LetterIsDrawnFromItsStartPointUpwards) {
  TextScene scene;
  DrawStrokeText(scene.context, scene.font, SetTextStyle(1, 0, 0, 1), "A", 20, 30, kCellSize, kBlack, false, true);
  const auto lines = scene.Lines();
  ASSERT_EQ(lines.size(), 3u);
  // Apex 21 above the baseline at world (29, 51), the left foot at world (21, 30).
  EXPECT_EQ(lines[0], (std::vector<float>{29, 49, 21, 70}));
  EXPECT_EQ(lines[2], (std::vector<float>{24, 63, 34, 63}));
}

TEST(DrawStrokeText, CharactersOutsideTheFontAdvanceAsBlanks) {
  TextScene scene;
  DrawStrokeText(scene.context, scene.font, SetTextStyle(1, 0, 0, 1),
                 "\xC3\xA4"
                 "A",
                 20, 30, kCellSize, kBlack, false, true);
  const auto lines = scene.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0][0], 29 + 16);  // one blank of advance 16 before the letter
}

TEST(DrawStrokeText, StrokesAreCutToTheViewWindow) {
  TextScene scene;
  DrawStrokeText(scene.context, scene.font, SetTextStyle(1, 0, 0, 1), "A", 90, 30, kCellSize, kBlack, false, true);
  for (const auto& line : scene.Lines()) {
    EXPECT_LE(line[0], 100);
    EXPECT_LE(line[2], 100);
  }
  EXPECT_EQ(scene.Lines().size(), 3u);  // the bar crosses the edge and is cut, not dropped
}

TEST(DrawStrokeText, TurnedTextRunsAlongItsAngle) {
  TextScene scene;
  DrawStrokeText(scene.context, scene.font, SetTextStyle(1, 90, 0, 1), "A", 50, 10, kCellSize, kBlack, false, true);
  const auto lines = scene.Lines();
  ASSERT_EQ(lines.size(), 3u);
  // Turned a quarter counter-clockwise: the baseline runs up, the apex points left.
  constexpr float kTolerance = 1e-4f;  // cosine of 90 degrees in 32 bits
  EXPECT_NEAR(lines[0][0], 50 - 21, kTolerance);
  EXPECT_NEAR(lines[0][1], 100 - (10 + 9), kTolerance);
}

TEST(DrawStrokeText, EmptyFontDrawsNothing) {
  TextScene scene;
  DrawStrokeText(scene.context, StrokeFont{}, SetTextStyle(1, 0, 0, 1), "A", 20, 30, kCellSize, kBlack, false, true);
  EXPECT_TRUE(scene.plan.elements.empty());
}

TEST(MeasureStrokeText, WidthIsTheFarthestStrokeInCellHeights) {
  const StrokeFont font = LetterAFont();
  const TextStyle style = SetTextStyle(1, 0, 0, 1);
  EXPECT_FLOAT_EQ(MeasureStrokeText(font, style, "A", kCellSize), 17);
  EXPECT_FLOAT_EQ(MeasureStrokeText(font, style, "AA", kCellSize), 18 + 17);
}

}  // namespace
}  // namespace kestra
