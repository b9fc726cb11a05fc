#include "tracking/travel_times.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

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
