// The contour table: its default levels, its file, and the edits of its columns.
#include "graphics/contour_table.h"

#include <cmath>

#include <gtest/gtest.h>

#include "graphics/contour_labels.h"
#include "graphics/contour_table_edits.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

ModelState HeadModel() {
  ModelState state;
  DimensionModel(state, 3, 4, 1);
  state.DELR = {0, 10, 10, 10};
  state.DELC = {0, 10, 10, 10, 10};
  ComputeGridGeometry(state);
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 3; ++j) {
      state.IBOUND(j, i, 1) = 1;
      state.HEAD(j, i, 1) = static_cast<float>(j + i);
    }
  state.IBOUND(3, 4, 1) = 0;  // its head 7 lies outside the range
  return state;
}

// A folder for the table's file and the messages about it.
class ContourLevels : public testing::Test {
 protected:
  ContourTable Read(const std::string& name, const Settings& settings = Settings{}) {
    return ReadContourLevels(dir.File(name), HeadModel(), settings, false, ui);
  }
  test::RecordingInterface ui;
  test::TempDir dir;
  std::string error;
};

TEST_F(ContourLevels, DefaultTableSpansTheHeadRangeOfTheLayer) {
  const ContourTable table = Read("m.ctr");
  // Heads 2 to 6: round steps of 0.5, not ten steps of 0.4.
  ASSERT_EQ(table.ContourCount(), 8);
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(table.levels[i].value, 2.0f + 0.5f * i);
  EXPECT_EQ(table.levels[5].label, 1);
  EXPECT_EQ(table.levels[5].colour, 0);
  const float diagonal = std::sqrt(30.0f * 30.0f + 40.0f * 40.0f);
  EXPECT_FLOAT_EQ(table.levels[3].labelHeight, diagonal / 100);
  EXPECT_FLOAT_EQ(table.levels[3].labelSpacing, diagonal / 10);
  // Drawdowns asked for but none loaded: every level zero.
  Settings drawdowns;
  drawdowns.contourDataSource = 1;
  for (const auto& level : Read("m.ctr", drawdowns).levels) EXPECT_EQ(level.value, 0.0f);
}

// Without a stored label format the labels are fixed numbers with the
// decimals the round levels need and the unit; a stored format wins.
TEST(ReadableLabels, FollowTheStepOfTheDefaultLevels) {
  const struct {
    ValueRange range;
    const char* unit;
    const char* first;
    const char* second;
  } cases[] = {
      {{40.2f, 43.7f}, "m", "40.5 m", "41.0 m"},
      {{0.0f, 0.0125f}, "m", "0.000 m", "0.002 m"},
      {{120.0f, 980.0f}, "ft", "200 ft", "300 ft"},
      {{-3.0f, 2.0f}, "", "-3.0", "-2.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    const ContourTable table = DefaultContourTable(c.range, 100);
    ASSERT_GE(table.levels.size(), 2u);
    Settings settings;
    settings.labelFormatStored = false;
    UseReadableLabels(settings, table, c.unit);
    EXPECT_EQ(ContourLabelText(table.levels[0].value, settings), c.first);
    EXPECT_EQ(ContourLabelText(table.levels[1].value, settings), c.second);
  }
  Settings stored;
  const Settings before = stored;
  UseReadableLabels(stored, DefaultContourTable({40.2f, 43.7f}, 100), "m");
  EXPECT_EQ(stored, before);
}

TEST_F(ContourLevels, FileRoundTripKeepsEveryField) {
  ContourTable table;
  ContourLevel level{12.5f, 0x00FF00, 0, 3.5f, 40, {}};
  level.reserved[11] = 9;
  table.levels = {level, level};
  table.levels[1].value = -1;
  ASSERT_TRUE(WriteContourTable(dir.File("m.ctr"), table, error)) << error;
  EXPECT_EQ(test::ReadWholeFile(dir.File("m.ctr")).size(), 2u + 2 * 30);
  EXPECT_EQ(Read("m.ctr"), table);
}

TEST_F(ContourLevels, BadCountKeepsTheDefaultTableAndSaysSo) {
  const ContourTable defaults = Read("none.ctr");
  EXPECT_TRUE(ui.messages.empty());  // no file is no fault
  ContourTable table;
  table.levels.resize(3);
  ASSERT_TRUE(WriteContourTable(dir.File("m.ctr"), table, error)) << error;
  const std::string records = test::ReadWholeFile(dir.File("m.ctr")).substr(2);
  // Negative, 32767 (32 768 levels), more records than the file holds, no count at all.
  for (const std::string& head : {std::string("\xFF\xFF", 2), std::string("\xFF\x7F", 2), std::string("\x03\x00", 2),
                                  std::string("\x02", 1)}) {
    test::WriteWholeFile(dir.File("m.ctr"), head + (head.size() == 2 ? records : ""));
    ui.messages.clear();
    EXPECT_EQ(Read("m.ctr"), defaults);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("default contour levels"), std::string::npos);
  }
  // The largest count a file may hold reads.
  table.levels.resize(32767);
  ASSERT_TRUE(WriteContourTable(dir.File("big.ctr"), table, error)) << error;
  ui.messages.clear();
  EXPECT_EQ(Read("big.ctr").ContourCount(), 32766);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(ResultRange, EmptyLayerGivesTheStartValues) {
  ModelState state = HeadModel();
  state.IBOUND.Dimension(state.Shape());
  const ValueRange range = ResultRange(state, state.HEAD);
  EXPECT_EQ(range.minimum, 1.0E+30f);
  EXPECT_EQ(range.maximum, -1.0E+30f);
}

ContourTable Levels(int count) {
  ContourTable table;
  table.levels.resize(static_cast<std::size_t>(count));
  return table;
}

TEST(SpreadContourColors, EndsTakeTheSpectrumColoursAndTheMiddleRoundsToEven) {
  ContourTable table = Levels(3);
  SpreadContourColors(table, kBlack, kWhite);
  EXPECT_EQ(table.levels[0].colour, kBlack);
  EXPECT_EQ(table.levels[1].colour, RgbColour(128, 128, 128));  // 127.5
  EXPECT_EQ(table.levels[2].colour, kWhite);
  table = Levels(5);
  SpreadContourColors(table, RgbColour(200, 0, 10), RgbColour(0, 100, 10));
  EXPECT_EQ(table.levels[1].colour, RgbColour(150, 25, 10));
  EXPECT_EQ(table.levels[4].colour, RgbColour(0, 100, 10));
  // A single level keeps its own colour.
  table = Levels(1);
  table.levels[0].colour = 77;
  SpreadContourColors(table, kBlack, kWhite);
  EXPECT_EQ(table.levels[0].colour, 77);
}

TEST(RebuildLevels, CountRoundsHalvesToEven) {
  ContourTable table;
  ASSERT_TRUE(RebuildLevels(table, 0, 10, 4, 500));
  ASSERT_EQ(table.ContourCount(), 2);  // 2.5
  EXPECT_EQ(table.levels[1].value, 4);
  EXPECT_EQ(table.levels[2].value, 8);
  EXPECT_EQ(table.levels[2].label, 1);
  EXPECT_EQ(table.levels[2].colour, 0);
  EXPECT_FLOAT_EQ(table.levels[0].labelHeight, 5);
  EXPECT_FLOAT_EQ(table.levels[0].labelSpacing, 50);
  ASSERT_TRUE(RebuildLevels(table, 10, 20, 1, 500));
  ASSERT_EQ(table.ContourCount(), 10);
  EXPECT_EQ(table.levels[10].value, 20);
  ASSERT_TRUE(RebuildLevels(table, 3, 3, 1, 500));
  EXPECT_EQ(table.ContourCount(), 0);
}

TEST(RebuildLevels, RefusesRangesTheTableCannotHold) {
  ContourTable table = Levels(4);
  EXPECT_FALSE(RebuildLevels(table, 5, 4, 1, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 10, 0, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 10, -1, 500));
  EXPECT_FALSE(RebuildLevels(table, 0, 32767, 1, 500));  // 32 768 levels
  EXPECT_FALSE(RebuildLevels(table, 0, 1.0E+30f, 1.0E-30f, 500));
  EXPECT_EQ(table.ContourCount(), 3);
  EXPECT_EQ(LevelCountOfRange(0, 32766, 1), 32766);
}

TEST(SetLabelRule, FirstPositionThenEveryFrequency) {
  ContourTable table = Levels(11);
  SetLabelRule(table, 2, 3);
  for (int k = 0; k <= 10; ++k) EXPECT_EQ(table.levels[k].label, (k == 1 || k == 4 || k == 7 || k == 10) ? 1 : 0) << k;
  SetLabelRule(table, 0, 3);
  for (const auto& level : table.levels) EXPECT_EQ(level.label, 0);
  SetLabelRule(table, 3, 0);
  for (int k = 0; k <= 10; ++k) EXPECT_EQ(table.levels[k].label, k == 2 ? 1 : 0) << k;
}

TEST(DefaultLevelRange, HeadsOrLoadedDrawdowns) {
  ModelState model;
  DimensionModel(model, 2, 1, 1);
  model.IBOUND(1, 1, 1) = model.IBOUND(2, 1, 1) = 1;
  model.HEAD(1, 1, 1) = 10, model.HEAD(2, 1, 1) = 20;
  model.DRAWDOWN(1, 1, 1) = 1, model.DRAWDOWN(2, 1, 1) = 2;
  Settings settings;
  EXPECT_EQ(DefaultLevelRange(model, settings, true).maximum, 20);
  settings.contourDataSource = kDrawdownDataSource;
  EXPECT_EQ(DefaultLevelRange(model, settings, true).maximum, 2);
  EXPECT_EQ(DefaultLevelRange(model, settings, false).maximum, 0);
}

}  // namespace
}  // namespace kestra
