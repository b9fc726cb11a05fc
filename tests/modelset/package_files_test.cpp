#include "modelset/package_files.h"

#include <gtest/gtest.h>

#include "core/data_types.h"
#include "modelset/name_file_model.h"
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

}  // namespace
}  // namespace kestra
