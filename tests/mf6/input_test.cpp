#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "mf6/input_array.h"
#include "mf6/input_file.h"
#include "mf6/list_block.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

struct Loaded {
  test::TempDir dir;
  Mf6InputFile file;
  bool ok = false;
  std::string problem;
};

std::unique_ptr<Loaded> Load(const std::string& text) {
  auto loaded = std::make_unique<Loaded>();
  test::WriteWholeFile(loaded->dir.File("model.pkg"), text);
  loaded->ok = LoadMf6Input(loaded->dir.File("model.pkg"), loaded->file, loaded->problem);
  return loaded;
}

TEST(Mf6Input, BlocksInAnyCaseWithCommentsAndBlankLines) {
  const auto loaded = Load("# header\n\nbegin Options  # trailing\n  SAVE_FLOWS ! too\n// whole line\nEND options\n"
                           "BEGIN period 2\n 1 2 3 4.0\nEnd Period\n");
  ASSERT_TRUE(loaded->ok) << loaded->problem;
  ASSERT_EQ(loaded->file.blocks.size(), 2u);
  EXPECT_EQ(loaded->file.blocks[0].name, "OPTIONS");
  EXPECT_EQ(loaded->file.lines[loaded->file.blocks[0].first].text, "  SAVE_FLOWS");
  EXPECT_EQ(loaded->file.blocks[1].name, "PERIOD");
  EXPECT_EQ(loaded->file.blocks[1].id, "2");
  EXPECT_EQ(loaded->file.blocks[1].end - loaded->file.blocks[1].first, 1u);
  // Quoted words keep their blanks and hashes.
  const auto words = Mf6Words("  OPEN/CLOSE 'my file #1.txt', FACTOR 2");
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[1], "my file #1.txt");
}

TEST(Mf6Input, UnclosedBlockAndStrayLinesNameTheLine) {
  const auto unclosed = Load("BEGIN OPTIONS\n SAVE_FLOWS\nBEGIN DIMENSIONS\nEND DIMENSIONS\n");
  EXPECT_FALSE(unclosed->ok);
  EXPECT_EQ(unclosed->problem, "model.pkg, line 1: the block OPTIONS is not closed by END OPTIONS.");
  const auto stray = Load("BEGIN OPTIONS\nEND OPTIONS\nNPER 3\n");
  EXPECT_FALSE(stray->ok);
  EXPECT_NE(stray->problem.find("line 3"), std::string::npos);
}

struct ArrayCase {
  const char* name;
  const char* block;  // the array's lines inside GRIDDATA
  Mf6ArrayShape shape;
  std::vector<double> expected;
};

class Mf6ArrayForms : public testing::TestWithParam<ArrayCase> {};

TEST_P(Mf6ArrayForms, ReadAsMf6ReadsThem) {
  const ArrayCase& c = GetParam();
  auto loaded = Load(std::string("BEGIN GRIDDATA\n") + c.block + "END GRIDDATA\n");
  test::WriteWholeFile(loaded->dir.File("values.txt"), "1 2\n3 4\n");
  ASSERT_TRUE(loaded->ok) << loaded->problem;
  const Mf6Block& block = loaded->file.blocks[0];
  std::size_t line = block.first;
  std::vector<double> values;
  std::string problem;
  ASSERT_TRUE(ReadMf6Array(loaded->file, block, line, c.shape, values, problem)) << problem;
  EXPECT_EQ(values, c.expected);
  EXPECT_EQ(line, block.end);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Mf6ArrayForms,
    testing::Values(ArrayCase{"Constant", "TOP\n CONSTANT 4.5\n", {2, 1}, {4.5, 4.5}},
                    ArrayCase{"InternalOverLines", "TOP\n INTERNAL FACTOR 2.0 IPRN 3\n 1 2\n 3\n", {3, 1}, {2, 4, 6}},
                    ArrayCase{"Layered", "BOTM LAYERED\n CONSTANT 1\n INTERNAL\n 5 6\n", {2, 2}, {1, 1, 5, 6}},
                    ArrayCase{"OpenCloseText", "K\n OPEN/CLOSE values.txt FACTOR 10\n", {4, 1}, {10, 20, 30, 40}},
                    ArrayCase{"IntegerFactor", "IDOMAIN\n INTERNAL FACTOR 1\n 1 0 -1\n", {3, 1, true}, {1, 0, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Mf6Array, OpenCloseBinaryReadsPastTheHeader) {
  auto loaded = Load("BEGIN GRIDDATA\n TOP\n  OPEN/CLOSE top.bin (BINARY)\nEND GRIDDATA\n");
  {
    std::ofstream out(loaded->dir.File("top.bin"), std::ios::binary);
    const std::string header(52, '\0');
    out.write(header.data(), 52);
    for (const double value : {7.0, 8.5}) out.write(reinterpret_cast<const char*>(&value), 8);
  }
  std::size_t line = loaded->file.blocks[0].first;
  std::vector<double> values;
  std::string problem;
  ASSERT_TRUE(ReadMf6Array(loaded->file, loaded->file.blocks[0], line, {2, 1}, values, problem)) << problem;
  EXPECT_EQ(values, (std::vector<double>{7.0, 8.5}));
  line = loaded->file.blocks[0].first;
  EXPECT_FALSE(ReadMf6Array(loaded->file, loaded->file.blocks[0], line, {3, 1}, values, problem));
  EXPECT_NE(problem.find("top.bin"), std::string::npos);
}

TEST(Mf6Array, TooFewValuesAndBadControlFail) {
  for (const char* block : {"TOP\n INTERNAL\n 1\n", "TOP\n INTERNAL\n 1 x\n", "TOP\n ZERO 1\n", "TOP\n CONSTANT\n"}) {
    auto loaded = Load(std::string("BEGIN GRIDDATA\n") + block + "END GRIDDATA\n");
    std::size_t line = loaded->file.blocks[0].first;
    std::vector<double> values;
    std::string problem;
    EXPECT_FALSE(ReadMf6Array(loaded->file, loaded->file.blocks[0], line, {2, 1}, values, problem)) << block;
    EXPECT_EQ(problem.rfind("model.pkg, line", 0), 0u) << problem;
  }
}

TEST(Mf6List, RowsWithAuxiliaryBoundNamesTimeSeriesAndListFiles) {
  auto loaded = Load("BEGIN PERIOD 1\n 1 2 3 -5.0 6 well_a\n 2,1,1 rate_series 0\n OPEN/CLOSE more.txt\nEND PERIOD\n");
  test::WriteWholeFile(loaded->dir.File("more.txt"), "# from a file\n3 3 3 1.5 2\n");
  Mf6List list;
  std::string problem;
  ASSERT_TRUE(ReadMf6List(loaded->file, loaded->file.blocks[0], 2, true, list, problem)) << problem;
  ASSERT_EQ(list.rows.size(), 3u);
  EXPECT_EQ(list.rows[0].column, 3);
  EXPECT_EQ(list.rows[0].values, (std::vector<double>{-5.0, 6}));
  EXPECT_EQ(list.rows[0].boundName, "well_a");
  EXPECT_EQ(list.rows[1].layer, 2);
  EXPECT_EQ(list.rows[1].values[0], 0.0);
  EXPECT_EQ(list.timeSeriesValues, 1);
  EXPECT_EQ(list.rows[2].values[0], 1.5);
}

TEST(Mf6List, ShortRowOrFractionalCellFails) {
  for (const char* row : {" 1 2 3\n", " 1 2.5 3 4\n", " 1 2 3 4\n OPEN/CLOSE missing.txt\n"}) {
    auto loaded = Load(std::string("BEGIN PERIOD 1\n") + row + "END PERIOD\n");
    Mf6List list;
    std::string problem;
    EXPECT_FALSE(ReadMf6List(loaded->file, loaded->file.blocks[0], 1, false, list, problem)) << row;
    EXPECT_FALSE(problem.empty());
  }
}

}  // namespace
}  // namespace kestra
