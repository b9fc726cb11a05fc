#include <gtest/gtest.h>

#include "mf2005/packages.h"
#include "support/mf2005_writer.h"

namespace kestra {
namespace {

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
  PackageInput input;
  input.file = test::TextOf(text, "model.bas");
  input.unit = 1;
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

TEST(Mf2005Basic, BoundaryCodesBeyondSixteenBitsAreRefused) {
  Mf2005Model model = Grid(1, 1, 1);
  EXPECT_EQ(ReadBas("FREE\nCONSTANT 40000\n0\n", model).problem,
            "model.bas, line 2: the IBOUND value 40000 is out of range.");
}

}  // namespace
}  // namespace kestra
