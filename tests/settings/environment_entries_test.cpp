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

TEST(EnvironmentEntries, RowAndColumnMustLieInTheGrid) {
  EnvironmentEntries e = Valid();
  for (const char* row : {"0", "26", "abc", "2.5", ""}) {
    e.row = row;
    const EnvironmentCheck check = CheckEnvironmentEntries(e, 30, 25);
    EXPECT_EQ(check.field, EnvironmentField::Row) << row;
    EXPECT_EQ(check.message, "Valid range is 1 to 25");
  }
  e.row = "25";
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).field, EnvironmentField::None);
  e.column = "31";
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).message, "Valid range is 1 to 30");
  e.row = "0";  // the row is checked first
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).field, EnvironmentField::Row);
}

TEST(EnvironmentEntries, ElevationsMustBeNumbersInOrder) {
  EnvironmentEntries e = Valid();
  e.minElevation = "low";
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).message, kRealNumberMessage);
  e.minElevation = "5";
  e.maxElevation = "5";
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).message, kElevationOrderMessage);
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).field, EnvironmentField::MaxElevation);
  e.maxElevation = "5.5";
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).field, EnvironmentField::None);
}

TEST(EnvironmentEntries, ExaggerationAndVectorSizeRanges) {
  EnvironmentEntries e = Valid();
  for (const char* good : {"0.00001", "1000", "3.3"}) {
    e.exaggeration = good;
    EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).field, EnvironmentField::None) << good;
  }
  for (const char* bad : {"0.000009", "1001", "0", "x"}) {
    e.exaggeration = bad;
    EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).message, kExaggerationRangeMessage) << bad;
  }
  e.exaggeration = "1";
  for (const char* bad : {"0", "32768", "1.5"}) {
    e.vectorSize = bad;
    EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).message, kVectorSizeMessage) << bad;
  }
  e.vectorSize = "32767";
  EXPECT_EQ(CheckEnvironmentEntries(e, 30, 25).field, EnvironmentField::None);
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
