// The text files of a model: package files read line by line and the name file.
#include "mf2005/name_file.h"
#include "mf2005/text_file.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/mf2005_writer.h"
#include "support/temp_dir.h"

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
  for (const auto& [text, expected] :
       {std::pair{"1.0E+30", 1.0E+30}, {"-.5d-1", -0.05}, {"3.", 3.0}, {"+2.5D+2", 250.0}, {"42", 42.0},
        {"-7", -7.0}, {"+15", 15.0}, {"123456789012345", 123456789012345.0},
        {"12345678901234567", 12345678901234567.0}}) {
    double value = 0;
    EXPECT_TRUE(ParseReal(text, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
  double value = 0;
  for (const char* text : {"d5", "1.5d", "1.0x", "++1", "", "-", "+-", "1-2", "12a"})
    EXPECT_FALSE(ParseReal(text, value)) << text;
  EXPECT_TRUE(ParseReal("-0", value));
  EXPECT_TRUE(std::signbit(value));
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

TEST(Mf2005NameFile, TypesAnyCaseNamesResolvedBesideTheNameFileWithTheirCase) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("Run.nam"),
                       "# comment\r\n\r\nlist 2 run.lst\r\n  dis 11 Input\\Grid.DIS old\r\n"
                       "Bas6 1 /abs/path/run.bas\r\ndata(binary) 30 'Run Heads.hds' REPLACE\r\n");
  Mf2005NameFile nameFile;
  std::string problem;
  ASSERT_TRUE(ReadMf2005NameFile(dir.File("Run.nam"), nameFile, problem)) << problem;
  ASSERT_EQ(nameFile.entries.size(), 4u);
  EXPECT_TRUE(IsMf2005NameFile(nameFile));
  const NameFileEntry* dis = FindFileType(nameFile, "DIS");
  ASSERT_NE(dis, nullptr);
  EXPECT_EQ(dis->unit, 11);
  EXPECT_EQ(dis->path, (dir.path() / "Input" / "Grid.DIS").string());
  EXPECT_EQ(FindFileType(nameFile, "BAS6")->path, "/abs/path/run.bas");
  ASSERT_NE(FindUnit(nameFile, 30), nullptr);
  EXPECT_EQ(FindUnit(nameFile, 30)->fileType, "DATA(BINARY)");
  EXPECT_EQ(FindUnit(nameFile, 30)->path, dir.File("Run Heads.hds"));
  EXPECT_EQ(FindUnit(nameFile, 31), nullptr);
}

TEST(Mf2005NameFile, RecognisedByItsDisAndBasEntries) {
  EXPECT_TRUE(IsMf2005NameFile((test::TestDataDir() / "mixed3d/modflow/mixed3d.nam").string()));
  // The pre-processor's name files list a MAIN data file and no units.
  EXPECT_FALSE(IsMf2005NameFile((test::TestDataDir() / "mixed3d/namefile/mixed3d.nam").string()));
  EXPECT_FALSE(IsMf2005NameFile((test::TestDataDir() / "missing.nam").string()));
}

TEST(Mf2005NameFile, LineWithoutUnitOrFileIsRefused) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("a.nam"), "DIS 11 a.dis\nBAS6 x a.bas\n");
  Mf2005NameFile nameFile;
  nameFile.path = "kept";
  std::string problem;
  EXPECT_FALSE(ReadMf2005NameFile(dir.File("a.nam"), nameFile, problem));
  EXPECT_EQ(problem, "a.nam, line 2: a file type, a unit number and a file name are needed.");
  EXPECT_EQ(nameFile.path, "kept");
}

}  // namespace
}  // namespace kestra
