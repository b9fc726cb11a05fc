#include <gtest/gtest.h>

#include "mf2005/packages.h"
#include "support/mf2005_writer.h"

namespace kestra {
namespace {

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
