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

TEST(ReadModelArray, MissingDirectoryIsReported) {
  ArrayFixture f;
  EXPECT_FALSE(ReadModelArray(f.source, 3, 1, 1, f.grid, 0, f.ui));
  EXPECT_EQ(f.ui.LastMessage(), "The file " + f.dir.File("m.RCD") + " dose not exist!");
}

TEST(ReadModelArray, PeriodBeyondTheDirectoryIsRefused) {
  ArrayFixture f;
  test::WriteRecordDirectory(f.dir.File("m.RCD"), {{3, 1, 1}, {4, 1, 1}});
  EXPECT_FALSE(ReadModelArray(f.source, 3, 1001, 1, f.grid, 0, f.ui));
  EXPECT_EQ(f.ui.messages.size(), 1u);
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

}  // namespace
}  // namespace kestra
