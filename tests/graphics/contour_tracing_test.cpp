#include "graphics/contour_tracing.h"

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "small_models.h"

namespace kestra {
namespace {

// Cells 10 units wide: node (j, i) sits at (10j - 5, 10i - 5).
ModelState FieldModel(int ncol, int nrow, const std::function<float(float, float)>& field) {
  ModelState model = test::UniformModel(ncol, nrow, 1, 10, 10);
  for (int i = 1; i <= nrow; ++i)
    for (int j = 1; j <= ncol; ++j) model.HEAD(j, i, 1) = field(model.XCENTER[j], model.YCENTER[i]);
  return model;
}

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

TEST(TraceLevel, NorthSouthLineLiesMidwayBetweenTheNodes) {
  const ModelState model = FieldModel(8, 6, [](float x, float) { return x; });
  const auto lines = Trace(model, 30);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0].points.size(), 6u);
  for (std::size_t n = 0; n < 6; ++n) {
    EXPECT_FLOAT_EQ(lines[0].points[n].x, 30);
    EXPECT_FLOAT_EQ(lines[0].points[n].y, 5 + 10.0f * n);
  }
  // The start node is the western node of the first edge, below the level.
  EXPECT_FLOAT_EQ(lines[0].startNode.x, 25);
  EXPECT_FALSE(lines[0].startNodeHigh);
}

TEST(TraceLevel, RadialFieldGivesOneClosedCircle) {
  const auto radius = [](float x, float y) { return std::hypot(x - 200, y - 200); };
  const ModelState model = FieldModel(40, 40, radius);
  for (float level : {42.0f, 100.0f, 150.0f}) {
    const auto lines = Trace(model, level);
    ASSERT_EQ(lines.size(), 1u) << level;
    const auto& points = lines[0].points;
    EXPECT_EQ(points.front().x, points.back().x);
    EXPECT_EQ(points.front().y, points.back().y);
    double area = 0;  // shoelace: a closed ring of the circle's area
    for (std::size_t n = 0; n + 1 < points.size(); ++n) {
      EXPECT_NEAR(radius(points[n].x, points[n].y), level, 1.0f);
      area += points[n].x * points[n + 1].y - points[n + 1].x * points[n].y;
    }
    EXPECT_NEAR(std::abs(area) / 2, 3.14159 * level * level, 0.03 * 3.14159 * level * level);
  }
}

TEST(TraceLevel, LongLinesAreNotSplit) {
  // A north-south line through 12 000 rows: more points than 10 001.
  const ModelState model = FieldModel(4, 12000, [](float x, float) { return x - 20; });
  const auto lines = Trace(model, 0.5f);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points.size(), 12000u);
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

TEST(TraceLevel, LevelOutsideTheValuesDrawsNothing) {
  const ModelState model = FieldModel(6, 3, [](float x, float) { return x; });
  EXPECT_TRUE(Trace(model, 100).empty());
  EXPECT_TRUE(Trace(model, -1).empty());
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

// The lines of levels 5 to 170 in steps of 2.5.
std::vector<ContourLine> TraceEveryLevel(const ContourNodes& nodes) {
  std::vector<ContourLine> lines;
  for (float level = 5; level < 170; level += 2.5f)
    TraceLevel(nodes, level, [&](const ContourLine& line) { lines.push_back(line); });
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

TEST(TraceLevel, OpenLineCrossingItsStartEdgeComesInTwoHalves) {
  // x - y = -32 first meets a row edge in row 5 (y 45, x 13), inside the grid.
  const ModelState model = FieldModel(10, 10, [](float x, float y) { return x - y; });
  const auto lines = Trace(model, -32);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_FLOAT_EQ(lines[0].points[0].x, 13);
  EXPECT_FLOAT_EQ(lines[0].points[0].y, 45);
  EXPECT_EQ(lines[1].points[0].x, lines[0].points[0].x);
  EXPECT_EQ(lines[1].points[0].y, lines[0].points[0].y);
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
  EXPECT_FLOAT_EQ(lines[0].points[0].x, 10);
  EXPECT_FLOAT_EQ(lines[0].points[0].y, 5);
  EXPECT_FLOAT_EQ(lines[0].points[1].x, 5);
  EXPECT_FLOAT_EQ(lines[0].points[1].y, 10);
}

}  // namespace
}  // namespace kestra
