#include <gtest/gtest.h>

#include "mf2005/packages.h"
#include "support/mf2005_writer.h"

namespace kestra {
namespace {

struct DisRead {
  bool ok = false;
  Mf2005Model model;
  std::string problem;
};

DisRead ReadDis(const std::string& text) {
  DisRead read;
  PackageInput input;
  input.file = test::TextOf(text, "model.dis");
  input.unit = 11;
  Mf2005Files files;
  read.ok = ReadDiscretization(input, files, read.model, read.problem);
  return read;
}

TEST(Mf2005Discretization, LayersStackOnTheBottomsAndPeriodsKeepTheirTiming) {
  // The confining-bed flag of the bottom layer is ignored, as MODFLOW does.
  const auto read = ReadDis(
      "# two layers\n2 1 2 2 1 2\n0 1\nINTERNAL 1.0 (FREE) 0\n10 20\nCONSTANT 5\n"
      "INTERNAL 1.0 (FREE) 0\n30 31\nCONSTANT 20\nINTERNAL 1.0 (FREE) 0\n1 2\n"
      "1.0 1 1.0 ss\n86400 10 1.2 Tr\n");
  ASSERT_TRUE(read.ok) << read.problem;
  const Mf2005Model& model = read.model;
  EXPECT_EQ(model.DELR, (std::vector<float>{0, 10, 20}));
  EXPECT_FLOAT_EQ(model.TOP(2, 1, 1), 31);
  EXPECT_FLOAT_EQ(model.BOT(2, 1, 1), 20);
  EXPECT_FLOAT_EQ(model.TOP(2, 1, 2), 20);
  EXPECT_FLOAT_EQ(model.BOT(2, 1, 2), 2);
  EXPECT_EQ(model.stressPeriods.NPER, 2);
  EXPECT_EQ(model.stressPeriods.timeUnit, 1);  // seconds
  EXPECT_FLOAT_EQ(model.stressPeriods.PERLEN[2], 86400);
  EXPECT_EQ(model.stressPeriods.NSTP[2], 10);
  EXPECT_FLOAT_EQ(model.stressPeriods.TSMULT[2], 1.2f);
  EXPECT_EQ(model.steadyState, (std::vector<bool>{false, true, false}));
}

TEST(Mf2005Discretization, UnknownTimeUnitIsUndefined) {
  const auto read = ReadDis("1 1 1 1 9 2\n0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\n1 1 1 SS\n");
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(read.model.stressPeriods.timeUnit, 0);
}

TEST(Mf2005Discretization, BadGridsAndPeriodsAreRefused) {
  struct Case {
    const char* text;
    const char* expected;
  };
  for (const Case& c : {
           Case{"1 0 1 1 4 2\n", "line 1: NLAY, NROW, NCOL and NPER must lie between 1 and 32767."},
           Case{"21 1000 1000 1 4 2\n",
                "line 1: the grid must have at least one column, row and layer with at most 20000000 cells."},
           Case{"nan 1 1 1 4 2\n", "line 1: NLAY, NROW, NCOL and NPER must lie between 1 and 32767."},
           Case{"1 1 inf 1 4 2\n", "line 1: NLAY, NROW, NCOL and NPER must lie between 1 and 32767."},
           Case{"1 1 2 1 4 2\n0\nINTERNAL 1 (FREE) 0\n10 0\n", "line 4: column and row widths must be greater than 0."},
           Case{"1 1 1 1 4 2\n0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\n1 1 1 XX\n",
                "line 7: PERLEN, NSTP, TSMULT and SS or TR are needed."},
           Case{"1 1 1 1 4 2\n0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\n1 0 1 SS\n",
                "line 7: NSTP must lie between 1 and 32767."},
           Case{"1 1 1 2 4 2\n0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\n1 1 1 SS\n",
                "the file ends before the stress period 2."},
           Case{"1 1 1 1 4 2\n0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\nNaN 1 1 SS\n",
                "line 7: PERLEN and TSMULT must be finite numbers."},
           Case{"1 1 1 1 4 2\n0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\n1 1 1E+40 TR\n",
                "line 7: PERLEN and TSMULT must be finite numbers."},
           Case{"1 1 1 1 4 2\n0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\n-inf 1 1 TR\n",
                "line 7: PERLEN and TSMULT must be finite numbers."},
       }) {
    const auto read = ReadDis(c.text);
    EXPECT_FALSE(read.ok) << c.text;
    EXPECT_NE(read.problem.find(c.expected), std::string::npos) << read.problem;
  }
}

}  // namespace
}  // namespace kestra
