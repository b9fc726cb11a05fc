// The MODFLOW-2005 runs of the shared test data, read in every layout they
// are stored in: the stream files MODFLOW wrote are the ground truth.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "results/result_files.h"
#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

struct ResultPaths {
  std::string folder;
  std::string heads;
  std::string drawdowns;
  std::string budget;
  ResultFileFormat format;
};

const std::vector<std::string> kModels = {"uniform1", "mixed3d", "transient2"};

std::vector<ResultPaths> PathsOf(const std::string& model) {
  const std::string base = (test::TestDataDir() / model).string() + "/";
  const auto named = [&](const std::string& folder, ResultFileFormat format) {
    return ResultPaths{folder, base + folder + "/" + model + ".hds", base + folder + "/" + model + ".ddn",
                       base + folder + "/" + model + ".cbc", format};
  };
  const auto legacy = [&](const std::string& folder, ResultFileFormat format) {
    return ResultPaths{folder, base + folder + "/HEADS.DAT", base + folder + "/DDOWN.DAT",
                       base + folder + "/BUDGET.DAT", format};
  };
  return {named("modflow", ResultFileFormat::Stream), legacy("lahey", ResultFileFormat::Lahey),
          legacy("powerstation", ResultFileFormat::PowerStation), named("namefile", ResultFileFormat::Lahey)};
}

std::vector<LayerResultHeader> LayerHeadersOf(const std::string& path) {
  ResultFile result;
  EXPECT_EQ(OpenLayerResultFile(path, result), ResultFileOpening::Opened) << path;
  std::vector<LayerResultHeader> headers;
  LayerResultHeader header;
  RecordSpan data;
  for (std::int64_t offset = result.layout->FirstRecordOffset();
       ReadLayerHeader(result, offset, header) == RecordRead::Read && LocateLayerData(result, header, data);
       offset = data.end)
    headers.push_back(header);
  EXPECT_EQ(data.end, result.file.Size()) << path;
  return headers;
}

std::vector<BudgetHeader> BudgetHeadersOf(const std::string& path) {
  ResultFile result;
  EXPECT_EQ(OpenBudgetFile(path, result), ResultFileOpening::Opened) << path;
  std::vector<BudgetHeader> headers;
  BudgetHeader header;
  std::int64_t offset = result.layout->FirstRecordOffset();
  while (ReadBudgetHeader(result, offset, header) == RecordRead::Read && SkipBudgetData(result, header, offset))
    headers.push_back(header);
  EXPECT_EQ(offset, result.file.Size()) << path;
  return headers;
}

TEST(RealResultFiles, EveryLayoutGivesTheSameHeadsDrawdownsAndBudgetTermsInEveryCell) {
  test::RecordingInterface ui;
  for (const auto& model : kModels) {
    const auto all = PathsOf(model);
    for (const ResultKind kind : {ResultKind::Heads, ResultKind::Drawdowns}) {
      const auto truthPath = kind == ResultKind::Heads ? all[0].heads : all[0].drawdowns;
      const auto headers = LayerHeadersOf(truthPath);
      ASSERT_FALSE(headers.empty());
      for (const auto& header : headers) {
        const LayerResultQuery query{kind, header.KSTP, header.KPER, header.ILAY, header.NCOL, header.NROW};
        std::vector<float> truth;
        std::int64_t position = kFirstRecordPosition;
        ASSERT_TRUE(ReadLayerResult(query, truthPath, truth, position, ui, true)) << ui.LastMessage();
        for (const auto& paths : all) {
          std::vector<float> values;
          position = kFirstRecordPosition;
          const auto path = kind == ResultKind::Heads ? paths.heads : paths.drawdowns;
          ASSERT_TRUE(ReadLayerResult(query, path, values, position, ui, true)) << path << ui.LastMessage();
          EXPECT_EQ(values, truth) << path << " step " << header.KSTP << " period " << header.KPER;
        }
      }
    }
    for (const auto& header : BudgetHeadersOf(all[0].budget)) {
      // The whole TEXT as the label, so that "ET" cannot match another term.
      const BudgetTermQuery query{header.KSTP, header.KPER, header.TEXT, header.NCOL, header.NROW, header.NLAY};
      CellArray<float> truth;
      std::int64_t position = kFirstRecordPosition;
      ASSERT_TRUE(ReadBudgetTerm(query, all[0].budget, truth, position, ui, true)) << ui.LastMessage();
      for (const auto& paths : all) {
        CellArray<float> values;
        position = kFirstRecordPosition;
        ASSERT_TRUE(ReadBudgetTerm(query, paths.budget, values, position, ui, true)) << paths.budget;
        EXPECT_EQ(values, truth) << paths.budget << " " << header.TEXT << " step " << header.KSTP;
      }
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

// Writes a new file each time: rewriting one in place would make the file
// system flush it to disk at every close.
void WriteNewFile(const std::string& path, const std::string& contents) {
  std::filesystem::remove(path);
  test::WriteWholeFile(path, contents);
}

// A model state for the run, as the open would leave it: every cell active.
ModelState StateFor(const ResultPaths& paths, const LayerResultHeader& grid, int nlay) {
  ModelState state = test::ActiveModel("", grid.NCOL, grid.NROW, nlay);
  state.HeadPath = paths.heads;
  state.DrawdownPath = paths.drawdowns;
  state.BudgetPath = paths.budget;
  state.DataFlags(3, 5) = 2;
  state.DataFlags(3, 7) = 2;
  return state;
}

// Every cut of a real file fails with one message and never reads outside it.
TEST(RealResultFiles, TruncatedFilesFailCleanlyWithAMessage) {
  test::TempDir dir;
  for (const auto& paths : PathsOf("transient2")) {
    const std::string heads = test::ReadWholeFile(paths.heads);
    const std::string budget = test::ReadWholeFile(paths.budget);
    const auto steps = LayerHeadersOf(paths.heads);
    const auto& last = steps.back();
    for (std::size_t cut = 0; cut < budget.size(); cut += cut < 120 ? 1 : 97) {
      test::RecordingInterface ui;
      ModelState state = StateFor(paths, last, 2);
      state.DataFlags(3, 5) = 0;
      state.CurrentStep = last.KSTP;
      state.CurrentPeriod = last.KPER;
      state.BudgetPath = dir.File("cut.cbc");
      state.HeadPath = dir.File("cut.hds");
      WriteNewFile(state.BudgetPath, budget.substr(0, cut));
      EXPECT_FALSE(ReadFlowTerms(state, test::FileSetArealTerms(state), ui, true)) << paths.folder << " cut at " << cut;
      EXPECT_EQ(ui.messages.size(), 1u) << paths.folder << " cut at " << cut;
      if (cut < heads.size()) {
        WriteNewFile(state.HeadPath, heads.substr(0, cut));
        EXPECT_FALSE(LoadHeads(state, Settings{}, ui, true)) << paths.folder << " cut at " << cut;
        EXPECT_EQ(ui.messages.size(), 2u) << paths.folder << " cut at " << cut;
      }
    }
  }
}

// Any byte of a real file overwritten: the read succeeds or fails with one
// message, and never reads outside the file.
TEST(RealResultFiles, OverwrittenBytesNeverGoUnreported) {
  test::TempDir dir;
  for (const auto& paths : PathsOf("mixed3d")) {
    const std::string budget = test::ReadWholeFile(paths.budget);
    const auto grid = LayerHeadersOf(paths.heads).front();
    for (std::size_t at = 0; at < budget.size(); at += at < 100 ? 1 : 389) {
      for (const char value : {char(0), char(0xFF)}) {
        std::string damaged = budget;
        damaged[at] = value;
        test::RecordingInterface ui;
        ModelState state = StateFor(paths, grid, 3);
        state.BudgetPath = dir.File("damaged.cbc");
        WriteNewFile(state.BudgetPath, damaged);
        const bool read = ReadFlowTerms(state, test::FileSetArealTerms(state), ui, true);
        EXPECT_EQ(ui.messages.size(), read ? 0u : 1u) << paths.folder << " byte " << at;
      }
    }
  }
}

}  // namespace
}  // namespace kestra
