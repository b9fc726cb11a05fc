// Boundary cells that end the tracking, decided from the budget terms of
// their packages, on a channel built here: water moves along ten 10 m cells
// to a fixed-head cell; a river crosses cell 5 and a drain lies in cell 7.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/sink_codes.h"
#include "mf2005/model.h"
#include "session/sink_cells.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"
#include "tracking_models.h"

namespace kestra {
namespace {

constexpr int kColumns = 10;
constexpr int kRiverColumn = 5;
constexpr int kDrainColumn = 7;

enum class Layout { FullArrays, CompactLists };

// The cells a MODFLOW-2005 import read: both with a conductance.
std::vector<BoundaryPackage> ChannelPackages() {
  return {{"RIV", {{}, {{1, 1, kRiverColumn, 50.0f}}}}, {"DRN", {{}, {{1, 1, kDrainColumn, 20.0f}}}}};
}

void ImportedWith(ModelState& state, std::vector<BoundaryPackage> packages) {
  Mf2005Model model;
  model.NCOL = state.NCOL;
  model.NROW = state.NROW;
  model.NLAY = state.NLAY;
  model.boundaryPackages = std::move(packages);
  state.family = std::make_shared<Mf2005Family>(model);
}

ModelState Channel() {
  ModelState state = test::BoxModel(kColumns, 1, 1, 10, 10, 10, 0.25f);
  test::SetUniformFlow(state, 1, 0.25f);
  state.IBOUND(kColumns, 1, 1) = -1;
  state.IBOUND0 = state.IBOUND;
  ImportedWith(state, ChannelPackages());
  return state;
}

struct RiverChannel : test::TrackingFixture {
  RiverChannel() : TrackingFixture(Channel()) {
    state.BudgetPath = dir.File("channel.cbc");
    // Every sink or source cell the rules decide holds the particles that reach it.
    tracking.WeakSources = WeakCellRule::Stop;
  }

  // The budget file of the one time step: the face flows, then each term
  // of `terms` (label -> flow of its one cell).
  void WriteBudget(const std::map<std::string, std::pair<int, float>>& terms, Layout layout = Layout::FullArrays) {
    test::WriteResultFile(state.BudgetPath, ResultFileFormat::Stream, 4, [&](ResultFileWriter& writer) {
      writer.WriteBudgetArray(test::BudgetTermHeader(1, 1, "FLOW RIGHT FACE", kColumns, 1, 1),
                              std::vector<float>(kColumns, 1.0f));
      for (const auto& [label, cell] : terms) {
        BudgetHeader header = test::BudgetTermHeader(1, 1, label, kColumns, 1, 1);
        if (layout == Layout::FullArrays) {
          std::vector<float> values(kColumns, 0.0f);
          values[cell.first - 1] = cell.second;
          writer.WriteBudgetArray(header, values);
        } else {
          header.compact = true;
          header.method = kList;
          const std::vector<BudgetListEntry> entries = {{cell.first, cell.second, {}}};
          writer.WriteBudgetList(header, {}, entries);
        }
      }
    });
  }

  void Decide(BoundaryCellRule rule) { EXPECT_TRUE(LoadSinkCells(state, rule, ui, true, &withoutFlowTerms)); }

  // Where a particle released in the middle of cell `column` ends.
  test::RecordedEnd Track(int column, TrackMode mode) {
    particles = {};
    observer = {};
    Add(column, 1, 1, 0.5f, 0.5f, 0.5f);
    Run(mode);
    return observer.ends.back();
  }

  test::TempDir dir;
  PackageKeys withoutFlowTerms;
};

class ByFlowSign : public testing::TestWithParam<Layout> {};

TEST_P(ByFlowSign, ALosingRiverLetsForwardParticlesPassAndEndsBackwardOnes) {
  RiverChannel f;
  f.WriteBudget({{"RIVER LEAKAGE", {kRiverColumn, 35.0f}}, {"DRAINS", {kDrainColumn, 0.0f}}}, GetParam());
  f.Decide(BoundaryCellRule::SinksByFlowSign);
  EXPECT_EQ(f.state.SINKCODE(kRiverColumn, 1, 1), kInflowCell);
  EXPECT_TRUE(f.withoutFlowTerms.empty());

  const test::RecordedEnd forward = f.Track(2, TrackMode::ForwardRun);
  EXPECT_EQ(forward.end, TrackEnd::NoExitFromSink);
  EXPECT_EQ(forward.state.cell.column, kColumns);

  // The water at cell 8 came in through the river.
  const test::RecordedEnd backward = f.Track(8, TrackMode::BackwardRun);
  EXPECT_EQ(backward.end, TrackEnd::EnteredSinkCell);
  EXPECT_EQ(backward.state.cell.column, kRiverColumn);
}

TEST_P(ByFlowSign, AGainingRiverEndsForwardParticlesAndLetsBackwardOnesPass) {
  RiverChannel f;
  f.WriteBudget({{"RIVER LEAKAGE", {kRiverColumn, -35.0f}}, {"DRAINS", {kDrainColumn, 0.0f}}}, GetParam());
  f.Decide(BoundaryCellRule::SinksByFlowSign);
  EXPECT_EQ(f.state.SINKCODE(kRiverColumn, 1, 1), kOutflowCell);

  const test::RecordedEnd forward = f.Track(2, TrackMode::ForwardRun);
  EXPECT_EQ(forward.end, TrackEnd::EnteredSinkCell);
  EXPECT_EQ(forward.state.cell.column, kRiverColumn);

  const test::RecordedEnd backward = f.Track(8, TrackMode::BackwardRun);
  EXPECT_NE(backward.end, TrackEnd::EnteredSinkCell);
  EXPECT_LT(backward.state.cell.column, kRiverColumn);
}

TEST_P(ByFlowSign, ADrainWithoutFlowDoesNotCaptureButADrainingOneDoes) {
  for (const float drainFlow : {0.0f, -12.5f}) {
    SCOPED_TRACE(drainFlow);
    RiverChannel f;
    f.WriteBudget({{"RIVER LEAKAGE", {kRiverColumn, 35.0f}}, {"DRAINS", {kDrainColumn, drainFlow}}}, GetParam());
    f.Decide(BoundaryCellRule::SinksByFlowSign);
    const test::RecordedEnd forward = f.Track(6, TrackMode::ForwardRun);
    EXPECT_EQ(forward.state.cell.column, drainFlow == 0 ? kColumns : kDrainColumn);
    EXPECT_EQ(forward.end, drainFlow == 0 ? TrackEnd::NoExitFromSink : TrackEnd::EnteredSinkCell);
  }
}

INSTANTIATE_TEST_SUITE_P(BudgetLayouts, ByFlowSign, testing::Values(Layout::FullArrays, Layout::CompactLists));

TEST(AllAreSinks, EveryBoundaryCellEndsParticlesWhateverItsFlow) {
  RiverChannel f;
  f.WriteBudget({{"RIVER LEAKAGE", {kRiverColumn, 35.0f}}, {"DRAINS", {kDrainColumn, 0.0f}}});
  f.Decide(BoundaryCellRule::AllAreSinks);
  EXPECT_EQ(f.state.SINKCODE(kRiverColumn, 1, 1), kBoundarySink);
  EXPECT_EQ(f.state.SINKCODE(kDrainColumn, 1, 1), kBoundarySink);
  EXPECT_TRUE(f.withoutFlowTerms.empty()) << "nothing is missed under this rule";
  EXPECT_EQ(f.Track(2, TrackMode::ForwardRun).state.cell.column, kRiverColumn);
  EXPECT_EQ(f.Track(6, TrackMode::ForwardRun).state.cell.column, kDrainColumn);
  EXPECT_EQ(f.Track(8, TrackMode::BackwardRun).state.cell.column, kDrainColumn);
}

TEST(MissingFlowTerms, APackageWithoutBudgetTermKeepsEveryCellASink) {
  RiverChannel f;
  f.WriteBudget({{"DRAINS", {kDrainColumn, 0.0f}}});
  f.Decide(BoundaryCellRule::SinksByFlowSign);
  EXPECT_EQ(f.withoutFlowTerms, (PackageKeys{"RIV"}));
  EXPECT_EQ(f.state.SINKCODE(kRiverColumn, 1, 1), kBoundarySink);
  EXPECT_EQ(f.state.SINKCODE(kDrainColumn, 1, 1), 0);
  EXPECT_EQ(f.Track(2, TrackMode::ForwardRun).state.cell.column, kRiverColumn);
  EXPECT_EQ(f.Track(8, TrackMode::BackwardRun).state.cell.column, kRiverColumn);
  EXPECT_TRUE(f.ui.messages.empty()) << "the loader itself says nothing: the open says it once";
}

// Terms of another time step decide nothing either.
TEST(MissingFlowTerms, WithoutABudgetFileOrTermsOfTheTimeStepEveryCellIsASink) {
  for (const bool otherStep : {false, true}) {
    SCOPED_TRACE(otherStep ? "terms of another time step" : "no budget file");
    RiverChannel f;
    if (otherStep) {
      f.WriteBudget({{"RIVER LEAKAGE", {kRiverColumn, -35.0f}}, {"DRAINS", {kDrainColumn, -1.0f}}});
      f.state.CurrentStep = 2;
    }
    f.Decide(BoundaryCellRule::SinksByFlowSign);
    EXPECT_EQ(f.withoutFlowTerms, (PackageKeys{"DRN", "RIV"}));
    EXPECT_EQ(f.state.SINKCODE(kRiverColumn, 1, 1), kBoundarySink);
    EXPECT_EQ(f.state.SINKCODE(kDrainColumn, 1, 1), kBoundarySink);
  }
}

TEST(SinkCodes, CellsOfTwoPackagesCombine) {
  EXPECT_EQ(CombinedSinkCode(0, kOutflowCell), kOutflowCell);
  EXPECT_EQ(CombinedSinkCode(kInflowCell, 0), kInflowCell);
  EXPECT_EQ(CombinedSinkCode(kOutflowCell, kOutflowCell), kOutflowCell);
  EXPECT_EQ(CombinedSinkCode(kOutflowCell, kInflowCell), kBoundarySink);
  EXPECT_EQ(CombinedSinkCode(kBoundarySink, kInflowCell), kBoundarySink);
  for (const int direction : {1, -1}) {
    EXPECT_TRUE(StopsParticle(kBoundarySink, direction));
    EXPECT_FALSE(StopsParticle(0, direction));
  }
  EXPECT_TRUE(StopsParticle(kOutflowCell, 1));
  EXPECT_FALSE(StopsParticle(kOutflowCell, -1));
  EXPECT_TRUE(StopsParticle(kInflowCell, -1));
  EXPECT_FALSE(StopsParticle(kInflowCell, 1));
}

TEST(SinkCodes, APumpingWellBesideALosingRiverStopsBothWays) {
  RiverChannel f;
  std::vector<BoundaryPackage> packages = ChannelPackages();
  packages.push_back({"WEL", {{}, {{1, 1, kRiverColumn, -80.0f}}}});
  ImportedWith(f.state, std::move(packages));
  f.WriteBudget({{"WELLS", {kRiverColumn, -80.0f}}, {"RIVER LEAKAGE", {kRiverColumn, 35.0f}},
                 {"DRAINS", {kDrainColumn, 0.0f}}});
  f.Decide(BoundaryCellRule::SinksByFlowSign);
  EXPECT_EQ(f.state.SINKCODE(kRiverColumn, 1, 1), kBoundarySink);
}

}  // namespace
}  // namespace kestra
