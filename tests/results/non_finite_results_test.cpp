// Result files holding NaN or infinite values: MODFLOW never writes them, and
// a velocity or travel time computed from one means nothing, so the readers
// refuse them and say in which file, record and cell they lie.
#include <gtest/gtest.h>

#include <limits>

#include "results/result_files.h"
#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr int kColumns = 3;
constexpr int kRows = 2;
constexpr int kLayers = 2;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

ModelState ActiveModel(const test::TempDir& dir) { return test::ActiveModel(dir.path().string(), kColumns, kRows, kLayers); }

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

TEST(NonFiniteResults, HeadsAndDrawdownsAreRefusedNamingFileLayerAndCell) {
  for (const float bad : {kNaN, kInfinity, -kInfinity}) {
    SCOPED_TRACE(bad);
    test::TempDir dir;
    ModelState state = ActiveModel(dir);
    WriteLayers(state.HeadPath, "HEAD", bad);
    WriteLayers(state.DrawdownPath, "DRAWDOWN", bad);
    test::RecordingInterface ui;
    EXPECT_FALSE(LoadHeads(state, Settings{}, ui, true));
    const std::string expected = " holds a value that is not a finite number in the head record of layer 2 of time "
                                 "step 1, stress period 1 (column 2, row 2, layer 2)";
    EXPECT_TRUE(Contains(ui.LastMessage(), "The head file " + state.HeadPath + expected)) << ui.LastMessage();
    EXPECT_FALSE(LoadDrawdowns(state, ui, true));
    EXPECT_TRUE(Contains(ui.LastMessage(), "The drawdown file " + state.DrawdownPath)) << ui.LastMessage();
    EXPECT_TRUE(Contains(ui.LastMessage(), "the drawdown record of layer 2")) << ui.LastMessage();
  }
}

TEST(NonFiniteResults, AFiniteFileStillLoads) {
  test::TempDir dir;
  ModelState state = ActiveModel(dir);
  WriteLayers(state.HeadPath, "HEAD", -1.0E+30f);  // HDRY: a dry cell, not damage
  test::RecordingInterface ui;
  EXPECT_TRUE(LoadHeads(state, Settings{}, ui, true)) << ui.LastMessage();
  EXPECT_EQ(state.IBOUND(2, 2, 2), 0);
}

// The face flows of step 1, the cell (column 3, row 1, layer 2) of the front
// face flows holding `bad`.
void WriteBudgetWith(const std::string& path, float bad) {
  test::WriteResultFile(path, ResultFileFormat::Stream, 4, [&](ResultFileWriter& writer) {
    for (const char* term : {"FLOW RIGHT FACE", "FLOW FRONT FACE", "FLOW LOWER FACE"}) {
      std::vector<float> values = test::GridPattern(kColumns, kRows, kLayers, 1);
      if (std::string(term) == "FLOW FRONT FACE") values[kColumns * kRows + 2] = bad;
      writer.WriteBudgetArray(test::BudgetTermHeader(1, 1, term, kColumns, kRows, kLayers), values);
    }
  });
}

TEST(NonFiniteResults, BudgetTermsAreRefusedNamingFileTermAndCell) {
  for (const float bad : {kNaN, kInfinity}) {
    SCOPED_TRACE(bad);
    test::TempDir dir;
    ModelState state = ActiveModel(dir);
    WriteBudgetWith(state.BudgetPath, bad);
    test::RecordingInterface ui;
    EXPECT_FALSE(ReadFlowTerms(state, test::FileSetArealTerms(state), ui, true));
    EXPECT_FALSE(state.flowTermsLoaded);
    EXPECT_TRUE(Contains(ui.LastMessage(), "The budget file " + state.BudgetPath +
                                               " holds a value that is not a finite number in the term FLOW FRONT "
                                               "FACE of time step 1, stress period 1 (column 3, row 1, layer 2)"))
        << ui.LastMessage();
  }
}

TEST(NonFiniteResults, ListTermsAreCheckedToo) {
  test::TempDir dir;
  ModelState state = ActiveModel(dir);
  state.DataFlags(3, 5) = 2;  // the model simulates evapotranspiration
  test::WriteResultFile(state.BudgetPath, ResultFileFormat::Stream, 4, [&](ResultFileWriter& writer) {
    for (const char* term : {"FLOW RIGHT FACE", "FLOW FRONT FACE", "FLOW LOWER FACE"})
      writer.WriteBudgetArray(test::BudgetTermHeader(1, 1, term, kColumns, kRows, kLayers),
                              test::GridPattern(kColumns, kRows, kLayers, 1));
    BudgetHeader et = test::BudgetTermHeader(1, 1, "ET", kColumns, kRows, kLayers);
    et.compact = true;
    et.method = kList;
    et.DELT = et.PERTIM = et.TOTIM = 1;
    const std::vector<BudgetListEntry> entries = {{4, -1.0f, {}}, {5, kNaN, {}}};
    writer.WriteBudgetList(et, {}, entries);
  });
  test::RecordingInterface ui;
  EXPECT_FALSE(ReadFlowTerms(state, test::FileSetArealTerms(state), ui, true));
  EXPECT_TRUE(Contains(ui.LastMessage(), "the term ET of time step 1, stress period 1 (column 2, row 2, layer 1)"))
      << ui.LastMessage();
}

}  // namespace
}  // namespace kestra
