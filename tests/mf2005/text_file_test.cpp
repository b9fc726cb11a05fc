#include "mf2005/text_file.h"

#include <gtest/gtest.h>

#include "support/mf2005_writer.h"

namespace kestra {
namespace {

TEST(Mf2005TextFile, ListDirectedReadRunsOverLinesWithRepeatsAndStops) {
  TextFile file = test::TextOf("1, 2.5D0\n3*7 +4 tail words\nnext\n");
  std::vector<double> values;
  std::string problem;
  ASSERT_TRUE(ReadFreeValues(file, 6, values, problem)) << problem;
  EXPECT_EQ(values, (std::vector<double>{1, 2.5, 7, 7, 7, 4}));
  EXPECT_EQ(file.lines[file.next], "next");

  // "/" ends the read; the values not read stay as they were.
  TextFile slash = test::TextOf("5 /\n");
  std::vector<double> kept{0, 0, 9};
  ASSERT_TRUE(ReadFreeValues(slash, 3, kept, problem));
  EXPECT_EQ(kept, (std::vector<double>{5, 0, 9}));
}

TEST(Mf2005TextFile, NumbersFollowFortranRules) {
  double value = 0;
  EXPECT_TRUE(ParseReal("1.0E+30", value));
  EXPECT_EQ(value, 1.0E+30);
  EXPECT_TRUE(ParseReal("-.5d-1", value));
  EXPECT_EQ(value, -0.05);
  EXPECT_TRUE(ParseReal("3.", value));
  EXPECT_FALSE(ParseReal("1.0x", value));
  EXPECT_FALSE(ParseReal("++1", value));
  EXPECT_FALSE(ParseReal("", value));
  int whole = 0;
  EXPECT_TRUE(ParseInteger("4.0", whole));
  EXPECT_EQ(whole, 4);
  EXPECT_FALSE(ParseInteger("4.5", whole));
  EXPECT_FALSE(ParseInteger("1e20", whole));
}

TEST(Mf2005TextFile, WordsSplitAtBlanksTabsAndCommasAndKeepQuotedText) {
  EXPECT_EQ(SplitWords(" a,b\t 'c d' ,,e"), (std::vector<std::string>{"a", "b", "c d", "e"}));
}

TEST(Mf2005TextFile, LinesLoseTheirCarriageReturnsAndCommentsAreSkipped) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("p.txt"), "# one\r\n#two\r\ndata\r\n# not skipped later\r\n");
  TextFile file;
  ASSERT_TRUE(LoadTextFile(dir.File("p.txt"), file));
  SkipCommentLines(file);
  std::string line;
  ASSERT_TRUE(NextLine(file, line));
  EXPECT_EQ(line, "data");
  EXPECT_EQ(LineProblem(file, "x"), "p.txt, line 3: x");
  EXPECT_FALSE(LoadTextFile(dir.File("missing.txt"), file));
  EXPECT_FALSE(LoadTextFile(dir.path().string(), file));
}

}  // namespace
}  // namespace kestra
