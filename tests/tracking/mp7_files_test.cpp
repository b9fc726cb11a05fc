// The local coordinates of MODPATH 7's pathline points: x across the
// column, y across the row counted from the row's far side, each as a
// 32-bit float held to [0, 1].
#include "tracking/mp7_files.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/number_format.h"
#include "tracking_models.h"

namespace kestra {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Where the point line holds local x and y: after the cell number (I10)
// and four numbers (E16.8).
constexpr std::size_t kLocalXColumn = 10 + 4 * 16, kFieldWidth = 16;

std::string PointField(float value) {
  std::string text;
  AppendFortranExponent(text, value, static_cast<int>(kFieldWidth), 8);
  return text;
}

TEST(Mp7PathlinePoint, LocalCoordinatesAreTheFractionsOfTheCellAsFloatsHeldToTheUnitRange) {
  // Column 2 spans x 10 to 13, row 2 y 10 to 17 (y grows with the row).
  ModelState state = test::BoxModel(3, 3, 1, 10, 10, 10, 0.25f);
  state.DELR[2] = 3;
  state.DELC[2] = 7;
  ComputeGridGeometry(state);
  struct Case {
    double x, y;
    float localX, localY;
  };
  const Case cases[] = {
      {10, 10, 0, 1},                      // the near corner
      {13, 17, 1, 0},                      // the far corner
      {11, 12, 0.33333334f, 0.71428573f},  // fractions rounded to floats
      {9.5, 18, 0, 0},                     // beyond the faces: held to them
      {14, 9, 1, 1},                       // beyond the other faces
      {kNaN, 13.5, 0, 0.5f},               // NaN, which the file writes as 0, not held to the far face
  };
  for (const Case& c : cases) {
    TextBuffer text;
    AppendMp7PathlinePoint(text, state, {.point = {c.x, c.y, 5}, .localZ = 0.5f, .cell = {2, 2, 1}}, 1, 1, 0);
    const std::string line(text.View());
    ASSERT_GT(line.size(), kLocalXColumn + 2 * kFieldWidth);
    EXPECT_EQ(line.substr(kLocalXColumn, kFieldWidth), PointField(c.localX)) << c.x << ", " << c.y;
    EXPECT_EQ(line.substr(kLocalXColumn + kFieldWidth, kFieldWidth), PointField(c.localY)) << c.x << ", " << c.y;
  }
}

}  // namespace
}  // namespace kestra
