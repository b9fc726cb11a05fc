// The stress packages: lists of cells (WEL, RIV, DRN, GHB, STR) and areal
// arrays (RCH, EVT).
#include "mf2005/packages.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

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

// Cells of one period as (layer, row, column, value).
using CellList = std::vector<std::array<float, 4>>;

CellList Cells(const std::vector<BoundaryCell>& cells) {
  CellList list;
  for (const auto& cell : cells) list.push_back({float(cell.layer), float(cell.row), float(cell.column), cell.value});
  return list;
}

// The files the EXTERNAL and OPEN/CLOSE cases read, beside the name file.
Mf2005Files FilesIn(const test::TempDir& dir) {
  Mf2005Files files;
  files.nameFile.path = dir.File("model.nam");
  files.nameFile.entries = {{"DATA", 60, dir.File("wells.dat")}};
  test::WriteWholeFile(dir.File("wells.dat"), "SFAC 2\n1 1 1 -5\n1 1 2 -6\n");
  test::WriteWholeFile(dir.File("period3.txt"), "1 3 4 -7\n");
  return files;
}

TEST(Mf2005ListPackage, ReadsTheCellsOfEveryPeriod) {
  // Streams: MXACTS NSS NTRIB NDIV ICALC CONST ISTCB1 ISTCB2; per period ITMP;
  // reach lines (5I5,F15.0,4F10.0); then ICALC > 0 one line per reach, NTRIB
  // > 0 and NDIV > 0 one line per segment each.
  const std::string reach1 = "    1    2    3    1    1            0.      12.0     300.0      11.0      10.0";
  const std::string reach2 = "    1    2    4    2    1            0.      11.5       0.0      10.5       9.5";
  const struct {
    const char* name;
    const char* fileType;
    std::string text;
    bool freeFormat;
    std::vector<CellList> periods;  // from period 1
  } cases[] = {
      {"negative ITMP keeps the previous period's cells", "WEL",
       "# wells\n2 32 AUXILIARY IFACE\n2 0 ITMP NP (period 1)\n1 2 3 -100.0 6\n2,3,4,50.0\n-1\n1\n2 1 1 -7\n0\n",
       true,
       {{{1, 2, 3, -100}, {2, 3, 4, 50}}, {{1, 2, 3, -100}, {2, 3, 4, 50}}, {{2, 1, 1, -7}}, {}}},
      // Rivers: layer, row, column (I10), stage, conductance, bottom (F10).
      {"fixed format of ten-column fields scaled by SFAC", "RIV",
       "         3        32\n         2\nSFAC 0.5\n"
       "         1         2         3      41.0     200.0      39.5\n"
       "         2         3         4      40.0       0.0      38.0\n",
       false, {{{1, 2, 3, 100}, {2, 3, 4, 0}}}},
      // Period 2 reads on in unit 60 where period 1 stopped.
      {"external and open/close files", "WEL", "1 0\n1\nEXTERNAL 60\n1\nEXTERNAL 60\n1\nOPEN/CLOSE period3.txt\n", true,
       {{{1, 1, 1, -10}}, {{1, 1, 2, -6}}, {{1, 3, 4, -7}}}},
      {"stream lines past the reaches are skipped", "STR",
       "         2         2         1         1         1    1.486        32         0\n"
       "         2         0         0\n" + reach1 + "\n" + reach2 +
           "\nwidth 1\nwidth 2\n    0\n    1\n    0\n    0\n        -1         0         0\n",
       false, {{{1, 2, 3, 300}, {1, 2, 4, 0}}, {{1, 2, 3, 300}, {1, 2, 4, 0}}}},
      {"no parameters declared", "DRN", "PARAMETER 0 0\n1 32\n1\n1 1 1 5.0 2.0\n", true, {{{1, 1, 1, 2}}}},
  };
  test::TempDir dir;
  const Mf2005Files files = FilesIn(dir);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto read = ReadList(c.fileType, c.text, c.freeFormat, int(c.periods.size()), files);
    ASSERT_TRUE(read.ok) << read.problem;
    for (std::size_t p = 1; p <= c.periods.size(); ++p)
      EXPECT_EQ(Cells(read.package.periods[p]), c.periods[p - 1]) << "period " << p;
  }
}

TEST(Mf2005ListPackage, BadPackagesAreRefusedNamingFileAndLine) {
  test::TempDir dir;
  const Mf2005Files files = FilesIn(dir);
  const struct {
    const char* fileType;
    const char* text;
    int nper;
    std::string problem;
  } cases[] = {
      {"WEL", "PARAMETER 2 4\n2 32\n", 1,
       "model.WEL, line 1: parameters are not supported; please give the values of every stress period directly."},
      {"GHB", "1 0\n1\n3 1 1 5.0 2.0\n", 1, "model.GHB, line 3: the cell (layer, row, column) lies outside the grid."},
      {"GHB", "1 0\n1\n1 1 1 5.0\n", 1, "model.GHB, line 3: the line holds fewer than 5 numbers."},
      {"WEL", "1 0\n2\n1 1 1 5.0\n", 2, "model.WEL, line 3: the file ends before all values were read."},
      {"WEL", "1 0\n1\nOPEN/CLOSE none.txt\n", 1,
       "model.WEL, line 3: the file " + dir.File("none.txt") + " cannot be read."},
  };
  for (const auto& c : cases) {
    const auto read = ReadList(c.fileType, c.text, true, c.nper, files);
    EXPECT_FALSE(read.ok) << c.text;
    EXPECT_EQ(read.problem, c.problem);
  }
}

TEST(Mf2005ListPackage, PumpingWellsAndConnectedCellsAreSinks) {
  const std::tuple<const char*, float, bool> cases[] = {{"WEL", -5, true},  {"WEL", 0, false}, {"WEL", 800, false},
                                                        {"RIV", 200, true}, {"RIV", 0, false}, {"STR", 1, true}};
  for (const auto& [fileType, value, sink] : cases)
    EXPECT_EQ(IsSinkCell(fileType, {1, 1, 1, value}), sink) << fileType << " " << value;
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
  model.IBOUND.Dimension(model.Shape());  // all zero: inactive
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

// Flows are rate x DELR(j) x DELC(i).
TEST(Mf2005Recharge, RatesBecomeFlowsOfTheCellsTheOptionChooses) {
  const struct {
    const char* name;
    const char* text;
    bool freeFormat;
    std::vector<RechargePeriod> periods;  // flow and layer per column, from period 1; no layers: not checked
  } cases[] = {
      // Period 1 puts the recharge into layer 2; period 2 keeps the layer
      // array (INIRCH < 0) and doubles the rates.
      {"NRCHOP 2: the layer of the layer array",
       "2 0\n1 1\nINTERNAL 1.0 (FREE) 0\n0.5 0.25\nCONSTANT 2\n1 -1\nINTERNAL 2.0 (FREE) 0\n0.5 0.25\n", true,
       {{{0.5f * 10 * 3, 0.25f * 20 * 3}, {2, 2}}, {{2 * 0.5f * 10 * 3, 2 * 0.25f * 20 * 3}, {2, 2}}}},
      // Only variable-head cells take recharge, as in MODFLOW: layer 1 holds
      // an inactive cell and a constant head, so none at all.
      {"NRCHOP 1: layer 1 only", "1 0\n1 0\nCONSTANT 0.1\n", true, {{{0, 0}, {}}}},
      // Column 1 reaches the active cell of layer 2; column 2 stops at the
      // constant head of layer 1. Without a layer array the period line holds
      // INRECH alone, and a negative one keeps the previous rates.
      {"NRCHOP 3: the highest active cell", "3 0\n1\nCONSTANT 0.1\n-1\n", true,
       {{{0.1f * 10 * 3, 0}, {2, 0}}, {{0.1f * 10 * 3, 0}, {2, 0}}}},
      {"fixed format flags", "         3        32\n         1         0\n         0    0.0010\n", false,
       {{{0.001f * 10 * 3, 0}, {2, 0}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto read = ReadRch(c.text, int(c.periods.size()), c.freeFormat);
    ASSERT_TRUE(read.ok) << read.problem;
    for (std::size_t p = 1; p <= c.periods.size(); ++p) {
      const RechargePeriod& expected = c.periods[p - 1];
      const RechargePeriod& got = read.model.recharge[p];
      ASSERT_EQ(got.flow.size(), expected.flow.size()) << "period " << p;
      for (std::size_t n = 0; n < expected.flow.size(); ++n)
        EXPECT_FLOAT_EQ(got.flow[n], expected.flow[n]) << "period " << p << " column " << n + 1;
      if (!expected.layer.empty()) {
        EXPECT_EQ(got.layer, expected.layer) << "period " << p;
      }
    }
  }
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
