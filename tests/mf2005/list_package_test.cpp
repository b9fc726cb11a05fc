#include <gtest/gtest.h>

#include "mf2005/packages.h"
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

}  // namespace
}  // namespace kestra
