#include "graphics/readable_exaggeration.h"

#include <gtest/gtest.h>

#include "small_models.h"

namespace kestra {
namespace {

TEST(ReadableExaggeration, ThinModelsGetTheSectionAFifthOfThePlanHigh) {
  // 30 cells of 100 = 3000 long; 3 layers of 10 = 30 deep: 3000 / 5 / 30 = 20.
  const ModelState model = test::UniformModel(20, 30, 3, 100, 100);
  EXPECT_FLOAT_EQ(ReadableExaggeration(model), 20);
  // 2500 / 5 / 30 = 16.67 keeps two digits.
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(20, 25, 3, 100, 100)), 17);
}

TEST(ReadableExaggeration, NeverBelowOneNorAboveAThousand) {
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(5, 5, 3, 1, 1)), 1);
  EXPECT_FLOAT_EQ(ReadableExaggeration(test::UniformModel(5, 5, 1, 1.0E+6f, 1.0E+6f)), 1000);
  ModelState flat = test::UniformModel(5, 5, 1, 10, 10);
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) flat.TOP(j, i, 1) = flat.BOT(j, i, 1);
  EXPECT_FLOAT_EQ(ReadableExaggeration(flat), 1);
}

}  // namespace
}  // namespace kestra
