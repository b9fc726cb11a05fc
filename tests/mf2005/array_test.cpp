// The arrays of MODFLOW-2005's packages and the Fortran formats they are read with.
#include "mf2005/array.h"
#include "mf2005/fortran_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "support/mf2005_writer.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

using test::TextOf;

constexpr int kOwnUnit = 11;

// A package file of unit 11 holding `text`, with the name file of `dir`
// listing unit 40 as the external file "ext.dat" and 41 as a binary file.
struct ArrayFixture {
  test::TempDir dir;
  Mf2005Files files;
  PackageInput input;

  explicit ArrayFixture(const std::string& text) {
    files.nameFile.path = dir.File("model.nam");
    files.nameFile.entries = {{"DATA", 40, dir.File("ext.dat")}, {"DATA(BINARY)", 41, dir.File("ext.bin")}};
    input.file = TextOf(text);
    input.unit = kOwnUnit;
  }
  bool Real(int ncol, int nrow, std::vector<float>& values) {
    return ReadRealArray(input, files, ncol, nrow, values, problem);
  }
  // The next array, which must read.
  std::vector<float> Next(int ncol, int nrow = 1) {
    std::vector<float> values;
    EXPECT_TRUE(Real(ncol, nrow, values)) << problem;
    return values;
  }
  std::string problem;
};

// The problem that reading a 2 x 1 array from `text` must fail with.
std::string ProblemOf(const std::string& text) {
  ArrayFixture f(text);
  std::vector<float> values;
  EXPECT_FALSE(f.Real(2, 1, values)) << text.substr(0, 60);
  return f.problem;
}

TEST(Mf2005Array, ControlRecordsGiveTheValuesTimesTheFactor) {
  const struct {
    const char* what;
    const char* text;
    int ncol, nrow;
    std::vector<float> values;
    const char* nextLine;  // the line after the array, "" at the end of the file
  } cases[] = {
      {"constant", "CONSTANT 12.5\n", 3, 2, std::vector<float>(6, 12.5f), ""},
      // Row 1 runs over two lines; what follows its last value on that line
      // is not row 2, as in MODFLOW where every row is one READ.
      {"free format, a row a line", "internal 2.0 (free) 0\n1 2\n3 99 99\n4,5 6\nnext\n", 3, 2,
       {2, 4, 6, 8, 10, 12}, "next"},
      {"factor zero leaves the values as read", "INTERNAL 0 (FREE) -1\n1.5 2.5\n", 2, 1, {1.5f, 2.5f}, ""},
      // (1X,2F5.1): each line starts with one skipped column, then two
      // fields; values without a point have one implied decimal.
      {"fixed fields with reversion", "INTERNAL 1.0 (1X,2F5.1) 0\nx  1.5   25\nx  3.0\n", 3, 1, {1.5f, 2.5f, 3.0f},
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ArrayFixture f(c.text);
    EXPECT_EQ(f.Next(c.ncol, c.nrow), c.values);
    const auto& lines = f.input.file.lines;
    EXPECT_EQ(f.input.file.next < lines.size() ? lines[f.input.file.next] : "", c.nextLine);
  }
}

TEST(Mf2005Array, ExternalUnitReadsOnWhereThePreviousArrayStopped) {
  ArrayFixture f("EXTERNAL 40 1.0 (FREE) 0\nEXTERNAL 40 10. (2F5.1) 0\n");
  test::WriteWholeFile(f.dir.File("ext.dat"), "1 2\n  1.5  2.5\n");
  EXPECT_EQ(f.Next(2), (std::vector<float>{1, 2}));
  EXPECT_EQ(f.Next(2), (std::vector<float>{15, 25}));
}

TEST(Mf2005Array, OpenCloseReadsTheNamedFileBesideTheNameFile) {
  ArrayFixture f("OPEN/CLOSE arrays\\top.txt 2.0 (FREE) 1\nOPEN/CLOSE arrays\\top.txt 1.0 (FREE) 1\n");
  std::filesystem::create_directories(f.dir.path() / "arrays");
  test::WriteWholeFile(f.dir.File("arrays/top.txt"), "3 4\n");
  EXPECT_EQ(f.Next(2), (std::vector<float>{6, 8}));
  EXPECT_EQ(f.Next(2), (std::vector<float>{3, 4}));  // closed after use: read again from the start
}

TEST(Mf2005Array, FixedControlRecordsSelectConstantInternalAndExternal) {
  ArrayFixture f(
      "         0       7.5\n"
      "        11       2.0(10F8.2)                 1\n"
      "    1.25    2.50\n"
      "        40       1.0(FREE)                   1\n");
  test::WriteWholeFile(f.dir.File("ext.dat"), "9 8\n");
  EXPECT_EQ(f.Next(2), (std::vector<float>{7.5f, 7.5f}));
  EXPECT_EQ(f.Next(2), (std::vector<float>{2.5f, 5.0f}));
  EXPECT_EQ(f.Next(2), (std::vector<float>{9, 8}));
}

TEST(Mf2005Array, IntegerArraysReadIntegerFieldsMultiplyAndRefuseFractions) {
  ArrayFixture f("INTERNAL 2 (3I3) 0\n  1 -1  0\n  5 12  7\nINTERNAL 1 (FREE) 0\n1 2.5\n");
  std::vector<int> values;
  ASSERT_TRUE(ReadIntegerArray(f.input, f.files, 3, 2, values, f.problem)) << f.problem;
  EXPECT_EQ(values, (std::vector<int>{2, -2, 0, 10, 24, 14}));
  EXPECT_FALSE(ReadIntegerArray(f.input, f.files, 2, 1, values, f.problem));
  EXPECT_NE(f.problem.find("whole number"), std::string::npos) << f.problem;
}

TEST(Mf2005Array, BadOrBinaryRecordsAreRefusedWithTheirReason) {
  const std::string binary = "binary arrays are not supported";
  const struct {
    const char* text;
    std::string expected;
  } cases[] = {{"INTERNAL 1.0 (FREE) 0\n1 x\n", "package.txt, line 2: \"x\" is not a number."},
               {"INTERNAL 1.0 (FREE) 0\n1\n", "line 2: the file ends before all values were read."},
               {"EXTERNAL 77 1.0 (FREE) 0\n", "unit 77 is not listed in the name file."},
               {"EXTERNAL 40 1.0 (FREE) 0\n", "ext.dat cannot be read."},
               {"INTERNAL 1.0 (10A4) 0\n", "the format \"(10A4)\" cannot be read."},
               {"", "the file ends where an array control record is expected."},
               {"OPEN/CLOSE top.bin 1.0 (BINARY) 0\n", binary},
               {"EXTERNAL 41 1.0 (FREE) 0\n", binary},
               {"EXTERNAL 40 1.0 (binary) 0\n", binary},
               {"       -40       1.0\n", binary}};
  for (const auto& c : cases) {
    const std::string problem = ProblemOf(c.text);
    EXPECT_NE(problem.find(c.expected), std::string::npos) << c.text << ": " << problem;
  }
}

TEST(Mf2005Array, AHugeWordIsQuotedOnlyByItsStart) {
  const std::string word(1 << 20, '7');
  for (const std::string& text : {"INTERNAL 1.0 (FREE) 0\n1 " + word + "x\n", word + "\n"}) {
    const std::string problem = ProblemOf(text);
    EXPECT_NE(problem.find("\"" + std::string(60, '7') + "...\""), std::string::npos) << problem.substr(0, 200);
    EXPECT_LT(problem.size(), 200u);
  }
}

std::vector<double> ReadWith(const std::string& formatText, const std::string& text, std::size_t count) {
  FortranFormat format;
  EXPECT_TRUE(ParseFortranFormat(formatText, format)) << formatText;
  TextFile file = test::TextOf(text);
  std::vector<double> values;
  std::string problem;
  EXPECT_TRUE(ReadFormattedValues(file, format, count, values, problem)) << problem;
  return values;
}

TEST(FortranFormat, RepeatCountsAndGroupsExpand) {
  FortranFormat format;
  ASSERT_TRUE(ParseFortranFormat("(1X, 2(I3,2X), 3e12.4)", format));
  using Field = std::tuple<FortranField::Kind, int, int, bool>;  // kind, width, decimals, integer
  std::vector<Field> fields;
  for (const FortranField& f : format.fields) fields.emplace_back(f.kind, f.width, f.decimals, f.integer);
  const Field x1{FortranField::Kind::Skip, 1, 0, false}, i3{FortranField::Kind::Value, 3, 0, true},
      x2{FortranField::Kind::Skip, 2, 0, false}, e12{FortranField::Kind::Value, 12, 4, false};
  EXPECT_EQ(fields, (std::vector<Field>{x1, i3, x2, i3, x2, e12, e12, e12}));
  EXPECT_EQ(format.reversionStart, 1u);  // the last top-level group
}

TEST(FortranFormat, FieldsWithoutAPointHaveImpliedDecimalsWhateverTheExponent) {
  // F8.2 reads "  1234" as 12.34 but "  12.5" as written; a blank field is 0;
  // blanks inside a field are ignored.
  EXPECT_EQ(ReadWith("(4F8.2)", "    1234    12.5        1 2 3", 4), (std::vector<double>{12.34, 12.5, 0, 1.23}));
  EXPECT_EQ(ReadWith("(2E10.3)", "  1.5E+02     25E1", 2), (std::vector<double>{150, 0.25}));
  EXPECT_EQ(ReadWith("(1PE12.4,D12.4)", "  1.0000E-03  2.0000D+00", 2), (std::vector<double>{0.001, 2}));
  // The exponent minus the implied decimals must not overflow an integer.
  EXPECT_EQ(ReadWith("(F20.5)", "1E-2147483647", 1)[0], 0.0);
  EXPECT_TRUE(std::isinf(ReadWith("(F20.5)", "1E2147483647", 1)[0]));
  EXPECT_EQ(ReadWith("(F8.2)", "  125E1", 1)[0], 12.5);
}

TEST(FortranFormat, ReadingGoesOnOnTheNextLineWhenTheFormatIsUsedUpFromTheLastGroup) {
  EXPECT_EQ(ReadWith("(3I4)", "   1   2   3\n   4   5", 5), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(ReadWith("(I2/I2)", " 7\n 8", 2), (std::vector<double>{7, 8}));
  // An empty last group reverts to the start instead of past the end.
  FortranFormat format;
  ASSERT_TRUE(ParseFortranFormat("(I4,())", format));
  EXPECT_EQ(format.reversionStart, 0u);
  EXPECT_EQ(ReadWith("(I4,())", "   1\n   2\n   3", 3), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(ReadWith("(I2,2(I1))", " 123\n45", 5), (std::vector<double>{1, 2, 3, 4, 5}));
}

TEST(FortranFormat, FormatsThatCannotReadNumbersOrNestTooDeeplyAreRefused) {
  FortranFormat format;
  for (const char* text : {"(10A4)", "10F8.2", "(5X)", "(F)", "(2(I3)", "(L2)", "(999999F8.2)"})
    EXPECT_FALSE(ParseFortranFormat(text, format)) << text;
  // Deeply nested groups are refused without exhausting the stack.
  EXPECT_TRUE(ParseFortranFormat("(2(3(I4)))", format));
  EXPECT_FALSE(ParseFortranFormat(std::string(20000, '(') + "I4" + std::string(20000, ')'), format));
  EXPECT_FALSE(ParseFortranFormat(std::string(20000, '('), format));
}

TEST(FortranFormat, TextOrARealInAnIntegerFieldIsNamed) {
  FortranFormat format;
  ASSERT_TRUE(ParseFortranFormat("(2I4)", format));
  std::vector<double> values;
  std::string problem;
  TextFile text = test::TextOf("   1  xy");
  EXPECT_FALSE(ReadFormattedValues(text, format, 2, values, problem));
  EXPECT_EQ(problem, "package.txt, line 1: \"  xy\" is not a number.");
  // A control record "0 10.0" typed without its columns must not become LOCAT 10.
  TextFile real = test::TextOf("   1 1.0");
  EXPECT_FALSE(ReadFormattedValues(real, format, 2, values, problem));
}

}  // namespace
}  // namespace kestra
