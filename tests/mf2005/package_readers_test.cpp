// The readers of the packages every MODFLOW-2005 model has: DIS, BAS6, the
// flow package (LPF, UPW or BCF6) and OC.
#include <gtest/gtest.h>

#include "mf2005/packages.h"
#include "support/mf2005_writer.h"

namespace kestra {
namespace {

PackageInput InputOf(const std::string& text, const std::string& path, int unit = 0) {
  PackageInput input;
  input.file = test::TextOf(text, path);
  input.unit = unit;
  return input;
}

struct PackageRead {
  bool ok = false;
  Mf2005Model model;
  std::string problem;
};

PackageRead ReadDis(const std::string& text) {
  PackageRead read;
  PackageInput input = InputOf(text, "model.dis", 11);
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

// One cell of one layer up to its stress period lines.
const std::string kOneCellGrid = "0\nCONSTANT 1\nCONSTANT 1\nCONSTANT 1\nCONSTANT 0\n";

TEST(Mf2005Discretization, UnknownTimeUnitIsUndefined) {
  const auto read = ReadDis("1 1 1 1 9 2\n" + kOneCellGrid + "1 1 1 SS\n");
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(read.model.stressPeriods.timeUnit, 0);
}

TEST(Mf2005Discretization, BadGridsAndPeriodsAreRefused) {
  const std::string kDimensions = "line 1: NLAY, NROW, NCOL and NPER must lie between 1 and 32767.";
  const std::string kNotFinite = "line 7: PERLEN and TSMULT must be finite numbers.";
  const std::string kOnePeriod = "1 1 1 1 4 2\n" + kOneCellGrid;
  const std::pair<std::string, std::string> cases[] = {
      {"1 0 1 1 4 2\n", kDimensions},
      {"nan 1 1 1 4 2\n", kDimensions},
      {"1 1 inf 1 4 2\n", kDimensions},
      {"21 1000 1000 1 4 2\n",
       "line 1: the grid must have at least one column, row and layer with at most 20000000 cells."},
      {"1 1 2 1 4 2\n0\nINTERNAL 1 (FREE) 0\n10 0\n", "line 4: column and row widths must be greater than 0."},
      {kOnePeriod + "1 1 1 XX\n", "line 7: PERLEN, NSTP, TSMULT and SS or TR are needed."},
      {kOnePeriod + "1 0 1 SS\n", "line 7: NSTP must lie between 1 and 32767."},
      {"1 1 1 2 4 2\n" + kOneCellGrid + "1 1 1 SS\n", "the file ends before the stress period 2."},
      {kOnePeriod + "NaN 1 1 SS\n", kNotFinite},
      {kOnePeriod + "1 1 1E+40 TR\n", kNotFinite},
      {kOnePeriod + "-inf 1 1 TR\n", kNotFinite},
  };
  for (const auto& [text, expected] : cases) {
    const auto read = ReadDis(text);
    EXPECT_FALSE(read.ok) << text;
    EXPECT_NE(read.problem.find(expected), std::string::npos) << read.problem;
  }
}

Mf2005Model Grid(int nlay, int nrow, int ncol) {
  Mf2005Model model;
  model.NLAY = nlay;
  model.NROW = nrow;
  model.NCOL = ncol;
  return model;
}

struct BasRead {
  bool ok = false;
  bool freeFormat = false;
  std::string problem;
};

BasRead ReadBas(const std::string& text, Mf2005Model& model) {
  BasRead read;
  PackageInput input = InputOf(text, "model.bas", 1);
  Mf2005Files files;
  read.ok = ReadBasic(input, files, model, read.freeFormat, read.problem);
  return read;
}

TEST(Mf2005Basic, FixedFormatReadsHnofloFromTenColumns) {
  Mf2005Model model = Grid(1, 2, 2);
  const auto read = ReadBas(
      "# fixed\nCHTOCH\n         1         1(2I3)                      3\n -1  1\n  0  2\n   -999.99 rest\n", model);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_FALSE(read.freeFormat);
  EXPECT_EQ(model.IBOUND(1, 1, 1), -1);
  EXPECT_EQ(model.IBOUND(2, 2, 1), 2);
  EXPECT_EQ(model.IBOUND(3, 2, 1), 0);  // border
  EXPECT_FLOAT_EQ(model.HNOFLO, -999.99f);
  EXPECT_EQ(ReadBas("FREE\nCONSTANT 40000\n0\n", model).problem,
            "model.bas, line 2: the IBOUND value 40000 is out of range.");
}

TEST(Mf2005Basic, CrossSectionReadsOneArrayOfColumnsByLayers) {
  Mf2005Model model = Grid(2, 1, 3);
  const auto read = ReadBas("XSECTION FREE\nINTERNAL 1 (FREE) 0\n-1 1 1\n0 1 -1\n1e30\n", model);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_TRUE(read.freeFormat);
  EXPECT_EQ(model.IBOUND(1, 1, 1), -1);
  EXPECT_EQ(model.IBOUND(1, 1, 2), 0);
  EXPECT_EQ(model.IBOUND(3, 1, 2), -1);
  EXPECT_FLOAT_EQ(model.HNOFLO, 1e30f);

  Mf2005Model wide = Grid(2, 2, 3);
  EXPECT_EQ(ReadBas("XSECTION\n", wide).problem, "model.bas: the option XSECTION needs a grid of one row.");
}

struct FlowRead : PackageRead {
  int budgetUnit = 0;
};

FlowRead ReadFlow(const std::string& fileType, const std::string& text, bool freeFormat, int nlay) {
  FlowRead read;
  read.model.NLAY = nlay;
  PackageInput input = InputOf(text, "model." + fileType);
  read.ok = ReadFlowPackage(fileType, input, freeFormat, read.model, read.budgetUnit, read.problem);
  return read;
}

TEST(Mf2005FlowPackage, LpfAndUpwLayerTypesAreConfinedOrConvertible) {
  for (const char* fileType : {"LPF", "UPW"}) {
    const auto read = ReadFlow(fileType, "# flow\n53 -1e30 0 THICKSTRT\n0 1\n-1\n0 0 0\n", true, 3);
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(read.budgetUnit, 53);
    EXPECT_FLOAT_EQ(read.model.HDRY, -1e30f);
    EXPECT_EQ(read.model.LAYCON, (std::vector<std::int16_t>{0, 0, 3, 3}));
  }
}

TEST(Mf2005FlowPackage, BcfLayerTypesDropTheAveragingDigit) {
  // Fixed format: IBCFCB HDRY IWDFLG WETFCT IWETIT IHDWET, then Ltype (40I2).
  const auto read = ReadFlow("BCF6", "        40    -888.0         0       1.0         1         0\n 0 1 2 3\n",
                             false, 4);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(read.budgetUnit, 40);
  EXPECT_FLOAT_EQ(read.model.HDRY, -888.0f);
  EXPECT_EQ(read.model.LAYCON, (std::vector<std::int16_t>{0, 0, 1, 2, 3}));

  const auto averaged = ReadFlow("BCF6", "40 -888 0 1 1 0\n13 20\n", true, 2);
  ASSERT_TRUE(averaged.ok) << averaged.problem;
  EXPECT_EQ(averaged.model.LAYCON, (std::vector<std::int16_t>{0, 3, 0}));
  EXPECT_EQ(ReadFlow("BCF6", "40 -888 0 1 1 0\n5\n", true, 1).problem,
            "model.BCF6, line 2: the layer type 5 of layer 1 is not one of BCF's.");
}

TEST(Mf2005OutputControl, WordsOrTheFirstNumericRecordGiveTheSaveUnits) {
  const struct {
    const char* text;
    bool freeFormat;
    int head, drawdown;
  } cases[] = {
      {"# oc\nhead print format 0\nHead Save Unit 51\nPERIOD 1 STEP 1\n  SAVE HEAD\n", true, 51, 0},
      {"         0         0        30        31\n         0         1         1         0\n", false, 30, 31},
      {"0 0 50 0\n", true, 50, 0},
  };
  for (const auto& c : cases) {
    PackageInput input = InputOf(c.text, "model.oc");
    int head = -1, drawdown = -1;
    std::string problem;
    ASSERT_TRUE(ReadOutputControl(input, c.freeFormat, head, drawdown, problem)) << c.text << problem;
    EXPECT_EQ(head, c.head) << c.text;
    EXPECT_EQ(drawdown, c.drawdown) << c.text;
  }
}

}  // namespace
}  // namespace kestra
