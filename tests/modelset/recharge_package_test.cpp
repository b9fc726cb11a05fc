#include "modelset/recharge_package.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kestra {
namespace {

constexpr float kRelative = 1e-6f;  // 32-bit products

struct RechargeFixture {
  test::TempDir dir;
  ModelState state;
  RechargeFixture() {
    DimensionModel(state, 2, 2, 3);
    state.DELR = {0, 10, 20};
    state.DELC = {0, 5, 5};
    for (int k = 1; k <= 3; ++k)
      for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) state.IBOUND(j, i, k) = 1;
  }
};

TEST(RechargePackage, RatesBecomeFlowsInTheUppermostActiveCell) {
  RechargeFixture f;
  f.state.IBOUND(2, 1, 1) = 0;
  f.state.IBOUND(2, 1, 2) = 0;
  f.state.IBOUND(1, 2, 1) = -1;
  test::WriteWholeFile(f.dir.File("r.rch"), "3 0\n1 -1\nCONSTANT 0.002\n");
  ASSERT_TRUE(ReadRechargePackage(f.dir.File("r.rch"), f.state));
  EXPECT_NEAR(f.state.QRECH(1, 1, 1), 0.002f * 10 * 5, 0.1f * kRelative);
  EXPECT_NEAR(f.state.QRECH(2, 1, 3), 0.002f * 20 * 5, 0.2f * kRelative);
  EXPECT_EQ(f.state.QRECH(2, 1, 1), 0.0f);
  EXPECT_EQ(f.state.QRECH(1, 1, 2), 0.0f);
  // A fixed-head uppermost cell takes no recharge, and none passes below it.
  EXPECT_EQ(f.state.QRECH(1, 2, 1), 0.0f);
  EXPECT_EQ(f.state.QRECH(1, 2, 2), 0.0f);
}

TEST(RechargePackage, LayerArrayChoosesTheLayerAndOutsideLayersAreIgnored) {
  RechargeFixture f;
  test::WriteWholeFile(f.dir.File("r.rch"), "2 0\n1 1\nCONSTANT 1\nINTERNAL 1\n2 3\n0 4\n");
  ASSERT_TRUE(ReadRechargePackage(f.dir.File("r.rch"), f.state));
  EXPECT_EQ(f.state.QRECH(1, 1, 2), 50.0f);
  EXPECT_EQ(f.state.QRECH(2, 1, 3), 100.0f);
  float total = 0;
  for (float value : f.state.QRECH.values) total += value;
  EXPECT_EQ(total, 150.0f);  // layers 0 and 4 lie outside the grid
}

TEST(RechargePackage, ArraysNotGivenAgainStayFromTheEarlierPeriod) {
  RechargeFixture f;
  f.state.CurrentPeriod = 3;
  test::WriteWholeFile(f.dir.File("r.rch"), "1 0\n1 -1\nCONSTANT 1\n1 -1\nCONSTANT 2\n-1 -1\n");
  ASSERT_TRUE(ReadRechargePackage(f.dir.File("r.rch"), f.state));
  EXPECT_EQ(f.state.QRECH(1, 2, 1), 100.0f);
}

TEST(RechargePackage, FileEndingEarlyFailsAndPlacesWhatWasRead) {
  RechargeFixture f;
  f.state.CurrentPeriod = 2;
  test::WriteWholeFile(f.dir.File("r.rch"), "1 0\n1 -1\nCONSTANT 1\n");
  EXPECT_FALSE(ReadRechargePackage(f.dir.File("r.rch"), f.state));
  EXPECT_EQ(f.state.QRECH(1, 1, 1), 50.0f);
}

}  // namespace
}  // namespace kestra
