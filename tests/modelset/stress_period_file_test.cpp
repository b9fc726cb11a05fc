#include "modelset/stress_period_file.h"

#include <gtest/gtest.h>

#include "support/model_writers.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

StressPeriods ThreePeriods() {
  StressPeriods periods;
  periods.NPER = 3;
  periods.timeUnit = 4;
  periods.PERLEN = {0, 1, 100, 50};
  periods.NSTP = {0, 1, 4, 2};
  periods.TSMULT = {0, 1, 1.5f, 1};
  return periods;
}

void ExpectPeriods(const StressPeriods& read, const StressPeriods& expected) {
  EXPECT_EQ(read.NPER, expected.NPER);
  EXPECT_EQ(read.timeUnit, expected.timeUnit);
  EXPECT_EQ(read.PERLEN, expected.PERLEN);
  EXPECT_EQ(read.NSTP, expected.NSTP);
  EXPECT_EQ(read.TSMULT, expected.TSMULT);
}

TEST(StressPeriodFile, TableWrittenOnceOrNperTimesReadsTheSame) {
  test::TempDir dir;
  for (int copies : {1, 3}) {
    test::WriteTraFile(dir.File("m.TRA"), ThreePeriods(), copies);
    test::RecordingInterface ui;
    StressPeriods read;
    ASSERT_TRUE(ReadStressPeriodFile(dir.File("m.TRA"), read, ui)) << copies;
    ExpectPeriods(read, ThreePeriods());
  }
}

TEST(StressPeriodFile, LastCopyCounts) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.TRA"), "2 1\n1 1 1\n1 1 1\n5 2 1\n7 3 2\n");
  test::RecordingInterface ui;
  StressPeriods read;
  ASSERT_TRUE(ReadStressPeriodFile(dir.File("m.TRA"), read, ui));
  EXPECT_EQ(read.PERLEN[2], 7.0f);
  EXPECT_EQ(read.NSTP[1], 2);
}

TEST(StressPeriodFile, PeriodsOrStepsBelowOneAndShortTablesAreRefused) {
  test::TempDir dir;
  for (const char* text : {"0 4\n", "-2 4\n1 1 1\n", "2 4\n1 1 1\n10 0 1\n", "2 4\n1 1 1\n", ""}) {
    test::WriteWholeFile(dir.File("m.TRA"), text);
    test::RecordingInterface ui;
    StressPeriods read = ThreePeriods();
    EXPECT_FALSE(ReadStressPeriodFile(dir.File("m.TRA"), read, ui)) << text;
    ExpectPeriods(read, ThreePeriods());
    EXPECT_EQ(ui.messages.size(), 1u);
  }
}

TEST(StressPeriodFile, NonFiniteLengthsAndMultipliersAreRefusedNamingThePeriod) {
  struct Case {
    const char* text;
    const char* reason;
  };
  test::TempDir dir;
  for (const Case& c : {Case{"2 4\n1 1 1\nnan 2 1\n", ": PERLEN of stress period 2 is not a finite number."},
                        Case{"2 4\n1 1 1\n10 2 inf\n", ": TSMULT of stress period 2 is not a finite number."},
                        // Finite as text, infinite as the 32-bit value the table keeps.
                        Case{"1 4\n1E+39 1 1\n", ": PERLEN of stress period 1 is not a finite number."},
                        Case{"1 4\n1 1 -inf\n", ": TSMULT of stress period 1 is not a finite number."}}) {
    test::WriteWholeFile(dir.File("m.TRA"), c.text);
    test::RecordingInterface ui;
    StressPeriods read = ThreePeriods();
    EXPECT_FALSE(ReadStressPeriodFile(dir.File("m.TRA"), read, ui)) << c.text;
    ExpectPeriods(read, ThreePeriods());
    EXPECT_EQ(ui.LastMessage(),
              "The file " + dir.File("m.TRA") + " does not hold a valid stress-period table" + c.reason);
  }
}

}  // namespace
}  // namespace kestra
