#include <gtest/gtest.h>

#include "modpath/mp7_run_plan.h"

namespace kestra {
namespace {

StressPeriods TwoPeriods() {
  StressPeriods periods;
  periods.NPER = 2;
  periods.PERLEN = {0, 100, 300};
  periods.NSTP = {0, 1, 2};
  periods.TSMULT = {0, 1, 1};
  return periods;
}

// Stop time options: 1 the end (forward) or start (backward) of the
// simulation, 2 none, 3 the given tracking time.
TEST(Mp7RunPlan, StopTimeOptionsBecomeOneTrackingStep) {
  struct Case {
    int option, direction;
    double stopTime, referenceTime, releaseTime;
    double stepLength;
    std::int16_t stopAtTimeLimit;
    double simulationRelease;
  };
  const std::vector<Case> cases = {
      {1, 1, 0, 50, 10, 340, -1, 60},                // 400 - 50 - 10
      {1, 2, 0, 350, 20, 330, -1, 330},              // backward to time 0
      {2, 1, 0, 0, 5, kMp7NoStopTime, 0, 5},         // tracks on in the last period
      {3, 1, 1000, 0, 200, 800, 0, 200},             // beyond the simulation: not limited by its end
      {3, 2, 100, 300, 150, 0, 0, 150},              // released after the stop time: no step left
  };
  for (const Case& c : cases) {
    Mp7Simulation s;
    s.stopTimeOption = c.option;
    s.trackingDirection = c.direction;
    s.stopTime = c.stopTime;
    s.weakSinkOption = 2;
    TrackingSettings t;
    ApplyMp7Options(s, TwoPeriods(), c.referenceTime, c.releaseTime, t);
    EXPECT_EQ(t.StepLength, c.stepLength) << c.option << " " << c.direction;
    EXPECT_EQ(t.MaximumSteps, 1);
    EXPECT_EQ(t.StopAtTimeLimit, c.stopAtTimeLimit);
    EXPECT_EQ(t.SimulationMode, 2);
    EXPECT_EQ(*t.ReleaseTime, c.simulationRelease);
    EXPECT_EQ(t.FaceVelocities, FaceVelocityRule::OwnCell);
    EXPECT_EQ(t.WeakSinks, WeakCellRule::Stop);
    EXPECT_EQ(t.WeakSources, WeakCellRule::PassThrough);
  }
}

TEST(Mp7RunPlan, ReferenceTimeOfAStepFraction) {
  Mp7Simulation s;
  s.referenceTimeOption = 2;
  s.referencePeriod = 2;
  s.referenceStep = 2;
  s.referenceFraction = 0.5;
  EXPECT_DOUBLE_EQ(Mp7ReferenceTime(s, TwoPeriods()), 325.0);  // step 250..400
}

// Releases are grouped by tracking time; sequence numbers follow the input.
TEST(Mp7RunPlan, ReleasesGroupParticlesByTime) {
  Mp7Simulation s;
  s.groups = {{"A", 2, {0, 10}, ""}, {"B", 1, {10}, ""}};
  s.particles = {{7, 0, {1, 1, 1}, {}, 0, false}, {8, 0, {2, 1, 1}, {}, 10, false}, {3, 1, {3, 1, 1}, {}, 0, false}};
  const std::vector<Mp7Release> releases = Mp7Releases(s);
  ASSERT_EQ(releases.size(), 3u);
  EXPECT_EQ(releases[0].trackingTime, 0.0);
  EXPECT_EQ(releases[1].trackingTime, 10.0);
  EXPECT_EQ(releases[2].trackingTime, 20.0);
  // Time 10: group A's particle 7 released second, A's 8 released first with its offset, B's 3.
  ASSERT_EQ(releases[1].labels.size(), 3u);
  EXPECT_EQ(releases[1].labels[0].id, 8);
  EXPECT_EQ(releases[1].labels[0].sequence, 2);
  EXPECT_EQ(releases[1].labels[1].id, 7);
  EXPECT_EQ(releases[1].labels[1].sequence, 3);
  EXPECT_EQ(releases[1].labels[2].group, 2);
  EXPECT_EQ(releases[1].labels[2].sequence, 5);
  EXPECT_EQ(releases[2].labels[0].id, 8);
}

TEST(Mp7RunPlan, RetardationUsedOnlyWhenUniform) {
  Mp7Simulation s;
  EXPECT_EQ(Mp7UniformRetardation(s), 1.0f);
  s.retardationOption = 2;
  Mp7LayerArray two;
  two.constant = 2;
  s.retardation = {two, two};
  EXPECT_EQ(Mp7UniformRetardation(s), 2.0f);
  s.retardation[1].constant = 3;
  EXPECT_FALSE(Mp7UniformRetardation(s));
  const std::vector<std::string> unused = Mp7UnusedOptions(s);
  EXPECT_TRUE(std::any_of(unused.begin(), unused.end(),
                          [](const std::string& u) { return u.find("retardation") != std::string::npos; }));
}

}  // namespace
}  // namespace kestra
