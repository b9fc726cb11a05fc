#include "tracking/tracking_entries.h"

#include <gtest/gtest.h>

#include "modelset/layer_files.h"
#include "tracking_models.h"

namespace kestra {
namespace {

TrackingEntries Entries(const StressPeriods& periods) {
  ModelState model;
  return TrackingEntriesFrom(TrackingSettings{}, periods, model);
}

// The dialog's entries for three stress periods in days, and what it stores them in.
class ThreePeriodEntries : public testing::Test {
 protected:
  ThreePeriodEntries() {
    periods = {.NPER = 3, .timeUnit = 4, .PERLEN = {0, 1, 100, 100}, .NSTP = {0, 1, 4, 4},  // days
               .TSMULT = {0, 1, 1.5f, 1.5f}};
    e = Entries(periods);
  }
  StressPeriods periods;
  TrackingEntries e;
  TrackingSettings tracking;
  ModelState model;
};

TEST_F(ThreePeriodEntries, ChecksPeriodThenStepOfThatPeriodThenStepLengthAndMarkSizes) {
  e.stressPeriod = "4";
  EXPECT_EQ(CheckTrackingEntries(e, periods).message, "Please enter an integer between 1 and  3");
  e.stressPeriod = "2.5";  // rounds to 2, half to even
  e.timeStep = "5";
  EXPECT_EQ(CheckTrackingEntries(e, periods).field, TrackingField::TimeStep);
  EXPECT_EQ(CheckTrackingEntries(e, periods).message, "Please enter an integer between 1 and  4");
  e.timeStep = "4";
  e.stepLength = "-1";
  EXPECT_EQ(CheckTrackingEntries(e, periods).message, kStepLengthMessage);
  e.stepLength = "1";
  e.sectionMarkSize = "0.4";
  EXPECT_EQ(CheckTrackingEntries(e, periods).field, TrackingField::SectionMarkSize);
  e.sectionMarkSize = "3";
  EXPECT_TRUE(CheckTrackingEntries(e, periods).message.empty());
}

TEST_F(ThreePeriodEntries, TheReleaseTimeIsBlankOrWithinTheSimulation) {
  EXPECT_EQ(e.releaseTime, "");
  for (const char* refused : {"-1", "201.5"}) {
    e.releaseTime = refused;
    EXPECT_EQ(CheckTrackingEntries(e, periods).field, TrackingField::ReleaseTime) << refused;
    EXPECT_EQ(CheckTrackingEntries(e, periods).message, std::string(kReleaseTimeMessage) + " 201");
  }
  for (const char* accepted : {"201", "0", "  "}) {
    e.releaseTime = accepted;
    EXPECT_TRUE(CheckTrackingEntries(e, periods).message.empty()) << accepted;
  }
  tracking.ReleaseTime = 5;
  StoreTrackingEntries(e, periods, tracking, model);
  EXPECT_FALSE(tracking.ReleaseTime.has_value()) << "a blank entry releases at the start of the time step";
  e.releaseTime = "201";
  StoreTrackingEntries(e, periods, tracking, model);
  EXPECT_EQ(tracking.ReleaseTime, 201.0);
  EXPECT_EQ(TrackingEntriesFrom(tracking, periods, model).releaseTime, " 201");
}

TEST_F(ThreePeriodEntries, TheBoundaryCellRuleGoesBothWays) {
  EXPECT_FALSE(e.allBoundaryCellsAreSinks) << "sinks by flow sign unless set";
  e.allBoundaryCellsAreSinks = true;
  StoreTrackingEntries(e, periods, tracking, model);
  EXPECT_EQ(tracking.BoundaryCells, BoundaryCellRule::AllAreSinks);
  EXPECT_TRUE(TrackingEntriesFrom(tracking, periods, model).allBoundaryCellsAreSinks);
  e.allBoundaryCellsAreSinks = false;
  StoreTrackingEntries(e, periods, tracking, model);
  EXPECT_EQ(tracking.BoundaryCells, BoundaryCellRule::SinksByFlowSign);
}

TEST_F(ThreePeriodEntries, StoresTheStepInTheModelUnitAndAZeroMarkIntervalAsOne) {
  e.stressPeriod = "2.5";
  e.timeStep = "3";
  e.timeUnit = 3;  // hours
  e.stepLength = "12";
  e.markInterval = "0";
  StoreTrackingEntries(e, periods, tracking, model);
  EXPECT_EQ(model.CurrentPeriod, 2);
  EXPECT_EQ(model.CurrentStep, 3);
  EXPECT_DOUBLE_EQ(tracking.StepLength, 0.5);  // days
  EXPECT_DOUBLE_EQ(tracking.MarkInterval, 1);
}

TEST(TrackingEntries, OneTimeStepForcesFlowlinesAndTheStepShowsInTheDialogUnit) {
  StressPeriods single;
  single.timeUnit = 1;
  TrackingSettings tracking;
  tracking.SimulationMode = 2;
  tracking.TimeUnit = 4;
  tracking.StepLength = 86400;
  ModelState model;
  const TrackingEntries e = TrackingEntriesFrom(tracking, single, model);
  EXPECT_EQ(e.simulationMode, 1);
  EXPECT_EQ(e.stepLength, " 1");
}

TEST(TrackingEntries, LayerPorositiesOutsideZeroToOneAreRefusedAndEmptyOnesKeepTheModels) {
  StressPeriods single;
  TrackingEntries e = Entries(single);
  e.layerPorosity = {"0.2", "", "1.5"};
  const TrackingCheck check = CheckTrackingEntries(e, single);
  EXPECT_EQ(check.field, TrackingField::Porosity);
  EXPECT_EQ(check.layer, 3);
  e.layerPorosity[2] = "0.3";
  EXPECT_TRUE(CheckTrackingEntries(e, single).message.empty());
  const LayerPorosity porosity = LayerPorosityOf(e);
  EXPECT_EQ(porosity.byLayer.size(), 2u);
  EXPECT_FLOAT_EQ(porosity.Of(3), 0.3f);
  EXPECT_EQ(LayerPorosityEntries(porosity, 3), (std::vector<std::string>{"0.2", "", "0.3"}));
}

TEST(TrackingEntries, LayerColoursGoIntoTheLayerPropertiesAndBack) {
  StressPeriods single;
  ModelState model;
  model.LayerProperties.resize(3);  // layers 1 and 2
  SetLayerColor(model.LayerProperties[2], 0x00FF00);
  TrackingEntries e = TrackingEntriesFrom(TrackingSettings{}, single, model);
  ASSERT_EQ(e.layerColors.size(), 2u);
  EXPECT_EQ(e.layerColors[1], 0x00FF00);
  e.layerColors[0] = 255;
  TrackingSettings tracking;
  StoreTrackingEntries(e, single, tracking, model);
  EXPECT_EQ(LayerColor(model.LayerProperties[1]), 255);
  EXPECT_EQ(LayerColor(model.LayerProperties[2]), 0x00FF00);
}

TEST(ModelLayerPorosity, UniformLayersShowTheirValueAndMixedLayersNothing) {
  ModelState state = test::BoxModel(3, 2, 3, 10, 10, 5, 0.25f);
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 2; ++i) state.POROSITY(j, i, 3) = 0.3f;
  state.POROSITY(2, 2, 2) = 0.1f;
  const auto texts = ModelLayerPorosityTexts(state);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "0.25");
  EXPECT_EQ(texts[1], "");
  EXPECT_EQ(texts[2], "0.3");
}

}  // namespace
}  // namespace kestra
