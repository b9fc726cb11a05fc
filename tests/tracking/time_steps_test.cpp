// The time steps of the stress periods, their units, and the travel times
// entered in them.
#include "tracking/time_steps.h"

#include <gtest/gtest.h>

#include "tracking/travel_times.h"

namespace kestra {
namespace {

StressPeriods ThreePeriods() {
  return {.NPER = 3, .PERLEN = {0, 1, 100, 50}, .NSTP = {0, 1, 3, 2}, .TSMULT = {0, 1, 2, 1}};
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

constexpr int kDays = 4, kSeconds = 1, kUndefined = 0;

TEST(ParseTravelTimes, ConvertsEachItemToTheModelsUnit) {
  struct Case {
    const char* list;
    int unit;
    std::vector<double> times;
  };
  const Case cases[] = {
      {"50,365,1825", kDays, {50, 365, 1825}},
      {"50d, 1y ,5y", kDays, {50, 365.25, 1826.25}},
      {"12h,2d", kSeconds, {43200, 172800}},
      {"10,20", kUndefined, {10, 20}},
      {"", kDays, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    std::string problem;
    const auto times = ParseTravelTimes(c.list, c.unit, problem);
    ASSERT_TRUE(times) << problem;
    ASSERT_EQ(times->size(), c.times.size());
    for (std::size_t n = 0; n < c.times.size(); ++n) EXPECT_NEAR((*times)[n], c.times[n], 1e-9 * c.times[n]);
  }
}

TEST(ParseTravelTimes, RefusesWhatIsNoIncreasingPositiveTime) {
  struct Case {
    const char* list;
    int unit;
    const char* problem;
  };
  const Case cases[] = {
      {"10w", kDays, "'10w' is no time"},
      {"5,", kDays, "'' is no time"},
      {"1y", kUndefined, "the model states no time unit"},
      {"0,5", kDays, "positive and increasing"},
      {"5,5", kDays, "positive and increasing"},
      {"1y,100d", kDays, "positive and increasing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    std::string problem;
    EXPECT_FALSE(ParseTravelTimes(c.list, c.unit, problem));
    EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
  }
}

TEST(TravelTimeText, NamesTheUnitWhereTheModelHasOne) {
  EXPECT_EQ(TravelTimeText(365.25, kDays), "365.25 days");
  EXPECT_EQ(TravelTimeText(10, kUndefined), "10");
}

}  // namespace
}  // namespace kestra
