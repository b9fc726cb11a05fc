#include "core/text_reader.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(TextReader, FieldsEndAtBlanksCommasAndLineEnds) {
  TextReader reader("1, 2.5  -3E2\r\n4D1,,x 7\r\n");
  double value = 0;
  std::vector<double> read;
  while (auto field = reader.NextField())
    if (auto number = ParseNumber(*field)) read.push_back(*number);
  EXPECT_EQ(read, (std::vector<double>{1, 2.5, -300, 40, 7}));
  EXPECT_FALSE(reader.NextNumber(value));
}

TEST(TextReader, UnreadableValueIsSkippedAndKeepsTheVariable) {
  TextReader reader("12 abc 7\n");
  std::int16_t first = 0, second = 5, third = 0;
  EXPECT_TRUE(reader.NextInt16(first));
  EXPECT_FALSE(reader.NextInt16(second));
  EXPECT_TRUE(reader.NextInt16(third));
  EXPECT_EQ(second, 5);
  EXPECT_EQ(third, 7);
}

TEST(TextReader, LineAfterTheLastValueOfALineIsTheNextLine) {
  TextReader reader("3 4\r\nThe title, with commas\r\n5 6 rest of line\nnext\n");
  int a = 0, b = 0, c = 0;
  ASSERT_TRUE(reader.NextInt(a) && reader.NextInt(b));
  EXPECT_EQ(reader.NextLine(), "The title, with commas");
  ASSERT_TRUE(reader.NextInt(c));
  reader.SkipRestOfLine();
  EXPECT_EQ(reader.NextLine(), "next");
  EXPECT_EQ(reader.NextLine(), std::nullopt);
}

TEST(TextReader, SkipRestOfLineAfterALineEndSkipsNothing) {
  TextReader reader("1\n2\n");
  int value = 0;
  ASSERT_TRUE(reader.NextInt(value));
  reader.SkipRestOfLine();
  ASSERT_TRUE(reader.NextInt(value));
  EXPECT_EQ(value, 2);
}

}  // namespace
}  // namespace kestra
