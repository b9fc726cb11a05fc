// The options several commands share: the porosity of the open, and the
// tracking rules.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/open_options.h"
#include "cli/tracking_options.h"

namespace kestra::cli {
namespace {

TEST(PorosityOption, OneValueSetsEveryLayerAndAListSetsLayerByLayer) {
  std::ostringstream err;
  Arguments args = {"info", "--porosity", "0.2", "model.nam"};
  LayerPorosity porosity;
  ASSERT_TRUE(TakePorosityOption(args, porosity, err));
  EXPECT_EQ(args, (Arguments{"info", "model.nam"}));
  EXPECT_EQ(porosity.everyLayer, 0.2f);
  EXPECT_TRUE(porosity.byLayer.empty());

  args = {"model.nam", "--porosity=0.2,,3e-1"};
  porosity = {};
  ASSERT_TRUE(TakePorosityOption(args, porosity, err));
  EXPECT_EQ(args, (Arguments{"model.nam"}));
  EXPECT_EQ(porosity.byLayer, (std::map<int, float>{{1, 0.2f}, {3, 0.3f}}));
  EXPECT_EQ(porosity.everyLayer, 0.0f);
  EXPECT_TRUE(err.str().empty());
}

TEST(PorosityOption, MissingOrInvalidListsAreRefusedWithTheArgumentsKept) {
  for (const Arguments& given :
       {Arguments{"m.nam", "--porosity"}, Arguments{"--porosity", "0"}, Arguments{"--porosity", "1.2"},
        Arguments{"--porosity=0.2,x"}, Arguments{"--porosity", "0.2;0.3"}}) {
    std::ostringstream err;
    Arguments args = given;
    LayerPorosity porosity;
    porosity.everyLayer = 0.5f;
    EXPECT_FALSE(TakePorosityOption(args, porosity, err)) << given.back();
    EXPECT_EQ(args, given);
    EXPECT_EQ(porosity.everyLayer, 0.5f);
    EXPECT_NE(err.str().find("--porosity needs"), std::string::npos);
  }
  Arguments unrelated = {"--porosityx", "m.nam"};
  std::ostringstream err;
  LayerPorosity porosity;
  EXPECT_TRUE(TakePorosityOption(unrelated, porosity, err));
  EXPECT_EQ(unrelated.size(), 2u);
}


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
