#include <gtest/gtest.h>

#include "mf2005/packages.h"
#include "support/mf2005_writer.h"

namespace kestra {
namespace {

struct Units {
  bool ok = false;
  int head = -1;
  int drawdown = -1;
};

Units ReadOc(const std::string& text, bool freeFormat) {
  PackageInput input;
  input.file = test::TextOf(text, "model.oc");
  Units units;
  std::string problem;
  units.ok = ReadOutputControl(input, freeFormat, units.head, units.drawdown, problem);
  return units;
}

TEST(Mf2005OutputControl, WordsGiveTheSaveUnitsInAnyLetterCase) {
  const auto units = ReadOc("# oc\nhead print format 0\nHead Save Unit 51\nPERIOD 1 STEP 1\n  SAVE HEAD\n", true);
  ASSERT_TRUE(units.ok);
  EXPECT_EQ(units.head, 51);
  EXPECT_EQ(units.drawdown, 0);
}

TEST(Mf2005OutputControl, NumericFormGivesTheUnitsOfItsFirstRecord) {
  const auto fixed = ReadOc("         0         0        30        31\n         0         1         1         0\n", false);
  ASSERT_TRUE(fixed.ok);
  EXPECT_EQ(fixed.head, 30);
  EXPECT_EQ(fixed.drawdown, 31);
  const auto free = ReadOc("0 0 50 0\n", true);
  EXPECT_EQ(free.head, 50);
  EXPECT_EQ(free.drawdown, 0);
}

}  // namespace
}  // namespace kestra
