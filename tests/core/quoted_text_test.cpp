#include "core/quoted_text.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(QuotedText, ShortTextIsQuotedWhole) {
  EXPECT_EQ(QuotedText("1.5x"), "\"1.5x\"");
  EXPECT_EQ(QuotedText(""), "\"\"");
  EXPECT_EQ(SingleQuotedText("--zoom"), "'--zoom'");
}

TEST(QuotedText, LongTextShowsOnlyItsStart) {
  const std::string sixty(60, 'a');
  EXPECT_EQ(QuotedText(sixty), "\"" + sixty + "\"");
  EXPECT_EQ(QuotedText(sixty + "b"), "\"" + sixty + "...\"");
  const std::string megabyte(1 << 20, 'x');
  EXPECT_EQ(QuotedText(megabyte), "\"" + std::string(60, 'x') + "...\"");
  EXPECT_EQ(SingleQuotedText(megabyte).size(), 65u);
}

}  // namespace
}  // namespace kestra
