// The text arrays of heads, drawdowns and velocities, byte for byte.
#include "export/result_exports.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/temp_dir.h"

namespace kestra {
namespace {

constexpr NoResultHeads kMarks{-999.99f, -1.0E+30f};

ModelState Grid(int ncol, int nrow, int nlay = 1) {
  ModelState model;
  DimensionModel(model, ncol, nrow, nlay);
  for (int l = 1; l <= nlay; ++l)
    for (int r = 1; r <= nrow; ++r)
      for (int c = 1; c <= ncol; ++c) model.IBOUND(c, r, l) = 1;
  return model;
}

std::string Export(const ModelState& model, ResultExport kind, int layer = 1) {
  std::ostringstream out;
  WriteResultExport(out, model, layer, kind, kMarks);
  return out.str();
}

std::string Repeat(const std::string& text, int count) {
  std::string all;
  for (int n = 0; n < count; ++n) all += text;
  return all;
}

const std::string kZero = " 0.0000000E+00 ";

TEST(ResultExportLayout, HeaderPutsTheRowCountInCharacterFifteen) {
  // NROW's sign position is character 15.
  EXPECT_EQ(ExportHeaderLine(25, 3), " 25            3 \r\n");
  EXPECT_EQ(ExportHeaderLine(1234, 56), " 1234          56 \r\n");
}

TEST(ResultExportLayout, RowsBreakAfterEveryTenthColumnAndAtTheirEnd) {
  // 10 columns: one line per row.
  EXPECT_EQ(Export(Grid(10, 2), ResultExport::Heads),
            ExportHeaderLine(10, 2) + Repeat(Repeat(kZero, 10) + "\r\n", 2));
  // 11 columns: 10 and 1 values.
  EXPECT_EQ(Export(Grid(11, 2), ResultExport::Heads),
            ExportHeaderLine(11, 2) + Repeat(Repeat(kZero, 10) + "\r\n" + kZero + "\r\n", 2));
  // 20 columns: two full lines, no empty line between rows.
  EXPECT_EQ(Export(Grid(20, 2), ResultExport::Drawdowns),
            ExportHeaderLine(20, 2) + Repeat(Repeat(kZero, 10) + "\r\n", 4));
  // 25 columns: 10, 10 and 5.
  EXPECT_EQ(Export(Grid(25, 1), ResultExport::Heads),
            ExportHeaderLine(25, 1) + Repeat(kZero, 10) + "\r\n" + Repeat(kZero, 10) + "\r\n" + Repeat(kZero, 5) +
                "\r\n");
}

TEST(ResultExportLayout, ValuesOfTheChosenLayerRowByRow) {
  ModelState model = Grid(2, 2, 2);
  model.HEAD(1, 1, 2) = 12.5f;
  model.HEAD(2, 1, 2) = 999.99f;
  model.HEAD(1, 2, 2) = -999.99f;  // HNOFLO is written as its number
  model.HEAD(2, 2, 2) = 3.0f;
  model.HEAD(1, 1, 1) = 7.0f;  // another layer: not written
  EXPECT_EQ(Export(model, ResultExport::Heads, 2),
            ExportHeaderLine(2, 2) + " 1.2500000E+01  9.9999000E+02 \r\n-9.9998999E+02  3.0000000E+00 \r\n");
}

TEST(ResultExportLayout, NegativeDrawdownKeepsTheFieldsAligned) {
  ModelState model = Grid(3, 1);
  model.DRAWDOWN(1, 1, 1) = -0.0009765625f;  // exactly 2^-10
  model.DRAWDOWN(2, 1, 1) = 999.99f;
  model.DRAWDOWN(3, 1, 1) = 1.0E+30f;
  const std::string text = Export(model, ResultExport::Drawdowns);
  const std::string values = text.substr(ExportHeaderLine(3, 1).size());
  EXPECT_EQ(values, "-9.7656250E-04  9.9999000E+02  1.0000000E+30 \r\n");
}

TEST(ResultExportLayout, VelocityHasFourBlocksWithTheirOwnRules) {
  ModelState model = Grid(3, 1);
  // An ordinary active cell.
  model.VX(1, 1, 1) = 3.0f;
  model.VY(1, 1, 1) = -4.0f;
  model.VZ(1, 1, 1) = 0.0f;
  model.HEAD(1, 1, 1) = 10.0f;
  // An inactive cell with an ordinary head: its speed, but no components.
  model.IBOUND(2, 1, 1) = 0;
  model.VX(2, 1, 1) = 1.0f;
  model.HEAD(2, 1, 1) = 10.0f;
  // A dry cell that is still active: no speed, but its components.
  model.HEAD(3, 1, 1) = kMarks.HDRY;
  model.VX(3, 1, 1) = -2.0f;
  model.VZ(3, 1, 1) = 0.5f;
  const std::string none = " 1.0000000E+30 ";
  const std::string header = ExportHeaderLine(3, 1);
  EXPECT_EQ(Export(model, ResultExport::Velocity),
            header + " 5.0000000E+00  1.0000000E+00 " + none + "\r\n" +
                "Velocity component in the J-direction\r\n" + header + " 3.0000000E+00 " + none +
                "-2.0000000E+00 \r\n" + "Velocity components in I-direction\r\n" + header + "-4.0000000E+00 " +
                none + kZero + "\r\n" + "Velocity components in K-direction\r\n" + header + kZero + none +
                " 5.0000000E-01 \r\n");
}

TEST(ResultExportLayout, SpeedIsBlankedForNoFlowAndHugeHeads) {
  ModelState model = Grid(2, 1);
  model.VX(1, 1, 1) = model.VX(2, 1, 1) = 1.0f;
  model.HEAD(1, 1, 1) = kMarks.HNOFLO;
  model.HEAD(2, 1, 1) = 2.0E+25f;
  const std::string text = Export(model, ResultExport::Velocity);
  EXPECT_EQ(text.substr(ExportHeaderLine(2, 1).size(), 32), " 1.0000000E+30  1.0000000E+30 \r\n");
}

TEST(ResultExportFile, WritesTheFileAndReportsAnUnwritableOne) {
  test::TempDir dir;
  ModelState model = Grid(2, 1);
  model.HEAD(1, 1, 1) = 1.5f;
  std::string error;
  const std::string path = dir.File("Heads Layer1.TXT");
  ASSERT_TRUE(SaveResultExport(path, model, 1, ResultExport::Heads, kMarks, error)) << error;
  EXPECT_EQ(test::ReadWholeFile(path), Export(model, ResultExport::Heads));
  EXPECT_FALSE(SaveResultExport(dir.File("no/such/folder.txt"), model, 1, ResultExport::Heads, kMarks, error));
  EXPECT_NE(error.find("folder.txt"), std::string::npos);
}

}  // namespace
}  // namespace kestra
