// The stress packages: lists of cells (WEL, RIV, DRN, GHB, STR) and areal
// arrays (RCH, EVT).
#include "mf2005/packages.h"

#include <gtest/gtest.h>

#include "support/mf2005_writer.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

// A 2-layer, 3-row, 4-column grid with `nper` stress periods.
Mf2005Model GridOf(int nper) {
  Mf2005Model model;
  model.NLAY = 2;
  model.NROW = 3;
  model.NCOL = 4;
  model.stressPeriods.NPER = nper;
  return model;
}

struct ListRead {
  bool ok = false;
  BoundaryPackage package;
  std::string problem;
};

ListRead ReadList(const std::string& fileType, const std::string& text, bool freeFormat, int nper,
                  Mf2005Files files = {}) {
  PackageInput input;
  input.file = test::TextOf(text, "model." + fileType);
  input.unit = 16;
  ListRead read;
  read.package.fileType = fileType;
  read.ok = ReadListPackage(input, files, freeFormat, GridOf(nper), read.package, read.problem);
  return read;
}

std::vector<float> Values(const std::vector<BoundaryCell>& cells) {
  std::vector<float> values;
  for (const auto& cell : cells) values.push_back(cell.value);
  return values;
}

TEST(Mf2005ListPackage, NegativeItmpKeepsThePreviousPeriodsCells) {
  const auto read = ReadList("WEL",
                             "# wells\n2 32 AUXILIARY IFACE\n"
                             "2 0 ITMP NP (period 1)\n1 2 3 -100.0 6\n2,3,4,50.0\n"
                             "-1\n"
                             "1\n2 1 1 -7\n"
                             "0\n",
                             true, 4);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(Values(read.package.periods[1]), (std::vector<float>{-100, 50}));
  EXPECT_EQ(Values(read.package.periods[2]), (std::vector<float>{-100, 50}));
  EXPECT_EQ(read.package.periods[2][1].layer, 2);
  EXPECT_EQ(read.package.periods[2][1].column, 4);
  EXPECT_EQ(Values(read.package.periods[3]), (std::vector<float>{-7}));
  EXPECT_TRUE(read.package.periods[4].empty());
}

TEST(Mf2005ListPackage, FixedFormatReadsTenColumnFieldsAndScalesBySfac) {
  // Rivers: layer, row, column (I10), stage, conductance, bottom (F10).
  const auto read = ReadList("RIV",
                             "         3        32\n"
                             "         2\n"
                             "SFAC 0.5\n"
                             "         1         2         3      41.0     200.0      39.5\n"
                             "         2         3         4      40.0       0.0      38.0\n",
                             false, 1);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(Values(read.package.periods[1]), (std::vector<float>{100, 0}));
  EXPECT_EQ(read.package.periods[1][0].row, 2);
}

TEST(Mf2005ListPackage, CellsMayComeFromExternalAndOpenCloseFiles) {
  test::TempDir dir;
  Mf2005Files files;
  files.nameFile.path = dir.File("model.nam");
  files.nameFile.entries = {{"DATA", 60, dir.File("wells.dat")}};
  test::WriteWholeFile(dir.File("wells.dat"), "SFAC 2\n1 1 1 -5\n1 1 2 -6\n");
  test::WriteWholeFile(dir.File("period3.txt"), "1 3 4 -7\n");
  const auto read = ReadList("WEL", "1 0\n1\nEXTERNAL 60\n1\nEXTERNAL 60\n1\nOPEN/CLOSE period3.txt\n", true, 3, files);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(Values(read.package.periods[1]), (std::vector<float>{-10}));
  EXPECT_EQ(Values(read.package.periods[2]), (std::vector<float>{-6}));  // reads on in unit 60
  EXPECT_EQ(Values(read.package.periods[3]), (std::vector<float>{-7}));
  EXPECT_EQ(ReadList("WEL", "1 0\n1\nOPEN/CLOSE none.txt\n", true, 1, files).problem,
            "model.WEL, line 3: the file " + dir.File("none.txt") + " cannot be read.");
}

TEST(Mf2005ListPackage, StreamCellsSkipChannelTributaryAndDiversionLines) {
  // MXACTS NSS NTRIB NDIV ICALC CONST ISTCB1 ISTCB2; per period ITMP; reach
  // lines (5I5,F15.0,4F10.0); then ICALC > 0 one line per reach, NTRIB > 0
  // and NDIV > 0 one line per segment each.
  const std::string reach1 = "    1    2    3    1    1            0.      12.0     300.0      11.0      10.0";
  const std::string reach2 = "    1    2    4    2    1            0.      11.5       0.0      10.5       9.5";
  const auto read = ReadList("STR",
                             "         2         2         1         1         1    1.486        32         0\n"
                             "         2         0         0\n" +
                                 reach1 + "\n" + reach2 +
                                 "\nwidth 1\nwidth 2\n    0\n    1\n    0\n    0\n"
                                 "        -1         0         0\n",
                             false, 2);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(Values(read.package.periods[1]), (std::vector<float>{300, 0}));
  EXPECT_EQ(Values(read.package.periods[2]), (std::vector<float>{300, 0}));
}

TEST(Mf2005ListPackage, ParametersAreRefusedClearly) {
  const auto read = ReadList("WEL", "PARAMETER 2 4\n2 32\n", true, 1);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.problem,
            "model.WEL, line 1: parameters are not supported; please give the values of every stress period directly.");
  EXPECT_TRUE(ReadList("DRN", "PARAMETER 0 0\n1 32\n1\n1 1 1 5.0 2.0\n", true, 1).ok);
}

TEST(Mf2005ListPackage, CellsOutsideTheGridOrShortLinesAreRefused) {
  EXPECT_EQ(ReadList("GHB", "1 0\n1\n3 1 1 5.0 2.0\n", true, 1).problem,
            "model.GHB, line 3: the cell (layer, row, column) lies outside the grid.");
  EXPECT_EQ(ReadList("GHB", "1 0\n1\n1 1 1 5.0\n", true, 1).problem,
            "model.GHB, line 3: the line holds fewer than 5 numbers.");
  EXPECT_EQ(ReadList("WEL", "1 0\n2\n1 1 1 5.0\n", true, 2).problem,
            "model.WEL, line 3: the file ends before all values were read.");
}

TEST(Mf2005ListPackage, PumpingWellsAndConnectedCellsAreSinks) {
  EXPECT_TRUE(IsSinkCell("WEL", {1, 1, 1, -5.0f}));
  EXPECT_FALSE(IsSinkCell("WEL", {1, 1, 1, 0.0f}));
  EXPECT_FALSE(IsSinkCell("WEL", {1, 1, 1, 800.0f}));
  EXPECT_TRUE(IsSinkCell("RIV", {1, 1, 1, 200.0f}));
  EXPECT_FALSE(IsSinkCell("RIV", {1, 1, 1, 0.0f}));
  EXPECT_TRUE(IsSinkCell("STR", {1, 1, 1, 1.0f}));
}

// Two layers of 2 x 1 cells, DELR 10 and 20, DELC 3. Column 1 is inactive
// in layer 1; column 2 is a constant head in layer 1.
Mf2005Model SmallModel(int nper) {
  Mf2005Model model;
  model.NLAY = 2;
  model.NROW = 1;
  model.NCOL = 2;
  model.DELR = {0, 10, 20};
  model.DELC = {0, 3};
  model.stressPeriods.NPER = nper;
  model.IBOUND.Dimension(model.Shape());
  model.IBOUND(1, 1, 1) = 0;
  model.IBOUND(2, 1, 1) = -1;
  model.IBOUND(1, 1, 2) = 1;
  model.IBOUND(2, 1, 2) = 1;
  return model;
}

struct RechargeRead {
  bool ok = false;
  Mf2005Model model;
  std::string problem;
};

RechargeRead ReadRch(const std::string& text, int nper, bool freeFormat = true) {
  RechargeRead read{false, SmallModel(nper), {}};
  PackageInput input;
  input.file = test::TextOf(text, "model.RCH");
  Mf2005Files files;
  read.ok = ReadRecharge(input, files, freeFormat, read.model, read.problem);
  return read;
}

TEST(Mf2005Recharge, RatesBecomeFlowsInTheLayerOfTheLayerArray) {
  // NRCHOP 2: period 1 puts recharge into layer 2; period 2 keeps the layer
  // array (INIRCH < 0) and doubles the rates.
  const auto read = ReadRch("2 0\n1 1\nINTERNAL 1.0 (FREE) 0\n0.5 0.25\nCONSTANT 2\n1 -1\nINTERNAL 2.0 (FREE) 0\n0.5 0.25\n", 2);
  ASSERT_TRUE(read.ok) << read.problem;
  const auto& first = read.model.recharge[1];
  EXPECT_EQ(first.layer, (std::vector<int>{2, 2}));
  // rate x DELR(j) x DELC(i)
  EXPECT_FLOAT_EQ(first.flow[0], 0.5f * 10 * 3);
  EXPECT_FLOAT_EQ(first.flow[1], 0.25f * 20 * 3);
  EXPECT_FLOAT_EQ(read.model.recharge[2].flow[1], 2 * 0.25f * 20 * 3);
  EXPECT_EQ(read.model.recharge[2].layer, (std::vector<int>{2, 2}));
}

TEST(Mf2005Recharge, NegativeInrechKeepsThePreviousRates) {
  // Without a layer array (option 3) the period line holds INRECH alone.
  const auto read = ReadRch("3 0\n1\nCONSTANT 0.1\n-1\n", 2);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(read.model.recharge[2].flow, read.model.recharge[1].flow);
}

TEST(Mf2005Recharge, OnlyVariableHeadCellsTakeRechargeAsInModflow) {
  // NRCHOP 1: layer 1 only, where one cell is inactive and one constant
  // head: no recharge at all. NRCHOP 3: column 1 reaches the active cell of
  // layer 2; column 2 stops at the constant head of layer 1.
  const auto top = ReadRch("1 0\n1 0\nCONSTANT 0.1\n", 1);
  ASSERT_TRUE(top.ok) << top.problem;
  EXPECT_EQ(top.model.recharge[1].flow, (std::vector<float>{0, 0}));
  const auto highest = ReadRch("3 0\n1 0\nCONSTANT 0.1\n", 1);
  ASSERT_TRUE(highest.ok) << highest.problem;
  EXPECT_EQ(highest.model.recharge[1].layer, (std::vector<int>{2, 0}));
  EXPECT_FLOAT_EQ(highest.model.recharge[1].flow[0], 0.1f * 10 * 3);
  EXPECT_EQ(highest.model.recharge[1].flow[1], 0.0f);
}

TEST(Mf2005Recharge, FixedFormatFlagsAndBadLayersAreRead) {
  const auto fixed = ReadRch("         3        32\n         1         0\n         0    0.0010\n", 1, false);
  ASSERT_TRUE(fixed.ok) << fixed.problem;
  EXPECT_FLOAT_EQ(fixed.model.recharge[1].flow[0], 0.001f * 10 * 3);
  EXPECT_EQ(ReadRch("2 0\n1 1\nCONSTANT 1\nCONSTANT 3\n", 1).problem,
            "model.RCH, line 4: the layer 3 of the layer array is not in the grid.");
  EXPECT_EQ(ReadRch("4 0\n", 1).problem, "model.RCH, line 1: the option 4 must be 1, 2 or 3.");
}

TEST(Mf2005Evapotranspiration, ReadsEveryPeriodsArraysAndItsBudgetUnit) {
  Mf2005Model model = SmallModel(2);
  PackageInput input;
  input.file = test::TextOf(
      "2 44\n1 1 1 1\nCONSTANT 10\nCONSTANT 1e-3\nCONSTANT 2\nCONSTANT 2\n-1 1 -1 -1\nCONSTANT 2e-3\nlast\n",
      "model.EVT");
  Mf2005Files files;
  std::string problem;
  int budgetUnit = 0;
  ASSERT_TRUE(ReadEvapotranspiration(input, files, true, model, budgetUnit, problem)) << problem;
  EXPECT_EQ(budgetUnit, 44);
  ASSERT_EQ(model.evapotranspiration.size(), 3u);
  const EvapotranspirationPeriod& second = model.evapotranspiration[2];
  EXPECT_EQ(second.surface, (std::vector<float>{10, 10}));  // kept from period 1
  EXPECT_EQ(second.extinctionDepth, (std::vector<float>{2, 2}));
  EXPECT_FLOAT_EQ(second.maxFlow[1], 2e-3f * 20 * 3);
  EXPECT_EQ(second.layer, (std::vector<int>{2, 2}));
  EXPECT_FLOAT_EQ(model.evapotranspiration[1].maxFlow[0], 1e-3f * 10 * 3);
  EXPECT_EQ(input.file.lines[input.file.next], "last");
  input.file = test::TextOf("2 0\n1 1 1 1\nCONSTANT 10\nCONSTANT 1e-3\nCONSTANT 2\nCONSTANT 3\n", "model.EVT");
  EXPECT_FALSE(ReadEvapotranspiration(input, files, true, model, budgetUnit, problem));
  EXPECT_EQ(problem, "model.EVT, line 6: the layer 3 of the layer array is not in the grid.");
}

}  // namespace
}  // namespace kestra
