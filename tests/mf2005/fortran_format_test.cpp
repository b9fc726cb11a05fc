#include "mf2005/fortran_format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/mf2005_writer.h"

namespace kestra {
namespace {

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
  ASSERT_EQ(format.fields.size(), 8u);
  EXPECT_EQ(format.fields[0].kind, FortranField::Kind::Skip);
  EXPECT_EQ(format.fields[1].width, 3);
  EXPECT_EQ(format.fields[2].kind, FortranField::Kind::Skip);
  EXPECT_EQ(format.fields[2].width, 2);
  EXPECT_EQ(format.fields[7].width, 12);
  EXPECT_EQ(format.fields[7].decimals, 4);
  EXPECT_EQ(format.reversionStart, 1u);  // the last top-level group
}

TEST(FortranFormat, FieldsWithoutAPointHaveImpliedDecimals) {
  // F8.2 reads "  1234" as 12.34 but "  12.5" as written; a blank field is 0;
  // blanks inside a field are ignored.
  EXPECT_EQ(ReadWith("(4F8.2)", "    1234    12.5        1 2 3", 4), (std::vector<double>{12.34, 12.5, 0, 1.23}));
  EXPECT_EQ(ReadWith("(2E10.3)", "  1.5E+02     25E1", 2), (std::vector<double>{150, 0.25}));
  EXPECT_EQ(ReadWith("(1PE12.4,D12.4)", "  1.0000E-03  2.0000D+00", 2), (std::vector<double>{0.001, 2}));
}

TEST(FortranFormat, ReadingGoesOnOnTheNextLineWhenTheFormatIsUsedUp) {
  EXPECT_EQ(ReadWith("(3I4)", "   1   2   3\n   4   5", 5), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(ReadWith("(I2/I2)", " 7\n 8", 2), (std::vector<double>{7, 8}));
}

TEST(FortranFormat, FormatsThatCannotReadNumbersAreRefused) {
  FortranFormat format;
  for (const char* text : {"(10A4)", "10F8.2", "(5X)", "(F)", "(2(I3)", "(L2)", "(999999F8.2)"})
    EXPECT_FALSE(ParseFortranFormat(text, format)) << text;
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

TEST(FortranFormat, AnEmptyLastGroupRevertsToTheStartInsteadOfPastTheEnd) {
  FortranFormat format;
  ASSERT_TRUE(ParseFortranFormat("(I4,())", format));
  EXPECT_EQ(format.reversionStart, 0u);
  EXPECT_EQ(ReadWith("(I4,())", "   1\n   2\n   3", 3), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(ReadWith("(I2,2(I1))", " 123\n45", 5), (std::vector<double>{1, 2, 3, 4, 5}));
}

TEST(FortranFormat, DeeplyNestedGroupsAreRefusedWithoutExhaustingTheStack) {
  FortranFormat format;
  EXPECT_TRUE(ParseFortranFormat("(2(3(I4)))", format));
  EXPECT_FALSE(ParseFortranFormat(std::string(20000, '(') + "I4" + std::string(20000, ')'), format));
  EXPECT_FALSE(ParseFortranFormat(std::string(20000, '('), format));
}

TEST(FortranFormat, AnAbsurdExponentWithImpliedDecimalsGivesAnInfiniteOrZeroValue) {
  // The exponent minus the implied decimals must not overflow an integer.
  const auto huge = ReadWith("(F20.5)", "1E-2147483647", 1);
  EXPECT_EQ(huge[0], 0.0);
  const auto large = ReadWith("(F20.5)", "1E2147483647", 1);
  EXPECT_TRUE(std::isinf(large[0]));
  EXPECT_EQ(ReadWith("(F8.2)", "  125E1", 1)[0], 12.5);
}

}  // namespace
}  // namespace kestra
