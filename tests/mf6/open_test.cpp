#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "core/sink_codes.h"
#include "session/time_step_results.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct OpenedExample {
  test::TempDir copy;  // the open writes the layer property file beside the model
  Session session;
  cli::CollectingInterface ui;
  bool opened = false;
};

std::unique_ptr<OpenedExample> Open(const std::string& example, const std::string& file) {
  auto opened = std::make_unique<OpenedExample>();
  const std::string path = test::CopySharedRun(opened->copy, "usgs", example, file);
  opened->opened = cli::OpenBatchModel(path, opened->session, opened->ui);
  return opened;
}

std::string Info(const std::string& example) {
  test::TempDir copy;
  std::ostringstream out, err;
  const std::string path = test::CopySharedRun(copy, "usgs", example, "mfsim.nam");
  EXPECT_EQ(cli::RunCommandLine({"info", path}, out, err), 0) << err.str();
  return out.str();
}

TEST(Mf6Open, InfoOfTheExamples) {
  const std::pair<const char*, std::vector<const char*>> examples[] = {
      {"ex01_mf6",
       {"(MODFLOW 6 simulation, model ex01_mf6)\n", "grid: 20 columns, 21 rows, 3 layers\n", "layer types: 3 0 0\n",
        "porosity: .1, .1, .1\n", "ex01_mf6.bud (stream, 8-byte reals)\n",
        // The well; the 21 river cells take their water out through the top
        // face (IFACE 6), so they are no internal sinks.
        "cells: active 1260, inactive 0, fixed head 0, sinks 1\n"}},
      {"ex03_mf6",
       {"stress periods: 3 (time unit days), 12 time steps\n",
        "  period 2: length 36500, 10 time steps, multiplier 1.5\n"}},
  };
  for (const auto& [example, lines] : examples) {
    const std::string text = Info(example);
    for (const char* line : lines) EXPECT_TRUE(Contains(text, line)) << example << ": " << line << text;
    EXPECT_TRUE(Contains(text, "loaded: heads yes, drawdowns no, flow terms yes, velocities yes\n")) << text;
    EXPECT_TRUE(Contains(text, "messages: 0\n")) << text;
  }
}

TEST(Mf6Open, TheModelOptionPicksOneOfSeveralGwfModels) {
  test::TempDir copy;
  const std::string path = test::CopySharedRun(copy, "usgs", "ex01_mf6", "mfsim.nam");
  std::filesystem::copy_file(copy.File("ex01_mf6.nam"), copy.File("second.nam"));
  std::string simulation = test::ReadWholeFile(path);
  simulation.insert(simulation.find("END Models"), "  GWF6  second.nam  second\n");
  test::WriteWholeFile(path, simulation);
  const auto info = [&](cli::Arguments args, int status) {
    std::ostringstream out, err;
    args.insert(args.begin(), "info");
    EXPECT_EQ(cli::RunCommandLine(args, out, err), status) << out.str() << err.str();
    return out.str() + err.str();
  };
  std::string text = info({path}, 0);
  EXPECT_TRUE(Contains(text, "(MODFLOW 6 simulation, model ex01_mf6)\n")) << text;
  EXPECT_TRUE(Contains(text, "2 GWF models (ex01_mf6, second); the first, ex01_mf6, is opened.")) << text;
  text = info({"--model", "SECOND", path}, 0);
  EXPECT_TRUE(Contains(text, "(MODFLOW 6 simulation, model second)\n")) << text;
  EXPECT_FALSE(Contains(text, "is opened.")) << text;
  EXPECT_TRUE(Contains(info({path, "--model", "third"}, 1), "the simulation holds no GWF model named third."));
  EXPECT_TRUE(Contains(info({path, "--model"}, 2), "--model needs the name of a GWF model"));
}

// The same model run by MODFLOW-2005 and MODFLOW 6: the face flows agree to
// the solvers' convergence (heads differ by up to 1e-3 ft), whatever the
// budget layout, and recharge is the volume per day of each top cell.
TEST(Mf6Open, FaceFlowsMatchTheModflow2005RunOfTheSameModel) {
  const auto mf6 = Open("ex01_mf6", "mfsim.nam");
  const auto mf2005 = Open("ex01_mf2005", "ex01_mf2005.nam");
  ASSERT_TRUE(mf6->opened && mf2005->opened);
  const ModelState& a = mf6->session.model;
  const ModelState& b = mf2005->session.model;
  ASSERT_TRUE(a.flowTermsLoaded && b.flowTermsLoaded);
  double largest = 0, worst = 0;
  for (const auto term : {&ModelState::QRIGHT, &ModelState::QFRONT, &ModelState::QLOWER})
    for (std::size_t n = 0; n < (a.*term).values.size(); ++n) {
      largest = std::max(largest, std::abs(double((b.*term).values[n])));
      worst = std::max(worst, std::abs(double((a.*term).values[n]) - (b.*term).values[n]));
    }
  EXPECT_GT(largest, 1e4);
  EXPECT_LT(worst, 2e-3 * largest);
  // Recharge and the river carry IFACE 6: their flows cross the top face.
  EXPECT_EQ(a.QRECH(4, 5, 1), 0.0f);
  const FaceFlows* recharged = a.ArealFaceFlows.Of(a.Shape(), 4, 5, 1);
  ASSERT_NE(recharged, nullptr);
  EXPECT_DOUBLE_EQ((*recharged)[5], 0.005 * 500 * 500);
  EXPECT_EQ(a.SINKCODE(10, 11, 3), kOutflowCell);  // the well
  EXPECT_NE(a.SINKCODE(20, 7, 1), kOutflowCell);   // a river cell
  const FaceFlows* river = a.BoundaryFaceFlows.Of(a.Shape(), 20, 7, 1);
  ASSERT_NE(river, nullptr);
  EXPECT_LT((*river)[5], 0.0);
}

std::vector<std::vector<std::string>> CsvRows(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::stringstream fieldsOf(line);
    for (std::string field; std::getline(fieldsOf, field, ',');) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

TEST(Mf6Open, TrackedEndPointsMatchTheModflow2005Run) {
  test::TempDir dir;
  const std::string particles = (test::TestDataDir() / "usgs/ex01_mf2005/ex01a_mf2005.kestra.par").string();
  std::string ends[2];
  const char* models[2][2] = {{"ex01_mf2005", "ex01_mf2005.nam"}, {"ex01_mf6", "mfsim.nam"}};
  for (int m = 0; m < 2; ++m) {
    test::TempDir copy;
    ends[m] = dir.File(std::string(models[m][0]) + ".csv");
    std::ostringstream out, err;
    ASSERT_EQ(cli::RunCommandLine({"track", test::CopySharedRun(copy, "usgs", models[m][0], models[m][1]),
                                   "--particles", particles, "--endpoints", ends[m], "--forward", "--quiet"},
                                  out, err),
              0)
        << err.str();
  }
  const auto mf2005 = CsvRows(ends[0]);
  const auto mf6 = CsvRows(ends[1]);
  ASSERT_EQ(mf2005.size(), 22u);  // the header and 21 particles
  ASSERT_EQ(mf6.size(), mf2005.size());
  constexpr int kFinalColumn = 8, kFinalLayer = 10, kX = 14, kZ = 16, kTime = 17, kEnd = 18;
  for (std::size_t p = 1; p < mf2005.size(); ++p) {
    for (int field : {kFinalColumn, kFinalColumn + 1, kFinalLayer, kEnd}) EXPECT_EQ(mf6[p][field], mf2005[p][field]) << p;
    for (int field = kX; field <= kZ; ++field)  // feet, in a grid 10 000 ft wide
      EXPECT_NEAR(std::stod(mf6[p][field]), std::stod(mf2005[p][field]), 10.0) << p;
    EXPECT_NEAR(std::stod(mf6[p][kTime]) / std::stod(mf2005[p][kTime]), 1.0, 2e-3) << p;
  }
}

TEST(Mf6Open, TransientStepsLoadTheirOwnFlowsAndWells) {
  auto example = Open("ex03_mf6", "mfsim.nam");
  ASSERT_TRUE(example->opened);
  ModelState& model = example->session.model;
  EXPECT_EQ(model.SINKCODE(10, 11, 1), 0);  // no wells in period 1
  const float steadyFlow = model.QRIGHT(9, 11, 1);
  model.CurrentPeriod = 2;
  model.CurrentStep = 10;
  const LoadStatus loaded = LoadTimeStepResults(model, example->session.settings, example->session.tracking,
                                                example->ui, StepResults::All);
  EXPECT_TRUE(loaded.headsLoaded);
  EXPECT_TRUE(model.flowTermsLoaded);
  EXPECT_EQ(model.SINKCODE(10, 11, 1), kOutflowCell);
  EXPECT_EQ(model.SINKCODE(5, 13, 3), kOutflowCell);
  EXPECT_NE(model.QRIGHT(9, 11, 1), steadyFlow);
  EXPECT_TRUE(example->ui.messages.empty());
}

}  // namespace
}  // namespace kestra
