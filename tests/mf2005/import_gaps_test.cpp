// What a MODFLOW-2005 import does with packages beyond the basic ones:
// evapotranspiration computed when the budget holds none, constant heads,
// packages not read, and name files of other MODFLOW versions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "mf2005/model.h"
#include "mf2005/name_file_kinds.h"
#include "session/open_model.h"
#include "support/mf2005_writer.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

// A name file imported into a session of its own.
struct Import {
  explicit Import(const std::string& nameFile) : ok(ImportNameFile(nameFile, session, ui, views)) {}
  Session session;
  test::RecordingInterface ui;
  NoViews views;
  bool ok;
};

TEST(Mf2005Evapotranspiration, WithoutABudgetTermItIsComputedAsModflowComputedIt) {
  // mixed3d saves its ET to the budget file; with IEVTCB 0 the same flows
  // must come from the EVT package and the heads.
  test::TempDir fromBudget;
  test::TempDir fromPackage;
  const std::string budgetModel = test::CopySharedRun(fromBudget, "mixed3d", "modflow", "mixed3d.nam");
  const std::string packageModel = test::CopySharedRun(fromPackage, "mixed3d", "modflow", "mixed3d.nam");
  std::string evt = test::ReadWholeFile(fromPackage.File("mixed3d.evt"));
  const auto at = evt.find("1 32    NEVTOP IEVTCB");
  ASSERT_NE(at, std::string::npos);
  evt.replace(at, 4, "1 0 ");
  test::WriteWholeFile(fromPackage.File("mixed3d.evt"), evt);

  const Import expected(budgetModel);
  const Import computed(packageModel);
  ASSERT_TRUE(expected.ok && computed.ok) << computed.ui.LastMessage();
  EXPECT_TRUE(computed.session.model.flowTermsLoaded) << computed.ui.LastMessage();
  EXPECT_EQ(computed.ui.messages.size(), expected.ui.messages.size()) << computed.ui.LastMessage();
  const CellArray<float>& want = expected.session.model.QET;
  const CellArray<float>& got = computed.session.model.QET;
  ASSERT_EQ(want.shape, got.shape);
  int losing = 0;
  for (std::size_t n = 0; n < want.values.size(); ++n) {
    EXPECT_NEAR(got.values[n], want.values[n], 1e-4 * std::max(1.0f, std::fabs(want.values[n]))) << "cell " << n;
    losing += want.values[n] < 0;
  }
  EXPECT_GT(losing, 0);
}

// One row of three cells in two layers: ET surface 10, extinction depth 2,
// largest flow 6 out of each cell.
struct EvapotranspirationModel {
  explicit EvapotranspirationModel(int layerCode) {
    DimensionModel(state, 3, 1, 2);
    for (int j = 1; j <= 3; ++j) state.IBOUND(j, 1, 1) = state.IBOUND(j, 1, 2) = 1;
    EvapotranspirationPeriod period;
    period.surface.assign(3, 10.0f);
    period.extinctionDepth.assign(3, 2.0f);
    period.maxFlow.assign(3, 6.0f);
    period.layer.assign(3, layerCode);
    periods = {{}, period};
  }
  bool Place() { return PlaceMf2005Evapotranspiration(state, periods); }
  ModelState state;
  std::vector<EvapotranspirationPeriod> periods;
};

TEST(Mf2005Evapotranspiration, FullAboveTheSurfaceNoneBelowTheExtinctionDepthLinearBetween) {
  EvapotranspirationModel model(1);
  ModelState& state = model.state;
  state.HEAD(1, 1, 1) = 11.0f;
  state.HEAD(2, 1, 1) = 9.0f;
  state.HEAD(3, 1, 1) = 7.0f;
  ASSERT_TRUE(model.Place());
  EXPECT_FLOAT_EQ(state.QET(1, 1, 1), -6.0f);
  EXPECT_FLOAT_EQ(state.QET(2, 1, 1), -3.0f);
  EXPECT_FLOAT_EQ(state.QET(3, 1, 1), 0.0f);
  state.CurrentPeriod = 2;
  EXPECT_FALSE(model.Place());
  EXPECT_FLOAT_EQ(state.QET(1, 1, 1), 0.0f);
}

TEST(Mf2005Evapotranspiration, HighestCellOptionTakesTheCurrentBoundaryCodes) {
  EvapotranspirationModel model(0);
  ModelState& state = model.state;
  for (int j = 1; j <= 3; ++j) state.HEAD(j, 1, 1) = state.HEAD(j, 1, 2) = 12.0f;
  state.IBOUND(2, 1, 1) = 0;   // dry or inactive: the layer below loses the water
  state.IBOUND(3, 1, 1) = -1;  // fixed head on top: no ET at all
  ASSERT_TRUE(model.Place());
  const float expected[2][3] = {{-6, 0, 0}, {0, -6, 0}};  // by layer and column
  for (int k = 1; k <= 2; ++k)
    for (int j = 1; j <= 3; ++j) EXPECT_FLOAT_EQ(state.QET(j, 1, k), expected[k - 1][j - 1]) << j << " " << k;
}

TEST(Mf2005ConstantHead, ListedCellsAreFixedHeadFromTheirPeriodOnAndNotSinks) {
  test::TempDir dir;
  // The default grid: one layer of 2 rows by 3 columns, two stress periods.
  const std::string nameFile = test::WriteMf2005Model(
      dir, {{"CHD", "# constant heads\n2\n1\n1 1 1 5.0 5.0\n1\n1 2 3 4.0 4.0\n"}});
  Mf2005Model model;
  test::RecordingInterface ui;
  ASSERT_TRUE(ReadMf2005Model(nameFile, model, ui)) << ui.LastMessage();
  EXPECT_EQ(ui.messages.size(), 1u) << ui.LastMessage();  // the default porosity only
  OpenedModel opened;
  CopyMf2005Model(model, opened);
  ModelState& state = opened.model;
  state.CurrentPeriod = 1;
  ASSERT_TRUE(MarkMf2005Sinks(state, model.boundaryPackages));
  EXPECT_EQ(state.IBOUND(1, 1, 1), -1);
  EXPECT_EQ(state.IBOUND(3, 2, 1), 1);
  EXPECT_EQ(state.SINKCODE(1, 1, 1), 0);
  // MODFLOW keeps a cell fixed once CHD listed it; going back to period 1
  // starts again from the boundary codes as read.
  state.CurrentPeriod = 2;
  ASSERT_TRUE(MarkMf2005Sinks(state, model.boundaryPackages));
  EXPECT_EQ(state.IBOUND(1, 1, 1), -1);
  EXPECT_EQ(state.IBOUND(3, 2, 1), -1);
  state.IBOUND = state.IBOUND0;
  state.CurrentPeriod = 1;
  ASSERT_TRUE(MarkMf2005Sinks(state, model.boundaryPackages));
  EXPECT_EQ(state.IBOUND(3, 2, 1), 1);
}

TEST(Mf2005UnreadPackages, AreNamedInOneMessageWhileSolversAndOutputsAreNot) {
  test::TempDir dir;
  const std::string nameFile = test::WriteMf2005Model(
      dir, {{"SFR", "x\n"}, {"MNW2", "x\n"}, {"PCG", "x\n"}, {"GAGE", "x\n"}, {"HFB6", "x\n"}, {"LAK", "x\n"}});
  Mf2005Model model;
  test::RecordingInterface ui;
  ASSERT_TRUE(ReadMf2005Model(nameFile, model, ui)) << ui.LastMessage();
  EXPECT_EQ(model.unreadPackages, (std::vector<std::string>{"LAK", "MNW2", "SFR"}));
  ASSERT_EQ(ui.messages.size(), 2u);  // the default porosity, then the packages
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.messages[1].text.rfind("These packages of the name file are not read: LAK, MNW2, SFR.", 0), 0u)
      << ui.messages[1].text;
  EXPECT_TRUE(UnreadPackagesText({}).empty());
}

TEST(Mf2005OtherVersions, UsgNameFilesAreNamedAndRefused) {
  test::TempDir dir;
  const std::string path = dir.File("model.nam");
  test::WriteWholeFile(path, "LIST 2 m.lst\nBAS6 1 m.bas\nDISU 11 m.disu\nLPF 12 m.lpf\nSMS 13 m.sms\n");
  EXPECT_EQ(UnsupportedModflowVersion(path), "MODFLOW-USG");
  const Import import(path);
  EXPECT_FALSE(import.ok);
  ASSERT_EQ(import.ui.messages.size(), 1u);
  EXPECT_EQ(import.ui.LastMessage(), "The name file " + path +
                                         " belongs to a MODFLOW-USG model. Kestra imports MODFLOW-2005 and "
                                         "MODFLOW-NWT models; MODFLOW-USG models are not supported yet.");
  EXPECT_FALSE(import.session.model.HasModel());
  EXPECT_EQ(UnsupportedModflowVersion((test::TestDataDir() / "mixed3d/modflow/mixed3d.nam").string()), "");
  EXPECT_EQ(UnsupportedModflowVersion((test::TestDataDir() / "mixed3d/namefile/mixed3d.nam").string()), "");
}

}  // namespace
}  // namespace kestra
