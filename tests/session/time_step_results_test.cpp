#include "session/time_step_results.h"

#include <gtest/gtest.h>

#include "core/sink_codes.h"
#include "session/open_model.h"
#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"
#include "tracking/time_steps.h"

namespace kestra {
namespace {

// transient2 opened, with a step loader of its settings.
struct TransientModel {
  TransientModel() {
    NoViews views;
    EXPECT_TRUE(OpenModelFile((test::TestDataDir() / "transient2/lahey/transient2.mdl").string(), session, ui, views));
  }
  Session session;
  test::RecordingInterface ui;
  ModelState& model = session.model;
  ModelStepLoader loader{session.settings, session.tracking, ui};
};

TEST(ModelStepLoader, LoadsAnotherStepRestoresTheOpenedOneExactlyAndRereadsMissingFlowTermsWithTheirMessage) {
  TransientModel m;
  const ModelState opened = m.model;
  // The last step of the pumping period: other heads and other flows.
  m.model.CurrentPeriod = 3;
  m.model.CurrentStep = 4;
  ASSERT_TRUE(m.loader.LoadFlowField(m.model));
  EXPECT_NE(m.model.HEAD, opened.HEAD);
  EXPECT_NE(m.model.QRIGHT, opened.QRIGHT);
  EXPECT_EQ(m.model.VX, opened.VX) << "the flow field alone leaves the views' velocities";

  m.model.CurrentPeriod = 1;
  m.model.CurrentStep = 1;
  m.loader.RestoreTimeStep(m.model);
  EXPECT_TRUE(m.model.flowTermsLoaded);
  EXPECT_EQ(m.model.HEAD, opened.HEAD);
  EXPECT_EQ(m.model.QRIGHT, opened.QRIGHT);
  EXPECT_EQ(m.model.QFRONT, opened.QFRONT);
  EXPECT_EQ(m.model.DRAWDOWN, opened.DRAWDOWN);
  EXPECT_EQ(m.model.VX, opened.VX);
  EXPECT_EQ(m.model.IBOUND, opened.IBOUND);
  EXPECT_TRUE(m.ui.messages.empty());
  m.model.flowTermsLoaded = false;
  m.model.BudgetPath = "/nonexistent/BUDGET.DAT";
  EXPECT_FALSE(m.loader.ReloadFlowTerms(m.model));
  EXPECT_EQ(m.ui.LastMessage(), "Could not find the budget file: /nonexistent/BUDGET.DAT");
}

TEST(LoadChangedTimeStep, AStepWithoutHeadsBringsThePreviousStepBack) {
  TransientModel m;
  const ModelState opened = m.model;
  m.model.CurrentPeriod = 3;
  m.model.CurrentStep = 4;
  ASSERT_TRUE(LoadChangedTimeStep(m.session, 1, 1, m.ui));
  EXPECT_NE(m.model.HEAD, opened.HEAD);
  m.model.CurrentStep = 9;  // the period has four steps
  EXPECT_FALSE(LoadChangedTimeStep(m.session, 3, 4, m.ui));
  EXPECT_EQ(m.model.CurrentStep, 4);
  EXPECT_TRUE(m.session.loaded.headsLoaded);
  EXPECT_FALSE(m.ui.messages.empty()) << "the missing step is reported";
}

// transient2 pumps in layer 2, row 8, column 8 in every period and injects
// in layer 1, row 4, column 12 only in the third: each time step a pathline
// run loads has its own sinks and sources.
TEST(ModelStepLoader, DecidesTheSinksOfEveryStepItLoads) {
  TransientModel m;
  EXPECT_EQ(m.model.SINKCODE(8, 8, 2), kOutflowCell);
  EXPECT_EQ(m.model.SINKCODE(12, 4, 1), 0);
  m.model.CurrentPeriod = 3;
  m.model.CurrentStep = 2;
  ASSERT_TRUE(m.loader.LoadFlowField(m.model));
  EXPECT_EQ(m.model.SINKCODE(8, 8, 2), kOutflowCell);
  EXPECT_EQ(m.model.SINKCODE(12, 4, 1), kInflowCell);
  m.model.CurrentPeriod = 2;
  ASSERT_TRUE(m.loader.LoadFlowField(m.model));
  EXPECT_EQ(m.model.SINKCODE(12, 4, 1), 0);

  m.session.tracking.BoundaryCells = BoundaryCellRule::AllAreSinks;
  m.model.CurrentPeriod = 3;
  ASSERT_TRUE(m.loader.LoadFlowField(m.model));
  EXPECT_EQ(m.model.SINKCODE(8, 8, 2), kBoundarySink);
  EXPECT_EQ(m.model.SINKCODE(12, 4, 1), 0) << "an injection well is no sink under either rule";
  EXPECT_TRUE(m.ui.messages.empty());
}

// transient2 with the heads of period 2, step 2 not saved.
struct ModelWithUnsavedStep : TransientModel {
  ModelWithUnsavedStep() {
    test::CopyHeadsWithoutStep(session.model.HeadPath, dir.File("HEADS.DAT"), 2, 2);
    session.model.HeadPath = dir.File("HEADS.DAT");
    session.tracking.SimulationMode = 2;
  }
  test::TempDir dir;
};

TEST(UnsavedSteps, AreThoseARunMayPassWithoutHeadsOrFlows) {
  TransientModel saved;
  EXPECT_TRUE(UnsavedStepsOfRun(saved.session.model, saved.session.periods, 1, 0).empty());
  ModelWithUnsavedStep m;
  const StressPeriods& periods = m.session.periods;
  const ModelState& model = m.session.model;
  const SavedSteps missing{{2, 2}};
  EXPECT_EQ(UnsavedStepsOfRun(model, periods, 1, 0), missing);
  EXPECT_EQ(UnsavedStepsOfRun(model, periods, -1, SimulationEnd(periods)), missing);
  const double period3 = StepTimeWindow(periods, 1, 3).T0;
  EXPECT_TRUE(UnsavedStepsOfRun(model, periods, 1, period3).empty()) << "forward from period 3";
  EXPECT_EQ(UnsavedStepsOfRun(model, periods, -1, period3), missing);
}

TEST(UnsavedSteps, RefuseTheRunNamingThemUnlessHeld) {
  ModelWithUnsavedStep m;
  SavedSteps held;
  EXPECT_FALSE(CheckUnsavedSteps(m.session, 1, m.ui, held));
  EXPECT_NE(m.ui.LastMessage().find(": period 2 step 2."), std::string::npos) << m.ui.LastMessage();
  EXPECT_TRUE(held.empty());
  m.model.CurrentPeriod = 2;
  m.model.CurrentStep = 2;
  EXPECT_FALSE(m.loader.HoldsFlowField(m.model)) << "refused, not held";

  m.session.tracking.UnsavedSteps = UnsavedStepRule::HoldLastSaved;
  m.ui.messages.clear();
  EXPECT_TRUE(CheckUnsavedSteps(m.session, 1, m.ui, held));
  EXPECT_TRUE(m.ui.messages.empty());
  EXPECT_EQ(held, (SavedSteps{{2, 2}}));
  EXPECT_EQ(HeldStepsNote(held), "Flow field of the step loaded last held over unsaved time steps: period 2 step 2");
  EXPECT_TRUE(m.loader.HoldsFlowField(m.model));
  m.model.CurrentStep = 3;
  EXPECT_FALSE(m.loader.HoldsFlowField(m.model));
}

TEST(LoadTimeStepResults, ReportsTheStagesAndWhatLoadedAndLeavesTheVelocitiesToTheirFirstUse) {
  TransientModel m;
  EXPECT_FALSE(m.session.loaded.velocitiesComputed) << "the open does not compute them";
  ASSERT_TRUE(CellVelocitiesReady(m.session));
  const float firstSpeed = m.session.loaded.maxSpeed;
  const CellArray<float> firstVx = m.model.VX;
  EXPECT_GT(firstSpeed, 0);

  m.model.CurrentPeriod = 3;
  m.model.CurrentStep = 4;
  std::vector<int> stages;
  m.session.loaded = LoadTimeStepResults(m.model, m.session.settings, m.session.tracking, m.ui, StepResults::All,
                                         [&stages](int stage) { stages.push_back(stage); });
  const LoadStatus& loaded = m.session.loaded;
  EXPECT_EQ(stages, (std::vector<int>{7, 8, 9}));
  EXPECT_TRUE(loaded.headsLoaded && loaded.drawdownsLoaded && loaded.sinkCellsLoaded && m.model.flowTermsLoaded);
  EXPECT_FALSE(loaded.velocitiesComputed);
  ASSERT_TRUE(CellVelocitiesReady(m.session));
  EXPECT_NE(m.model.VX, firstVx) << "the pumping period's own velocities";
  EXPECT_NE(loaded.maxSpeed, firstSpeed);

  m.model.CurrentPeriod = 1;
  m.model.CurrentStep = 1;
  ASSERT_TRUE(LoadChangedTimeStep(m.session, 3, 4, m.ui));
  EXPECT_FALSE(m.session.loaded.velocitiesComputed) << "a changed step drops the velocities of the one before";
  ASSERT_TRUE(CellVelocitiesReady(m.session));
  EXPECT_EQ(m.model.VX, firstVx);
  EXPECT_EQ(m.session.loaded.maxSpeed, firstSpeed);

  ForgetResults(m.session);
  EXPECT_FALSE(CellVelocitiesReady(m.session)) << "no flow terms, no velocities";
}

}  // namespace
}  // namespace kestra
