// Round steps and the plain decimal texts of figure labels and contour levels.
#include "core/round_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace kestra {
namespace {

// The contour level chooser: about ten steps of 1, 2, 2.5 or 5 times a power of ten.
TEST(RoundNumbers, LevelStepsAreRoundAndGiveAboutTenLevels) {
  const struct {
    double low, high, step;
    int decimals;
  } cases[] = {
      {39.53, 43.79, 0.5, 1},  {0, 100, 10, 0},       {0, 101, 20, 0},      {-7.2, 3.1, 2, 0},
      {0, 0.00574, 0.001, 3},  {1200, 1850, 100, 0},  {0, 1, 0.1, 1},       {0, 2.2, 0.25, 2},
      {0, 24, 2.5, 1},         {5e5, 5.4e5, 5000, 0}, {12.3, 12.31, 0.001, 3}, {-0.3, 0.3, 0.1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.low) + ".." + std::to_string(c.high));
    const double step = RoundStep(c.high - c.low, 10, true);
    EXPECT_NEAR(step, c.step, c.step * 1e-9);
    EXPECT_EQ(DecimalsOfStep(step), c.decimals);
    const std::vector<double> levels = MultiplesWithin(c.low, c.high, step);
    EXPECT_GE(levels.size(), 4u);
    EXPECT_LE(levels.size(), 11u);
    for (const double level : levels) {
      EXPECT_GE(level, c.low - 1e-9);
      EXPECT_LE(level, c.high + 1e-9);
      EXPECT_NEAR(level / step, std::round(level / step), 1e-6);
    }
  }
}

TEST(RoundNumbers, TickStepsSkipQuarters) {
  for (const auto& [range, steps, step] :
       {std::tuple{1000.0, 4, 500.0}, {1000.0, 6, 200.0}, {24.0, 10, 5.0}, {0.0, 5, 0.0}, {-3.0, 5, 0.0}})
    EXPECT_DOUBLE_EQ(RoundStep(range, steps), step) << range << " in " << steps;
  EXPECT_TRUE(MultiplesWithin(5, 1, 1).empty());
}

TEST(RoundNumbers, TextsArePlainDecimals) {
  const struct {
    std::string text, expected;
  } cases[] = {
      {FixedText(41.5, 1), "41.5"},       {FixedText(40, 2), "40.00"},     {FixedText(-0.0001, 2), "0.00"},
      {FixedText(0.1 * 3, 1), "0.3"},     {TrimmedText(3.333, 2), "3.33"}, {TrimmedText(12, 2), "12"},
      {TrimmedText(0.250, 3), "0.25"},    {PlainText(3650), "3650"},       {PlainText(0.0125), "0.0125"},
      {PlainText(365.25), "365.25"},      {PlainText(2.5e-6), "2.5000E-06"}, {PlainText(0), "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected);
}

}  // namespace
}  // namespace kestra
