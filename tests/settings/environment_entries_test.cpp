#include "settings/environment_entries.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

EnvironmentEntries Valid() { return EnvironmentEntriesFrom(Settings{}, -10, 60); }

TEST(EnvironmentEntries, FilledFromTheSettings) {
  Settings settings;
  settings.sectionRow = 7;
  settings.showDrains = kOff;
  settings.riverColor = 123;
  settings.contourDisplay = kOn;
  const EnvironmentEntries e = EnvironmentEntriesFrom(settings, -2.5f, 61);
  EXPECT_EQ(e.row, " 7");
  EXPECT_EQ(e.minElevation, "-2.5");
  EXPECT_EQ(e.exaggeration, " 1");
  EXPECT_FALSE(e.shown[6]);
  EXPECT_TRUE(e.shown[7]);
  EXPECT_EQ(e.colours[7], 123);
  EXPECT_TRUE(e.contoursVisible);
  EXPECT_FALSE(e.shown[10]);  // the water table is off by default
}

// Each case changes some entries of valid ones (a grid of 30 columns and 25
// rows) and names the field the check sends the user back to, with its message.
TEST(EnvironmentEntries, EachEntryIsCheckedAgainstItsRange) {
  using F = EnvironmentField;
  using Entry = std::string EnvironmentEntries::*;
  const std::string kRows = "Valid range is 1 to 25";
  const struct {
    std::vector<std::pair<Entry, const char*>> changes;
    EnvironmentField field;
    std::string message;
  } cases[] = {
      {{{&EnvironmentEntries::row, "0"}}, F::Row, kRows},
      {{{&EnvironmentEntries::row, "26"}}, F::Row, kRows},
      {{{&EnvironmentEntries::row, "abc"}}, F::Row, kRows},
      {{{&EnvironmentEntries::row, "2.5"}}, F::Row, kRows},
      {{{&EnvironmentEntries::row, ""}}, F::Row, kRows},
      {{{&EnvironmentEntries::row, "25"}}, F::None, ""},
      {{{&EnvironmentEntries::column, "31"}}, F::Column, "Valid range is 1 to 30"},
      {{{&EnvironmentEntries::column, "31"}, {&EnvironmentEntries::row, "0"}}, F::Row, kRows},  // the row first
      {{{&EnvironmentEntries::minElevation, "low"}}, F::MinElevation, kRealNumberMessage},
      {{{&EnvironmentEntries::minElevation, "5"}, {&EnvironmentEntries::maxElevation, "5"}}, F::MaxElevation,
       kElevationOrderMessage},
      {{{&EnvironmentEntries::minElevation, "5"}, {&EnvironmentEntries::maxElevation, "5.5"}}, F::None, ""},
      {{{&EnvironmentEntries::exaggeration, "0.00001"}}, F::None, ""},
      {{{&EnvironmentEntries::exaggeration, "1000"}}, F::None, ""},
      {{{&EnvironmentEntries::exaggeration, "3.3"}}, F::None, ""},
      {{{&EnvironmentEntries::exaggeration, "0.000009"}}, F::Exaggeration, kExaggerationRangeMessage},
      {{{&EnvironmentEntries::exaggeration, "1001"}}, F::Exaggeration, kExaggerationRangeMessage},
      {{{&EnvironmentEntries::exaggeration, "0"}}, F::Exaggeration, kExaggerationRangeMessage},
      {{{&EnvironmentEntries::exaggeration, "x"}}, F::Exaggeration, kExaggerationRangeMessage},
      {{{&EnvironmentEntries::vectorSize, "0"}}, F::VectorSize, kVectorSizeMessage},
      {{{&EnvironmentEntries::vectorSize, "32768"}}, F::VectorSize, kVectorSizeMessage},
      {{{&EnvironmentEntries::vectorSize, "1.5"}}, F::VectorSize, kVectorSizeMessage},
      {{{&EnvironmentEntries::vectorSize, "32767"}}, F::None, ""},
  };
  for (const auto& c : cases) {
    EnvironmentEntries e = Valid();
    for (const auto& [entry, text] : c.changes) e.*entry = text;
    SCOPED_TRACE(c.changes.front().second);
    const EnvironmentCheck check = CheckEnvironmentEntries(e, 30, 25);
    EXPECT_EQ(check.field, c.field);
    EXPECT_EQ(check.message, c.message);
  }
}

TEST(EnvironmentEntries, StoreSetsEverySwitchAndValue) {
  EnvironmentEntries e = Valid();
  e.row = "3";
  e.column = "4";
  e.exaggeration = "12.5";
  e.vectorSize = "40";
  e.shown.fill(false);
  e.shown[10] = true;
  e.colours[2] = 99;
  e.contoursVisible = true;
  e.dataSource = 1;
  e.labelUphill = false;
  e.sectionGrid = false;
  e.minElevation = "-5";
  e.maxElevation = "70";
  Settings s;
  float low = 0, high = 0;
  StoreEnvironmentEntries(e, s, low, high);
  EXPECT_EQ(s.sectionRow, 3);
  EXPECT_EQ(s.sectionColumn, 4);
  EXPECT_FLOAT_EQ(s.exaggeration, 12.5f);
  EXPECT_EQ(s.vectorSize, 40);
  EXPECT_EQ(s.showMesh, kOff);
  EXPECT_EQ(s.showReservoirs, kOff);
  EXPECT_EQ(s.showWaterTable, kOn);
  EXPECT_EQ(s.fixedHeadCellColor, 99);
  EXPECT_EQ(s.showContours, kOn);
  EXPECT_EQ(s.contourDisplay, kOn);
  EXPECT_EQ(s.contourDataSource, 1);
  EXPECT_EQ(s.labelUphill, kOff);
  EXPECT_EQ(s.sectionGrid, kOff);
  EXPECT_EQ(low, -5);
  EXPECT_EQ(high, 70);
}

}  // namespace
}  // namespace kestra
