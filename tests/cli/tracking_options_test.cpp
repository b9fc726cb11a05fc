#include "cli/tracking_options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kestra::cli {
namespace {

TrackingSettings Applied(const Arguments& words) {
  Arguments args = words;
  TrackingOptions options;
  std::ostringstream err;
  EXPECT_TRUE(TakeTrackingOptions(args, options, "track", err)) << err.str();
  TrackingSettings tracking;
  ApplyTrackingOptions(options, StressPeriods{}, tracking);
  return tracking;
}

TEST(TrackingOptions, SinkSourceAndFaceRulesMapOntoTheSettings) {
  const struct {
    Arguments words;
    WeakCellRule sinks, sources;
    FaceVelocityRule faces;
  } cases[] = {
      {{}, WeakCellRule::Stop, WeakCellRule::PassThrough, FaceVelocityRule::OwnCell},
      {{"--stop-at-sinks", "on"}, WeakCellRule::Stop, WeakCellRule::Stop, FaceVelocityRule::OwnCell},
      {{"--stop-at-sinks", "off"}, WeakCellRule::PassThrough, WeakCellRule::PassThrough, FaceVelocityRule::OwnCell},
      {{"--weak-sinks", "pass", "--weak-sources", "stop"}, WeakCellRule::PassThrough, WeakCellRule::Stop,
       FaceVelocityRule::OwnCell},
      {{"--stop-at-sinks", "on", "--weak-sources", "pass"}, WeakCellRule::Stop, WeakCellRule::PassThrough,
       FaceVelocityRule::OwnCell},
      {{"--face-rule", "interpolated"}, WeakCellRule::Stop, WeakCellRule::PassThrough,
       FaceVelocityRule::Interpolated},
  };
  for (const auto& c : cases) {
    const TrackingSettings t = Applied(c.words);
    const std::string shown = c.words.empty() ? "(none)" : c.words.front() + " " + c.words[1];
    EXPECT_EQ(t.WeakSinks, c.sinks) << shown;
    EXPECT_EQ(t.WeakSources, c.sources) << shown;
    EXPECT_EQ(t.FaceVelocities, c.faces) << shown;
  }
}

TEST(TrackingOptions, BadRuleValuesAreNamed) {
  for (const Arguments& words : std::vector<Arguments>{{"--weak-sinks", "keep"}, {"--weak-sources", "on"},
                                                       {"--face-rule", "mean"}, {"--face-rule"}}) {
    Arguments args = words;
    TrackingOptions options;
    std::ostringstream err;
    EXPECT_FALSE(TakeTrackingOptions(args, options, "track", err));
    EXPECT_NE(err.str().find(words.front()), std::string::npos) << err.str();
  }
}

}  // namespace
}  // namespace kestra::cli
