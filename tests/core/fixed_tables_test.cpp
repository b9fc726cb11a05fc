#include "core/fixed_tables.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

void ExpectColor(int index, float red, float green, float blue) {
  const RgbColor& c = ColorIndexTable()[index];
  constexpr float kTolerance = 1e-3f;  // 32-bit products of fractions and 255
  EXPECT_NEAR(c.red, red, kTolerance) << "entry " << index;
  EXPECT_NEAR(c.green, green, kTolerance) << "entry " << index;
  EXPECT_NEAR(c.blue, blue, kTolerance) << "entry " << index;
}

// Basic colours and whites, then hue groups pure, pale and darkened, then
// the greys that close the table.
TEST(ColorIndexTable, EntriesOfEveryPart) {
  ExpectColor(1, 255, 0, 0);
  ExpectColor(5, 0, 0, 255);
  ExpectColor(7, 255, 255, 255);
  ExpectColor(9, 255, 255, 255);
  ExpectColor(10, 255, 0, 0);          // group 0, pure red
  ExpectColor(11, 255, 127.5, 127.5);  // pale red
  ExpectColor(12, 0.65f * 255, 0, 0);
  ExpectColor(19, 0.15f * 255, 0.15f * 127.5f, 0.15f * 127.5f);
  ExpectColor(20, 255, 63.75f, 0);   // group 1: t = 0.25
  ExpectColor(50, 255, 255, 0);      // group 4: second sector, t = 0
  ExpectColor(60, 191.25f, 255, 0);  // group 5: t = 0.25
  ExpectColor(240, 255, 0, 63.75f);  // group 23: last sector, t = 0.75
  ExpectColor(249, 0.15f * 255, 0.15f * 127.5f, 0.15f * 159.375f);
  ExpectColor(250, 0.33f * 255, 0.33f * 255, 0.33f * 255);
  ExpectColor(254, 0.866f * 255, 0.866f * 255, 0.866f * 255);
  ExpectColor(255, 255, 255, 255);
}

TEST(DataFileExtensions, KnownTypesAndGaps) {
  for (const auto& [type, extension] : {std::pair{1, ".X"}, {6, ".POR"}, {26, ".SRE"}, {70, ".WAL"}, {125, ".S1z"},
                                         {189, ".Z89"}, {0, ""}, {35, ""}, {200, ""}})
    EXPECT_EQ(DataFileExtensions()[type], extension) << type;
}

}  // namespace
}  // namespace kestra
