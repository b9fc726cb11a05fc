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

// Where a particle released in the middle of a cell ends, and why.
struct TrackedEnd {
  int column;
  TrackMode mode;
  TrackEnd end;
  int endColumn;
};

// The budget terms of the time step (none: no budget file) and what the rule makes of them.
struct BudgetCase {
  const char* what;
  std::map<std::string, std::pair<int, float>> terms;
  int budgetStep;
  BoundaryCellRule rule;
  PackageKeys withoutFlowTerms;
  std::int16_t riverCode, drainCode;
  std::vector<TrackedEnd> ends;
};

constexpr TrackMode kForward = TrackMode::ForwardRun, kBackward = TrackMode::BackwardRun;

class BudgetTerms : public testing::TestWithParam<Layout> {};

TEST_P(BudgetTerms, DecideWhichBoundaryCellsEndTheParticles) {
  const BudgetCase cases[] = {
      // The water at cell 8 came in through the river.
      {"a losing river lets forward particles pass and ends backward ones",
       {{"RIVER LEAKAGE", {kRiverColumn, 35.0f}}, {"DRAINS", {kDrainColumn, 0.0f}}}, 1,
       BoundaryCellRule::SinksByFlowSign, {}, kInflowCell, 0,
       {{2, kForward, TrackEnd::NoExitFromSink, kColumns}, {8, kBackward, TrackEnd::EnteredSinkCell, kRiverColumn},
        {6, kForward, TrackEnd::NoExitFromSink, kColumns}}},
      // Backward, the closed face of column 1 at the grid edge: the reversed flow dies out in it.
      {"a gaining river ends forward particles and lets backward ones pass",
       {{"RIVER LEAKAGE", {kRiverColumn, -35.0f}}, {"DRAINS", {kDrainColumn, 0.0f}}}, 1,
       BoundaryCellRule::SinksByFlowSign, {}, kOutflowCell, 0,
       {{2, kForward, TrackEnd::EnteredSinkCell, kRiverColumn}, {8, kBackward, TrackEnd::CannotLeaveCell, 1}}},
      {"a draining drain captures",
       {{"RIVER LEAKAGE", {kRiverColumn, 35.0f}}, {"DRAINS", {kDrainColumn, -12.5f}}}, 1,
       BoundaryCellRule::SinksByFlowSign, {}, kInflowCell, kOutflowCell,
       {{6, kForward, TrackEnd::EnteredSinkCell, kDrainColumn}}},
      {"all boundary cells are sinks whatever their flow: nothing is missed",
       {{"RIVER LEAKAGE", {kRiverColumn, 35.0f}}, {"DRAINS", {kDrainColumn, 0.0f}}}, 1, BoundaryCellRule::AllAreSinks,
       {}, kBoundarySink, kBoundarySink,
       {{2, kForward, TrackEnd::EnteredSinkCell, kRiverColumn}, {6, kForward, TrackEnd::EnteredSinkCell, kDrainColumn},
        {8, kBackward, TrackEnd::EnteredSinkCell, kDrainColumn}}},
      {"a package without budget term keeps every cell a sink", {{"DRAINS", {kDrainColumn, 0.0f}}}, 1,
       BoundaryCellRule::SinksByFlowSign, {"RIV"}, kBoundarySink, 0,
       {{2, kForward, TrackEnd::EnteredSinkCell, kRiverColumn},
        {8, kBackward, TrackEnd::EnteredSinkCell, kRiverColumn}}},
      {"no budget file", {}, 1, BoundaryCellRule::SinksByFlowSign, {"DRN", "RIV"}, kBoundarySink, kBoundarySink, {}},
      {"terms of another time step decide nothing either",
       {{"RIVER LEAKAGE", {kRiverColumn, -35.0f}}, {"DRAINS", {kDrainColumn, -1.0f}}}, 2,
       BoundaryCellRule::SinksByFlowSign, {"DRN", "RIV"}, kBoundarySink, kBoundarySink, {}},
  };
  for (const BudgetCase& c : cases) {
    SCOPED_TRACE(c.what);
    RiverChannel f;
    if (!c.terms.empty()) f.WriteBudget(c.terms, GetParam());
    f.state.CurrentStep = c.budgetStep;
    f.Decide(c.rule);
    EXPECT_EQ(f.withoutFlowTerms, c.withoutFlowTerms);
    EXPECT_EQ(f.state.SINKCODE(kRiverColumn, 1, 1), c.riverCode);
    EXPECT_EQ(f.state.SINKCODE(kDrainColumn, 1, 1), c.drainCode);
    for (const TrackedEnd& e : c.ends) {
      const test::RecordedEnd end = f.Track(e.column, e.mode);
      EXPECT_EQ(end.end, e.end) << "from column " << e.column;
      EXPECT_EQ(end.state.cell.column, e.endColumn) << "from column " << e.column;
    }
    EXPECT_TRUE(f.ui.messages.empty()) << "the loader itself says nothing: the open says it once";
  }
}

INSTANTIATE_TEST_SUITE_P(BudgetLayouts, BudgetTerms, testing::Values(Layout::FullArrays, Layout::CompactLists));

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
