#include "results/result_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

using test::BudgetTermHeader;
using test::GridPattern;
using test::LayerHeader;

constexpr int kColumns = 3;
constexpr int kRows = 2;
constexpr int kLayers = 2;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

ModelState ActiveModel(const test::TempDir& dir, int ncol, int nrow, int nlay) {
  return test::ActiveModel(dir.path().string(), ncol, nrow, nlay);
}

// One layer of heads per step, each step's heads given cell by cell (row 1 first).
void WriteHeadSteps(const std::string& path, const std::vector<std::vector<float>>& steps) {
  test::WriteResultFile(path, ResultFileFormat::Lahey, 4, [&](ResultFileWriter& writer) {
    for (std::size_t step = 0; step < steps.size(); ++step)
      writer.WriteLayer(LayerHeader(static_cast<int>(step) + 1, 1, 1, kColumns, kRows), steps[step]);
  });
}

// Layers of kColumns x kRows active cells whose result files the test writes.
template <int kModelLayers>
class ActiveLayers : public testing::Test {
 protected:
  bool ReadAll() { return ReadFlowTerms(state, test::FileSetArealTerms(state), ui, true); }

  test::TempDir dir;
  ModelState state = ActiveModel(dir, kColumns, kRows, kModelLayers);
  test::RecordingInterface ui;
};
using OneLayerModel = ActiveLayers<1>;
using TwoLayerModel = ActiveLayers<kLayers>;

// The boundary codes of layer 1, row 1 first.
std::vector<int> LayerOneCodes(const ModelState& state) {
  std::vector<int> codes;
  for (int i = 1; i <= kRows; ++i)
    for (int j = 1; j <= kColumns; ++j) codes.push_back(state.IBOUND(j, i, 1));
  return codes;
}

TEST_F(OneLayerModel, LoadHeadsDryCellTurnsInactiveAndARegularHeadLaterMakesItActiveAgain) {
  const Settings settings;
  state.IBOUND(3, 1, 1) = state.IBOUND0(3, 1, 1) = -1;  // fixed head
  state.IBOUND(1, 2, 1) = state.IBOUND0(1, 2, 1) = 0;   // inactive at open
  const float dry = settings.HDRY;
  WriteHeadSteps(state.HeadPath, {{dry, 2E+26f, dry, 7, 8, 9}, {11, 12, 13, 14, 15, 16}});
  ASSERT_TRUE(LoadHeads(state, settings, ui, true)) << ui.LastMessage();
  EXPECT_EQ(LayerOneCodes(state), (std::vector<int>{0, 0, 0, 0, 1, 1}));  // 2E+26 lies above 1E+25
  EXPECT_EQ(state.HEAD(1, 1, 1), dry);
  state.CurrentStep = 2;
  ASSERT_TRUE(LoadHeads(state, settings, ui, true)) << ui.LastMessage();
  EXPECT_EQ(state.HEAD(3, 2, 1), 16.0f);
  // A dried fixed-head cell comes back as an ordinary active cell; a cell
  // inactive at open stays inactive, even when the run's no-flow value
  // differs from the settings' HNOFLO.
  EXPECT_EQ(LayerOneCodes(state), (std::vector<int>{1, 1, 1, 0, 1, 1}));
}

TEST_F(OneLayerModel, LoadHeadsRegularHeadNeverChangesAFixedHeadCode) {
  state.IBOUND(2, 1, 1) = state.IBOUND0(2, 1, 1) = -1;
  state.IBOUND(3, 1, 1) = state.IBOUND0(3, 1, 1) = 5;
  WriteHeadSteps(state.HeadPath, {{1, 2, 3, 4, Settings{}.HNOFLO, 6}});
  ASSERT_TRUE(LoadHeads(state, Settings{}, ui, true));
  EXPECT_EQ(LayerOneCodes(state), (std::vector<int>{1, -1, 5, 1, 0, 1}));
}

TEST_F(OneLayerModel, LoadHeadsMissingFileIsReportedWithTheErrorIcon) {
  EXPECT_FALSE(LoadHeads(state, Settings{}, ui, true));
  EXPECT_FALSE(LoadDrawdowns(state, ui, true));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Could not find the head file: " + state.HeadPath);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui.messages[1].text, "Could not find the drawdown file: " + state.DrawdownPath);
  EXPECT_EQ(ui.messages[1].title, kApplicationTitle);
}

TEST_F(TwoLayerModel, LoadDrawdownsFillEveryLayerAndLeaveTheBoundaryCodes) {
  test::WriteResultFile(state.DrawdownPath, ResultFileFormat::PowerStation, 4, [](ResultFileWriter& writer) {
    for (int layer = 1; layer <= 2; ++layer)
      writer.WriteLayer(LayerHeader(1, 1, layer, kColumns, kRows, "DRAWDOWN"),
                        std::vector<float>(kColumns * kRows, Settings{}.HDRY + layer));
  });
  ASSERT_TRUE(LoadDrawdowns(state, ui, true)) << ui.LastMessage();
  EXPECT_EQ(state.DRAWDOWN(3, 2, 2), Settings{}.HDRY + 2);
  EXPECT_EQ(state.IBOUND(3, 2, 2), 1);
}

TEST(LoadHeads, CrossSectionModelReadsItsOneRecordPerStepLayerByLayer) {
  // With the option XSECTION MODFLOW writes one record per step: ILAY -1,
  // NROW counting layers, layer 1 first.
  constexpr int kSectionLayers = 3;
  test::TempDir dir;
  ModelState state = ActiveModel(dir, kColumns, 1, kSectionLayers);
  state.CurrentStep = 2;
  for (const ResultFileFormat format : {ResultFileFormat::Sequential, ResultFileFormat::Lahey}) {
    test::WriteResultFile(state.HeadPath, format, 4, [](ResultFileWriter& writer) {
      for (int step = 1; step <= 2; ++step)
        writer.WriteLayer(LayerHeader(step, 1, kSectionLayer, kColumns, kSectionLayers),
                          test::LayerPattern(kColumns, kSectionLayers, 1000.0f * step));
    });
    test::RecordingInterface ui;
    ASSERT_TRUE(LoadHeads(state, Settings{}, ui, true)) << ui.LastMessage();
    for (int k = 1; k <= kSectionLayers; ++k)
      for (int j = 1; j <= kColumns; ++j) EXPECT_EQ(state.HEAD(j, 1, k), 2000.0f + j + 100.0f * k) << j << "," << k;
    state.CurrentStep = 3;
    EXPECT_FALSE(LoadHeads(state, Settings{}, ui, true));
    EXPECT_EQ(ui.messages.size(), 1u);
    state.CurrentStep = 2;
  }
}

// Face flows and the given extra terms for steps 1..`steps` of period 1.
void WriteBudget(const std::string& path, int ncol, int nrow, int nlay, const std::vector<std::string>& extraTerms,
                 int steps = 1) {
  test::WriteResultFile(path, ResultFileFormat::Stream, 4, [&](ResultFileWriter& writer) {
    for (int step = 1; step <= steps; ++step) {
      std::vector<std::string> terms = {"CONSTANT HEAD"};
      if (ncol > 1) terms.push_back("FLOW RIGHT FACE");
      if (nrow > 1) terms.push_back("FLOW FRONT FACE");
      if (nlay > 1) terms.push_back("FLOW LOWER FACE");
      terms.insert(terms.end(), extraTerms.begin(), extraTerms.end());
      float base = 1000.0f * step;
      for (const auto& term : terms)
        writer.WriteBudgetArray(BudgetTermHeader(step, 1, term, ncol, nrow, nlay),
                                GridPattern(ncol, nrow, nlay, base += 100000));
    }
  });
}

TEST_F(TwoLayerModel, ReadFlowTermsEvapotranspirationBeforeRechargeLoadsBoth) {
  for (const auto& order : {std::vector<std::string>{"WELLS", "ET", "HEAD DEP BOUNDS", "RECHARGE"},
                            std::vector<std::string>{"RECHARGE", "DRAINS", "ET"}}) {
    state = ActiveModel(dir, kColumns, kRows, kLayers);
    state.DataFlags(3, 5) = 2;
    state.DataFlags(3, 7) = 2;
    WriteBudget(state.BudgetPath, kColumns, kRows, kLayers, order);
    ASSERT_TRUE(ReadAll()) << ui.LastMessage();
    EXPECT_TRUE(state.flowTermsLoaded);
    EXPECT_FALSE(ui.hourglassOn);
    // CONSTANT HEAD took base + 100000, the terms after it each 100000 more.
    const auto firstValue = [](int termNumber) { return 1000.0f + 100000.0f * termNumber + 10000 + 101; };
    EXPECT_EQ(state.QRIGHT(1, 1, 1), firstValue(2));
    EXPECT_EQ(state.QLOWER(1, 1, 1), firstValue(4));
    const auto at = [&](const std::string& term) {
      return static_cast<int>(std::find(order.begin(), order.end(), term) - order.begin()) + 5;
    };
    EXPECT_EQ(state.QET(1, 1, 1), firstValue(at("ET")));
    EXPECT_EQ(state.QRECH(1, 1, 1), firstValue(at("RECHARGE")));
  }
}

TEST_F(OneLayerModel, ReadFlowTermsOneRowModelNeedsOnlyTheRightFaceTerm) {
  state = ActiveModel(dir, kColumns, 1, 1);
  WriteBudget(state.BudgetPath, kColumns, 1, 1, {});
  ASSERT_TRUE(ReadAll()) << ui.LastMessage();
  EXPECT_NE(state.QRIGHT(1, 1, 1), 0.0f);
}

TEST_F(OneLayerModel, ReadFlowTermsLoadedFlagIsSetOnlyWhenEveryTermWasReadAndTheNextCallTriesAgain) {
  state.DataFlags(3, 5) = 2;
  WriteBudget(state.BudgetPath, kColumns, kRows, 1, {"RECHARGE"});
  EXPECT_FALSE(ReadAll());
  EXPECT_FALSE(state.flowTermsLoaded);
  EXPECT_EQ(ui.LastMessage(), "Could not find the budget data of time step 1, stress period 1");
  WriteBudget(state.BudgetPath, kColumns, kRows, 1, {"ET"});
  EXPECT_TRUE(ReadAll());
  EXPECT_TRUE(state.flowTermsLoaded);
}

TEST_F(OneLayerModel, ReadFlowTermsSecondCallForTheSameStepReadsNothing) {
  WriteBudget(state.BudgetPath, kColumns, kRows, 1, {});
  ASSERT_TRUE(ReadAll());
  std::filesystem::remove(state.BudgetPath);
  EXPECT_TRUE(ReadAll());
  EXPECT_TRUE(ui.messages.empty());
  state.flowTermsLoaded = false;
  EXPECT_FALSE(ReadAll());
  EXPECT_EQ(ui.LastMessage(), "Could not find the budget file: " + state.BudgetPath);
  EXPECT_EQ(ui.messages.back().icon, MessageIcon::Error);
}

TEST_F(OneLayerModel, ReadFlowTermsReadsOnlyTheArealTermsItIsAskedFor) {
  state.QRECH(1, 1, 1) = 0.5f;
  WriteBudget(state.BudgetPath, kColumns, kRows, 1, {"ET", "RECHARGE"});
  ASSERT_TRUE(ReadFlowTerms(state, {.recharge = false, .evapotranspiration = true}, ui, true)) << ui.LastMessage();
  EXPECT_EQ(state.QRECH(1, 1, 1), 0.5f);
  EXPECT_NE(state.QET(1, 1, 1), 0.0f);
}

TEST_F(OneLayerModel, ReadFlowTermsLaterStepIsFoundPastTheEarlierOnes) {
  WriteBudget(state.BudgetPath, kColumns, kRows, 1, {}, 3);
  state.CurrentStep = 3;
  ASSERT_TRUE(ReadAll()) << ui.LastMessage();
  EXPECT_EQ(state.QFRONT(1, 1, 1), 3000.0f + 300000 + 10000 + 101);
}

// Result files holding NaN or infinite values: MODFLOW never writes them, and
// a velocity or travel time computed from one means nothing, so the readers
// refuse them and say in which file, record and cell they lie.

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Both layers of time step 1; cell (column 2, row 2) of layer 2 holds `bad`.
void WriteLayers(const std::string& path, const std::string& text, float bad) {
  test::WriteResultFile(path, ResultFileFormat::Lahey, 4, [&](ResultFileWriter& writer) {
    for (int layer = 1; layer <= kLayers; ++layer) {
      std::vector<float> values = test::LayerPattern(kColumns, kRows, 10);
      if (layer == 2) values[kColumns + 1] = bad;
      writer.WriteLayer(test::LayerHeader(1, 1, layer, kColumns, kRows, text), values);
    }
  });
}

TEST_F(TwoLayerModel, NonFiniteHeadsAndDrawdownsAreRefusedNamingFileLayerAndCellWhileHdryIsNoDamage) {
  for (const float bad : {kNaN, kInfinity, -kInfinity}) {
    SCOPED_TRACE(bad);
    state = ActiveModel(dir, kColumns, kRows, kLayers);
    WriteLayers(state.HeadPath, "HEAD", bad);
    WriteLayers(state.DrawdownPath, "DRAWDOWN", bad);
    EXPECT_FALSE(LoadHeads(state, Settings{}, ui, true));
    const std::string expected = " holds a value that is not a finite number in the head record of layer 2 of time "
                                 "step 1, stress period 1 (column 2, row 2, layer 2)";
    EXPECT_TRUE(Contains(ui.LastMessage(), "The head file " + state.HeadPath + expected)) << ui.LastMessage();
    EXPECT_FALSE(LoadDrawdowns(state, ui, true));
    EXPECT_TRUE(Contains(ui.LastMessage(), "The drawdown file " + state.DrawdownPath)) << ui.LastMessage();
    EXPECT_TRUE(Contains(ui.LastMessage(), "the drawdown record of layer 2")) << ui.LastMessage();
  }
  state = ActiveModel(dir, kColumns, kRows, kLayers);
  WriteLayers(state.HeadPath, "HEAD", -1.0E+30f);  // HDRY: a dry cell, not damage
  EXPECT_TRUE(LoadHeads(state, Settings{}, ui, true)) << ui.LastMessage();
  EXPECT_EQ(state.IBOUND(2, 2, 2), 0);
}

// The face flows of step 1, the cell (column 3, row 1, layer 2) of the front
// face flows holding `bad`.
void WriteFaceFlows(ResultFileWriter& writer, float bad) {
  for (const char* term : {"FLOW RIGHT FACE", "FLOW FRONT FACE", "FLOW LOWER FACE"}) {
    std::vector<float> values = test::GridPattern(kColumns, kRows, kLayers, 1);
    if (std::string(term) == "FLOW FRONT FACE") values[kColumns * kRows + 2] = bad;
    writer.WriteBudgetArray(test::BudgetTermHeader(1, 1, term, kColumns, kRows, kLayers), values);
  }
}

TEST_F(TwoLayerModel, NonFiniteBudgetTermsAndListValuesAreRefusedNamingFileTermAndCell) {
  for (const float bad : {kNaN, kInfinity}) {
    SCOPED_TRACE(bad);
    test::WriteResultFile(state.BudgetPath, ResultFileFormat::Stream, 4,
                          [&](ResultFileWriter& writer) { WriteFaceFlows(writer, bad); });
    EXPECT_FALSE(ReadAll());
    EXPECT_FALSE(state.flowTermsLoaded);
    EXPECT_TRUE(Contains(ui.LastMessage(), "The budget file " + state.BudgetPath +
                                               " holds a value that is not a finite number in the term FLOW FRONT "
                                               "FACE of time step 1, stress period 1 (column 3, row 1, layer 2)"))
        << ui.LastMessage();
  }
  // Values given as a list are checked too.
  state.DataFlags(3, 5) = 2;  // the model simulates evapotranspiration
  test::WriteResultFile(state.BudgetPath, ResultFileFormat::Stream, 4, [&](ResultFileWriter& writer) {
    WriteFaceFlows(writer, 1);
    BudgetHeader et = test::BudgetTermHeader(1, 1, "ET", kColumns, kRows, kLayers);
    et.compact = true;
    et.method = kList;
    et.DELT = et.PERTIM = et.TOTIM = 1;
    const std::vector<BudgetListEntry> entries = {{4, -1.0f, {}}, {5, kNaN, {}}};
    writer.WriteBudgetList(et, {}, entries);
  });
  EXPECT_FALSE(ReadAll());
  EXPECT_TRUE(Contains(ui.LastMessage(), "the term ET of time step 1, stress period 1 (column 2, row 2, layer 1)"))
      << ui.LastMessage();
}

}  // namespace
}  // namespace kestra
