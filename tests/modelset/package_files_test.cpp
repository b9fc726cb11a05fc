// The package files a name-file model lists: cell lists and recharge.
#include "modelset/name_file_model.h"
#include "modelset/package_files.h"
#include "modelset/recharge_package.h"

#include <gtest/gtest.h>

#include "core/data_types.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

struct PackageFixture {
  test::TempDir dir;
  ModelState state;
  PackageFixture() { DimensionModel(state, 4, 3, 2); }
};

TEST(PackageList, NegativeItmpKeepsThePreviousList) {
  PackageFixture f;
  test::WriteWholeFile(f.dir.File("w.wel"), "2 0\n2\n1 1 1 -100\n2 3 4, -5\n-1\n1\n1 2 2 -7\n");
  EXPECT_EQ(ReadPackageList(f.dir.File("w.wel"), 4, 1).size(), 2u);
  const auto second = ReadPackageList(f.dir.File("w.wel"), 4, 2);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[1].layer, 2);
  EXPECT_EQ(second[1].column, 4);
  EXPECT_EQ(second[1].value, -5.0f);
  const auto third = ReadPackageList(f.dir.File("w.wel"), 4, 3);
  ASSERT_EQ(third.size(), 1u);
  EXPECT_EQ(third[0].value, -7.0f);
}

TEST(PackageList, UnreadableLineStopsWithTheCellsReadSoFar) {
  PackageFixture f;
  test::WriteWholeFile(f.dir.File("r.riv"), "3 0\n3\n1 1 1 5 100 4\n1 1 2 5 ten 4\n1 1 3 5 100 4\n");
  EXPECT_EQ(ReadPackageList(f.dir.File("r.riv"), 5, 1).size(), 1u);
  EXPECT_TRUE(ReadPackageList(f.dir.File("none.riv"), 5, 1).empty());
}

TEST(SinkCellsFromPackages, PumpingWellsAndNonZeroConductanceAreSinks) {
  PackageFixture f;
  test::WriteWholeFile(f.dir.File("w.wel"), "3 0\n3\n1 1 1 -100\n1 1 2 0\n1 1 3 50\n");
  test::WriteWholeFile(f.dir.File("r.riv"), "2 0\n2\n2 3 4 5 0 4\n2 3 3 5 10 4\n");
  PackagePaths packages;
  packages.wells = f.dir.File("w.wel");
  packages.rivers = f.dir.File("r.riv");
  LoadSinkCellsFromPackages(f.state, packages);
  EXPECT_EQ(f.state.SINKCODE(1, 1, 1), -1);
  EXPECT_EQ(f.state.SINKCODE(2, 1, 1), 0);  // rate 0
  EXPECT_EQ(f.state.SINKCODE(3, 1, 1), 0);  // injection
  EXPECT_EQ(f.state.SINKCODE(4, 3, 2), 0);  // conductance 0
  EXPECT_EQ(f.state.SINKCODE(3, 3, 2), -1);
}

TEST(SinkCellsFromPackages, CellsOutsideTheGridAreIgnored) {
  PackageFixture f;
  test::WriteWholeFile(f.dir.File("d.drn"), "3 0\n3\n3 1 1 5 10\n1 0 1 5 10\n1 3 5 5 10\n");
  PackagePaths packages;
  packages.drains = f.dir.File("d.drn");
  const auto before = f.state.SINKCODE;
  LoadSinkCellsFromPackages(f.state, packages);
  EXPECT_EQ(f.state.SINKCODE, before);
}

TEST(NameFileFamily, ReadsTheListedCellsOfAPeriodInTheLayerAskedFor) {
  PackageFixture f;
  test::WriteWholeFile(f.dir.File("g.ghb"), "1 0\n1\n1 2 3 12.5 40\n1\n2 2 3 12.5 80\n");
  PackagePaths packages;
  packages.generalHead = f.dir.File("g.ghb");
  const NameFileFamily family(f.dir.File("m.nam"), f.state.Shape(), packages, false);
  LayerValues values;
  ASSERT_TRUE(family.ReadPackageLayer(data_type::kGeneralHead, 2, 2, values));
  EXPECT_EQ(values(3, 2), 80.0f);
  ASSERT_TRUE(family.ReadPackageLayer(data_type::kGeneralHead, 1, 2, values));
  EXPECT_EQ(values(3, 2), 0.0f);
  EXPECT_FALSE(family.ReadPackageLayer(data_type::kDrains, 1, 2, values)) << "the name file lists no drains";
}

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
