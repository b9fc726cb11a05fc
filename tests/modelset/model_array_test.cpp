// The arrays of a model file set: data sets of the binary data files and the
// array records of a main file.
#include "modelset/array_record.h"
#include "modelset/model_array.h"

#include <gtest/gtest.h>

#include "support/model_writers.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

constexpr int kNcol = 3, kNrow = 2, kNlay = 2;

std::vector<float> Ramp(float start, int count) {
  std::vector<float> values;
  for (int n = 0; n < count; ++n) values.push_back(start + n);
  return values;
}

struct ArrayFixture {
  test::TempDir dir;
  ModelArraySource source{dir.File("m"), {kNcol, kNrow, kNlay}};
  test::RecordingInterface ui;
  LayerGrid grid;
  ArrayFixture() { grid.Dimension(kNcol, kNrow); }
};

TEST(ReadModelArray, ReadsTheLayerOfTheListedDataSet) {
  ArrayFixture f;
  test::WriteRecordDirectory(f.dir.File("m.RCD"), {{3, 2, 7}});
  // Two data sets: code 4 first, then code 7.
  test::WriteDataFile(f.dir.File("m.TOP"), {4, 7}, {Ramp(100, 12), Ramp(200, 12)});
  ASSERT_TRUE(ReadModelArray(f.source, 3, 2, 2, f.grid, -1, f.ui));
  EXPECT_EQ(f.grid(1, 1), 206.0f);  // layer 2 begins after 3 x 2 values
  EXPECT_EQ(f.grid(3, 2), 211.0f);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(ReadModelArray, HeaderEndingBeforeTheCodeGivesTheDefault) {
  ArrayFixture f;
  test::WriteRecordDirectory(f.dir.File("m.RCD"), {{6, 1, 5}});
  test::WriteDataFile(f.dir.File("m.POR"), {1, 2}, {Ramp(0, 12), Ramp(0, 12)});
  ASSERT_TRUE(ReadModelArray(f.source, 6, 1, 1, f.grid, 0.3f, f.ui));
  for (int i = 1; i <= kNrow; ++i)
    for (int j = 1; j <= kNcol; ++j) EXPECT_EQ(f.grid(j, i), 0.3f);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(ReadModelArray, PeriodWithoutDataFailsWithTheDataMessageOnly) {
  ArrayFixture f;
  test::WriteRecordDirectory(f.dir.File("m.RCD"), {{3, 1, 1}});
  test::WriteDataFile(f.dir.File("m.TOP"), {1}, {Ramp(0, 12)});
  f.grid(1, 1) = 42;
  EXPECT_FALSE(ReadModelArray(f.source, 3, 2, 1, f.grid, 0, f.ui));
  EXPECT_EQ(f.grid(1, 1), 42.0f);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text.rfind("Prior to calculating pathlines, you need to specify the following data:\r\n", 0), 0u);
}

TEST(ReadModelArray, MissingDirectoryOrAPeriodBeyondItIsReported) {
  ArrayFixture f;
  EXPECT_FALSE(ReadModelArray(f.source, 3, 1, 1, f.grid, 0, f.ui));
  EXPECT_EQ(f.ui.LastMessage(), "The file " + f.dir.File("m.RCD") + " dose not exist!");
  test::WriteRecordDirectory(f.dir.File("m.RCD"), {{3, 1, 1}, {4, 1, 1}});
  test::RecordingInterface ui;
  EXPECT_FALSE(ReadModelArray(f.source, 3, 1001, 1, f.grid, 0, ui));
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(ReadModelArray, TruncatedDataFileFailsCleanlyAtEveryLength) {
  ArrayFixture f;
  test::WriteRecordDirectory(f.dir.File("m.RCD"), {{3, 1, 2}});
  test::WriteDataFile(f.dir.File("whole"), {1, 2}, {Ramp(0, 12), Ramp(50, 12)});
  const std::string whole = test::ReadWholeFile(f.dir.File("whole"));
  for (std::size_t length = 4000; length < whole.size(); length += 3) {
    test::WriteWholeFile(f.dir.File("m.TOP"), whole.substr(0, length));
    test::RecordingInterface ui;
    f.grid(3, 2) = -5;
    EXPECT_FALSE(ReadModelArray(f.source, 3, 1, 2, f.grid, 0, ui)) << length;
    EXPECT_EQ(f.grid(3, 2), -5.0f);
    EXPECT_EQ(ui.messages.size(), 1u);
  }
}

ArrayRecordResult ReadOne(const std::string& text, LayerGrid& grid, int ncol = 3, int nrow = 2,
                          const std::string& folderOf = "main") {
  TextReader reader(text);
  return ReadArrayRecord(reader, folderOf, grid, ncol, nrow);
}

TEST(ArrayRecord, EveryFormGivesItsValuesTimesTheFactor) {
  const struct {
    const char* text;
    int column, row;
    float expected;
  } cases[] = {
      {"CONSTANT 12.5\n", 1, 1, 12.5f},
      {"CONSTANT 12.5\n", 3, 2, 12.5f},
      {"0, -3\n", 2, 2, -3.0f},                            // a zero locator: a constant
      {"INTERNAL 0 (FREE) -1\n1 2 3 4 5 6\n", 3, 2, 6.0f},  // factor 0 counts as 1
      {"11 3. (FREE) 0\n1 1 1\n1 1 2\n", 3, 2, 6.0f},      // an unknown first word reads like INTERNAL
  };
  for (const auto& c : cases) {
    LayerGrid grid;
    ASSERT_EQ(ReadOne(c.text, grid), ArrayRecordResult::kRead) << c.text;
    EXPECT_EQ(grid(c.column, c.row), c.expected) << c.text;
  }
}

TEST(ArrayRecord, InternalValuesFollowRowByRowAndTheNextRecordRightAfterThem) {
  LayerGrid grid;
  TextReader reader("internal 2.0(10F5.0) -1\n1 2 3\n4,5,6\nCONSTANT 9\n");
  ASSERT_EQ(ReadArrayRecord(reader, "main", grid, 3, 2), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(1, 1), 2.0f);
  EXPECT_EQ(grid(3, 1), 6.0f);
  EXPECT_EQ(grid(1, 2), 8.0f);
  ASSERT_EQ(ReadArrayRecord(reader, "main", grid, 3, 2), ArrayRecordResult::kRead);
  EXPECT_EQ(grid(2, 1), 9.0f);
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
