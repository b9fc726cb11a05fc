#include "graphics/velocity_vectors.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot_file.h"
#include "view_scene.h"

namespace kestra::test {
namespace {

constexpr Colour kVectorColour = 255;

// A 3 x 2 x 2 model with the flow terms loaded, vectors on, and a velocity
// in cell (1, 1, 1) only; the fastest speed of the model is 4.
struct VectorScene : ViewScene {
  VectorScene() : ViewScene(UniformModel(3, 2, 2, 100, 100)) {
    model.flowTermsLoaded = true;
    model.LAYCON.assign(3, 0);
    settings.vectorsVisible = kOn;
    settings.vectorSize = 25;
    settings.vectorColor = kVectorColour;
    layout.PixelSize = 2;
  }
  VectorInputs Inputs() { return {settings, ui, maxSpeed}; }
  void Draw() { DrawVelocityVectors(context, Inputs()); }

  float maxSpeed = 4;
};

float Length(const std::vector<float>& line) { return std::hypot(line[2] - line[0], line[3] - line[1]); }

// The arrows of a picture: each is a shaft followed by its two barbs; a dot
// arrow is the shaft alone.
std::vector<std::vector<float>> Lines(const RecordingPicture& picture) {
  return ViewScene::Drawn(picture, "line", kVectorColour);
}

// The two barbs of the arrow starting at lines[0]: they end at the tip, and
// their far ends lie a third of the shaft back and a sixth of it to each side.
void ExpectHeadOfAThirdHalfAsWide(const std::vector<std::vector<float>>& lines) {
  ASSERT_GE(lines.size(), 3u);
  const float shaft = Length(lines[0]);
  for (int barb : {1, 2}) {
    EXPECT_FLOAT_EQ(lines[barb][2], lines[0][2]);
    EXPECT_FLOAT_EQ(lines[barb][3], lines[0][3]);
    EXPECT_NEAR(Length(lines[barb]), shaft * std::hypot(1.0f / 3, 1.0f / 6), 1e-3);
  }
  EXPECT_NEAR(std::hypot(lines[1][0] - lines[2][0], lines[1][1] - lines[2][1]), shaft / 3, 1e-3);
}

TEST(VelocityVectors, FastestCellGetsSizePixelsAtAnyZoom) {
  for (const float pixelSize : {2.0f, 1.0f, 0.25f}) {
    VectorScene scene;
    scene.layout.PixelSize = pixelSize;
    scene.model.VX(1, 1, 1) = 4;   // the fastest speed
    scene.model.VY(2, 1, 1) = -2;  // half of it
    scene.Draw();
    const auto lines = Lines(scene.plan);
    // Two moving cells with shaft and barbs, four resting cells with a dot only.
    ASSERT_EQ(lines.size(), 3u + 3u + 4u);
    EXPECT_FLOAT_EQ(Length(lines[0]), 25 * pixelSize);
    // Centred on the cell centre, pointing downstream.
    EXPECT_FLOAT_EQ(lines[0][0] + lines[0][2], 2 * scene.model.XCENTER[1]);
    EXPECT_GT(lines[0][2], lines[0][0]);
    const auto second = lines[3 + 1];  // column 1 row 2 is a dot, then column 2 row 1
    EXPECT_FLOAT_EQ(Length(second), 12.5f * pixelSize);
    EXPECT_LT(second[3], second[1]);
  }
}

TEST(VelocityVectors, HeadIsAThirdOfTheShaftAndHalfAsWide) {
  VectorScene scene;
  scene.model.VX(1, 1, 1) = 3;
  scene.model.VY(1, 1, 1) = 4;
  scene.maxSpeed = 5;
  scene.Draw();
  ExpectHeadOfAThirdHalfAsWide(Lines(scene.plan));
}

// A fastest speed too small to divide by counts as no flow.
TEST(VelocityVectors, NoFlowDrawsFiniteDotsOnlyAndWritesNoInfiniteCoordinatesIntoThePlot) {
  EXPECT_FLOAT_EQ(VectorScaleFactor(25, 2, 5), 5);
  EXPECT_EQ(VectorScaleFactor(25, 2, 1.0E-45f), 0);
  for (const float vmax : {0.0f, -1.0E+30f, std::nanf("")}) {
    VectorScene scene;
    scene.maxSpeed = vmax;
    scene.model.VX(1, 1, 1) = 3;
    scene.model.VY(2, 2, 1) = std::numeric_limits<float>::infinity();
    scene.Draw();
    const auto lines = Lines(scene.plan);
    ASSERT_EQ(lines.size(), 6u);
    for (const auto& line : lines) {
      EXPECT_EQ(Length(line), 0);
      for (float v : line) EXPECT_TRUE(std::isfinite(v));
    }
    if (vmax != 0) continue;
    const std::string text = PlotOf(scene.model, kPlotFormatDxf, [&](PlotContext& context) {
      context.layout.PixelSize = 2;
      DrawVelocityVectors(context, scene.Inputs());
    });
    // Six plan dots and the section dots: 3 cells x 2 layers on each section.
    EXPECT_EQ(Occurrences(text, "LINE"), 6 + 6 + 4);
    EXPECT_EQ(Occurrences(text, "inf"), 0);
    EXPECT_EQ(Occurrences(text, "nan"), 0);
  }
}

TEST(VelocityVectors, NothingBeforeTheFlowTermsOrWhenSwitchedOff) {
  VectorScene scene;
  scene.model.flowTermsLoaded = false;
  scene.Draw();
  EXPECT_TRUE(scene.plan.elements.empty());
  scene.model.flowTermsLoaded = true;
  scene.settings.vectorsVisible = kOff;
  scene.Draw();
  EXPECT_TRUE(scene.plan.elements.empty());
  EXPECT_TRUE(scene.row.elements.empty());
}

TEST(VelocityVectors, InactiveAndFixedHeadCellsGetNoArrow) {
  VectorScene scene;
  scene.model.IBOUND(1, 1, 1) = 0;
  scene.model.IBOUND(2, 1, 1) = -1;
  scene.Draw();
  EXPECT_EQ(Lines(scene.plan).size(), 4u);
}

// Zoomed to the third column: the dots of the first two are not drawn, but
// the arrow of cell (1, 1) reaches in from outside and shows, cut at the edge.
TEST(VelocityVectors, ZoomedPlanDrawsOnlyWhatReachesIntoTheWindow) {
  VectorScene scene;
  scene.layout.zoom = {200, 0, 300, 200, 100, 200};
  scene.layout.PixelSize = 20;        // the fastest arrow is 500 units long
  scene.model.VX(1, 1, 1) = 4;        // from x = -200 to 300
  scene.model.VX(1, 2, 1) = 4 * 0.3f;  // from x = -25 to 125: all outside
  scene.Draw();
  const auto lines = Lines(scene.plan);
  ASSERT_EQ(lines.size(), 3u + 2u);
  EXPECT_FLOAT_EQ(lines[0][0], 200);  // the shaft cut at the window's edge
  EXPECT_FLOAT_EQ(lines[0][2], 300);
}

TEST(VelocityVectors, CellsNarrowerThanFourPixelsShareOneArrowPerFourPixels) {
  // Cells of 100 model units: at 25 units per pixel each is 4 pixels wide
  // and keeps its arrow; at 50 (2 pixels) every other column and row has
  // one; at 1000 the first cell alone stands for the whole grid.
  const struct {
    float pixelSize;
    std::size_t dots;
  } cases[] = {{25, 6}, {50, 2}, {1000, 1}};
  for (const auto& c : cases) {
    VectorScene scene;
    scene.layout.PixelSize = c.pixelSize;
    scene.Draw();
    const auto lines = Lines(scene.plan);
    EXPECT_EQ(lines.size(), c.dots) << "at " << c.pixelSize << " units per pixel";
    ASSERT_FALSE(lines.empty());
    EXPECT_FLOAT_EQ(lines[0][0], scene.model.XCENTER[1]) << "the first cell keeps its arrow";
  }
}

TEST(VelocityVectors, EscapeEndsThePlanPassAndSkipsTheSections) {
  VectorScene scene;
  scene.ui.escapeAnswer = true;
  scene.Draw();
  // The first column is drawn, then the meter reports the break.
  EXPECT_EQ(Lines(scene.plan).size(), 2u);
  EXPECT_TRUE(scene.row.elements.empty());
  EXPECT_TRUE(scene.column.elements.empty());
  EXPECT_EQ(scene.ui.hint, "");
  EXPECT_TRUE(scene.ui.panesShown);
}

TEST(VelocityVectors, SectionArrowSitsInTheMiddleOfTheSaturatedPart) {
  VectorScene scene;
  scene.model.LAYCON = {0, 0, 1};
  scene.model.HEAD(1, 1, 1) = 96;  // above layer 1's bottom of 90
  for (int j = 1; j <= 3; ++j) scene.model.HEAD(j, 1, 2) = 86;  // layer 2 spans 80..90
  scene.Draw();
  const auto lines = Lines(scene.row);
  ASSERT_EQ(lines.size(), 6u);
  // Layer 1 is of type 0: halfway between bottom and top.
  EXPECT_FLOAT_EQ(lines[0][1], 95);
  // Layer 2 is of type 1: halfway between bottom and head.
  EXPECT_FLOAT_EQ(lines[3][1], 83);
}

TEST(VelocityVectors, SectionHeadsKeepThePlanProportionsWhenExaggerated) {
  VectorScene scene;
  scene.layout.Exaggeration = 10;
  scene.model.VX(1, 1, 1) = 3;
  scene.model.VZ(1, 1, 1) = 0.4f;  // 4 on the screen at exaggeration 10
  scene.model.VY(1, 1, 1) = 3;
  scene.maxSpeed = 5;
  scene.Draw();
  for (const RecordingPicture* picture : {&scene.row, &scene.column}) {
    auto lines = Lines(*picture);
    ASSERT_GE(lines.size(), 3u);
    const bool row = picture == &scene.row;
    // Into screen proportions: the elevation axis stretched by 10.
    for (auto& line : lines)
      for (int n = row ? 1 : 0; n < 4; n += 2) line[n] *= 10;
    EXPECT_NEAR(Length(lines[0]), 25 * 2, 1e-3);
    ExpectHeadOfAThirdHalfAsWide(lines);
  }
}

TEST(VelocityVectors, SectionsFollowTheProjectionRowAndColumn) {
  VectorScene scene;
  scene.settings.sectionRow = 2;
  scene.settings.sectionColumn = 3;
  scene.model.VX(2, 2, 1) = 4;
  scene.model.VY(3, 1, 2) = 4;
  DrawRowSectionVectors(scene.context, scene.Inputs());
  DrawColumnSectionVectors(scene.context, scene.Inputs());
  const auto row = Lines(scene.row);
  ASSERT_EQ(row.size(), 6u + 2u);
  EXPECT_FLOAT_EQ(Length(row[1]), 50);  // column 2 of layer 1 after the dot of column 1
  const auto column = Lines(scene.column);
  ASSERT_EQ(column.size(), 4u + 2u);
  EXPECT_FLOAT_EQ(Length(column[2]), 50);  // layer 2 row 1, after the two dots of layer 1
  EXPECT_TRUE(scene.plan.elements.empty());
}

}  // namespace
}  // namespace kestra::test
