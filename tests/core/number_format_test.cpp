#include "core/number_format.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(NumberText, IntegersHaveALeadingBlankUnlessNegative) {
  EXPECT_EQ(NumberText(12632256), " 12632256");
  EXPECT_EQ(NumberText(-1), "-1");
  EXPECT_EQ(NumberText(0), " 0");
}

TEST(NumberText, FloatsUseAtMostSevenSignificantDigits) {
  EXPECT_EQ(NumberText(31557600.0f), " 3.15576E+07");
  EXPECT_EQ(NumberText(12632256.0f), " 1.263226E+07");
  EXPECT_EQ(NumberText(16777215.0f), " 1.677722E+07");
  EXPECT_EQ(NumberText(0.1f), " .1");
  EXPECT_EQ(NumberText(-999.99f), "-999.99");
  EXPECT_EQ(NumberText(9999999.0f), " 9999999");
}

TEST(NumberText, DoublesUseAtMostFifteenSignificantDigits) {
  EXPECT_EQ(NumberText(31557600.0), " 31557600");
  EXPECT_EQ(NumberText(12632256.0), " 12632256");
  EXPECT_EQ(NumberText(365.25), " 365.25");
  EXPECT_EQ(NumberText(1e15), " 1E+15");
  EXPECT_EQ(NumberText(0.1), " .1");
}

TEST(NumberText, ExponentFormForLargeAndSmallValues) {
  EXPECT_EQ(NumberText(1e30f), " 1E+30");
  EXPECT_EQ(NumberText(-1e30f), "-1E+30");
  EXPECT_EQ(NumberText(1e-5f), " 1E-05");
  EXPECT_EQ(NumberText(1e-5), " 1E-05");
  EXPECT_EQ(NumberText(0.0001), " .0001");
  EXPECT_EQ(NumberText(1.5e-20f), " 1.5E-20");
}

TEST(NumberText, FractionsHaveNoLeadingZero) {
  EXPECT_EQ(NumberText(0.5f), " .5");
  EXPECT_EQ(NumberText(0.5), " .5");
  EXPECT_EQ(NumberText(-0.25), "-.25");
  EXPECT_EQ(TrimmedNumberText(0.5), ".5");
  EXPECT_EQ(TrimmedNumberText(-2.0), "-2");
}

TEST(GeneralNumberText, NoLeadingBlankAndAZeroBeforeThePoint) {
  EXPECT_EQ(GeneralNumberText(0.5f), "0.5");
  EXPECT_EQ(GeneralNumberText(-0.25f), "-0.25");
  EXPECT_EQ(GeneralNumberText(3.75f), "3.75");
  EXPECT_EQ(GeneralNumberText(1e-5f), "1E-05");
  EXPECT_EQ(GeneralNumberText(31557600.0f), "3.15576E+07");
  EXPECT_EQ(GeneralNumberText(0.1f), "0.1");
  EXPECT_EQ(GeneralNumberText(0.0f), "0");
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
  EXPECT_EQ(LeadingNumber(" 12632256"), 12632256);
  EXPECT_EQ(LeadingNumber("-1"), -1);
  EXPECT_EQ(LeadingNumber("1E+30"), 1e30);
  EXPECT_EQ(LeadingNumber(" .5"), 0.5);
  EXPECT_EQ(LeadingNumber("2.5 days"), 2.5);
  EXPECT_EQ(LeadingNumber("1.5D+02"), 150);
  EXPECT_EQ(LeadingNumber("3E"), 3);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
}

TEST(LeadingNumber, ReadsBackEveryNumberText) {
  for (double value : {31557600.0, -999.99, 1e30, 1e-5, 0.5, 365.25, -0.25})
    EXPECT_EQ(LeadingNumber(NumberText(value)), value) << value;
}

TEST(RoundToInt16, RoundsHalfToEven) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(2.4999), 2);
  EXPECT_EQ(RoundToInt16(2.6), 3);
}

TEST(RoundToInt16, RefusesValuesOutsideSixteenBits) {
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_FALSE(RoundToInt16(32767.6).has_value());
  EXPECT_EQ(RoundToInt16(-32768), -32768);
  EXPECT_FALSE(RoundToInt16(-32769).has_value());
  EXPECT_FALSE(RoundToInt16(1e30).has_value());
  EXPECT_FALSE(RoundToInt16(std::numeric_limits<double>::quiet_NaN()).has_value());
  EXPECT_EQ(RoundToInt32(16777215.0), 16777215);
  EXPECT_FALSE(RoundToInt32(3e9).has_value());
}

TEST(FormatMasks, ScientificMasksKeepTheirDecimalsAndTwoExponentDigits) {
  EXPECT_EQ(ScientificText(120, 11), "1.20000000000E+02");
  EXPECT_EQ(ScientificText(0, 11), "0.00000000000E+00");
  EXPECT_EQ(ScientificText(-0.5, 4), "-5.0000E-01");
  EXPECT_EQ(ScientificText(12345.678, 3), "1.235E+04");
  EXPECT_EQ(ScientificText(1e-120, 3), "1.000E-120");
  EXPECT_EQ(IntegerMaskText(12), "12");
}

TEST(FormatMasks, ExportValueTextIsFifteenCharacters) {
  EXPECT_EQ(ExportValueText(12.5), " 1.2500000E+01 ");
  EXPECT_EQ(ExportValueText(-0.00123), "-1.2300000E-03 ");
  EXPECT_EQ(ExportValueText(0), " 0.0000000E+00 ");
  EXPECT_EQ(ExportValueText(-1e30).size(), 15u);
}

TEST(FormatMasks, ContourLabels) {
  EXPECT_EQ(ContourLabelNumber(12.345, 0, 2), "12.35");
  EXPECT_EQ(ContourLabelNumber(12.0, 0, 0), "12.");
  EXPECT_EQ(ContourLabelNumber(-0.001, 0, 1), "0.0");
  EXPECT_EQ(ContourLabelNumber(1234.5, 1, 2), "1.23E+03");
}

}  // namespace
}  // namespace kestra
