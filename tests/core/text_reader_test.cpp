// Reading values from text, and quoting text back in messages.
#include "core/quoted_text.h"
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
  TextReader reader("3 4\r\nThe title, with commas\r\n5 6 rest of line\nnext\n7\n8\n");
  int a = 0, b = 0, c = 0;
  ASSERT_TRUE(reader.NextInt(a) && reader.NextInt(b));
  EXPECT_EQ(reader.NextLine(), "The title, with commas");
  ASSERT_TRUE(reader.NextInt(c));
  reader.SkipRestOfLine();
  EXPECT_EQ(reader.NextLine(), "next");
  // After the line end that ends a value, skipping the rest skips nothing.
  ASSERT_TRUE(reader.NextInt(c));
  reader.SkipRestOfLine();
  ASSERT_TRUE(reader.NextInt(c));
  EXPECT_EQ(c, 8);
  EXPECT_EQ(reader.NextLine(), std::nullopt);
}

TEST(QuotedText, ShortTextIsQuotedWholeAndLongTextByItsStart) {
  EXPECT_EQ(QuotedText("1.5x"), "\"1.5x\"");
  EXPECT_EQ(QuotedText(""), "\"\"");
  EXPECT_EQ(SingleQuotedText("--zoom"), "'--zoom'");
  // Long text shows only its start.
  const std::string sixty(60, 'a');
  EXPECT_EQ(QuotedText(sixty), "\"" + sixty + "\"");
  EXPECT_EQ(QuotedText(sixty + "b"), "\"" + sixty + "...\"");
  const std::string megabyte(1 << 20, 'x');
  EXPECT_EQ(QuotedText(megabyte), "\"" + std::string(60, 'x') + "...\"");
  EXPECT_EQ(SingleQuotedText(megabyte).size(), 65u);
}

}  // namespace
}  // namespace kestra
