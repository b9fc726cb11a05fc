#include "tracking/time_steps.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

StressPeriods ThreePeriods() {
  StressPeriods periods;
  periods.NPER = 3;
  periods.PERLEN = {0, 1, 100, 50};
  periods.NSTP = {0, 1, 3, 2};
  periods.TSMULT = {0, 1, 2, 1};
  return periods;
}

TEST(StepTimeWindow, StepsGrowByTheMultiplierAndFillThePeriod) {
  const StressPeriods periods = ThreePeriods();
  // Period 2 starts at 1; steps of 100/7, 200/7 and 400/7.
  const TimeWindow second = StepTimeWindow(periods, 2, 2);
  EXPECT_NEAR(second.T0, 1 + 100.0 / 7, 1e-12);
  EXPECT_NEAR(second.T1, 1 + 300.0 / 7, 1e-12);
  EXPECT_NEAR(StepTimeWindow(periods, 3, 2).T1, 101, 1e-12);
  const TimeWindow last = StepTimeWindow(periods, 2, 3);
  EXPECT_DOUBLE_EQ(last.T0, 126);
  EXPECT_DOUBLE_EQ(last.T1, 151);
}

TEST(AdvanceTimeStep, CrossesPeriodsAndStopsAtTheEnds) {
  const StressPeriods periods = ThreePeriods();
  int step = 1, period = 1;
  EXPECT_FALSE(AdvanceTimeStep(periods, 1, step, period));
  EXPECT_EQ(period, 2);
  EXPECT_EQ(step, 1);
  EXPECT_FALSE(AdvanceTimeStep(periods, -1, step, period));
  EXPECT_EQ(period, 1);
  EXPECT_EQ(step, 1);
  EXPECT_TRUE(AdvanceTimeStep(periods, -1, step, period));
  EXPECT_EQ(period, 1);
  step = 1, period = 3;
  EXPECT_FALSE(AdvanceTimeStep(periods, -1, step, period));
  EXPECT_EQ(step, 3);  // the last step of period 2
  step = 2, period = 3;
  EXPECT_TRUE(AdvanceTimeStep(periods, 1, step, period));
  EXPECT_EQ(step, 2);
  EXPECT_TRUE(IsLastTimeStep(periods, 1, step, period));
  EXPECT_FALSE(AdvanceTimeStep(periods, 0, step, period));
  EXPECT_EQ(step, 2);
}

TEST(TimeUnitFactor, ConvertsBetweenUnitsAndLeavesUndefinedAlone) {
  EXPECT_EQ(TimeUnitFactor(4, 1), 86400);  // a step of 1 day kept in seconds
  EXPECT_EQ(TimeUnitFactor(5, 4), 365.25);
  EXPECT_DOUBLE_EQ(TimeUnitFactor(2, 3), 1.0 / 60);
  EXPECT_EQ(TimeUnitFactor(0, 4), 1);
  EXPECT_EQ(TimeUnitFactor(3, 3), 1);
}

}  // namespace
}  // namespace kestra
