#include "modelset/array_record.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kestra {
namespace {

ArrayRecordResult ReadOne(const std::string& text, LayerGrid& grid, int ncol = 3, int nrow = 2,
                          const std::string& folderOf = "main") {
  TextReader reader(text);
  return ReadArrayRecord(reader, folderOf, grid, ncol, nrow);
}

TEST(ArrayRecord, ConstantAndZeroFillEveryValue) {
  LayerGrid grid;
  ASSERT_EQ(ReadOne("CONSTANT 12.5\n", grid), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(1, 1), 12.5f);
  EXPECT_EQ(grid(3, 2), 12.5f);
  ASSERT_EQ(ReadOne("0, -3\n", grid), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(2, 2), -3.0f);
}

TEST(ArrayRecord, InternalValuesFollowRowByRowTimesTheFactor) {
  LayerGrid grid;
  TextReader reader("internal 2.0(10F5.0) -1\n1 2 3\n4,5,6\nCONSTANT 9\n");
  ASSERT_EQ(ReadArrayRecord(reader, "main", grid, 3, 2), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(1, 1), 2.0f);
  EXPECT_EQ(grid(3, 1), 6.0f);
  EXPECT_EQ(grid(1, 2), 8.0f);
  // The next record starts right after the values.
  ASSERT_EQ(ReadArrayRecord(reader, "main", grid, 3, 2), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(2, 1), 9.0f);
}

TEST(ArrayRecord, FactorZeroCountsAsOne) {
  LayerGrid grid;
  ASSERT_EQ(ReadOne("INTERNAL 0 (FREE) -1\n1 2 3 4 5 6\n", grid), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(3, 2), 6.0f);
}

TEST(ArrayRecord, UnknownFirstWordReadsLikeInternal) {
  LayerGrid grid;
  ASSERT_EQ(ReadOne("11 3. (FREE) 0\n1 1 1\n1 1 2\n", grid), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(3, 2), 6.0f);
}

TEST(ArrayRecord, OpenCloseReadsTheFileBesideTheMainFile) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("values.txt"), "1 2 3\n4 5 6\n");
  LayerGrid grid;
  ASSERT_EQ(ReadOne("OPEN/CLOSE values.txt 10 (FREE) -1\n", grid, 3, 2, dir.File("model.main")),
            ArrayRecordResult::kRead);
  EXPECT_EQ(grid(2, 2), 50.0f);
  EXPECT_EQ(ReadOne("OPEN/CLOSE missing.txt 1\n", grid, 3, 2, dir.File("model.main")), ArrayRecordResult::kFailed);
}

TEST(ArrayRecord, ExternalReadsNothingAndLeavesZeros) {
  LayerGrid grid;
  TextReader reader("EXTERNAL 55 1.0 (FREE) -1\nCONSTANT 4\n");
  ASSERT_EQ(ReadArrayRecord(reader, "main", grid, 3, 2), ArrayRecordResult::kExternal);
  EXPECT_EQ(grid(2, 1), 0.0f);
  ASSERT_EQ(ReadArrayRecord(reader, "main", grid, 3, 2), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(2, 1), 4.0f);
}

TEST(ArrayRecord, TooFewOrUnreadableValuesFailAndKeepTheTarget) {
  LayerGrid grid;
  grid.Dimension(3, 2);
  grid(1, 1) = 7;
  EXPECT_EQ(ReadOne("INTERNAL 1\n1 2 3 4 5\n", grid), ArrayRecordResult::kFailed);
  EXPECT_EQ(ReadOne("INTERNAL 1\n1 2 x 4 5 6\n", grid), ArrayRecordResult::kFailed);
  EXPECT_EQ(ReadOne("CONSTANT\n", grid), ArrayRecordResult::kFailed);
  EXPECT_EQ(ReadOne("", grid), ArrayRecordResult::kFailed);
  EXPECT_EQ(grid(1, 1), 7.0f);
}

}  // namespace
}  // namespace kestra
