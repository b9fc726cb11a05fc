// The shared MODFLOW runs open as model file sets (Lahey and PowerStation
// results) and import as name-file models, and every form gives the same model.
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "core/model_family.h"
#include "results/result_files.h"
#include "session/flow_terms.h"
#include "session/open_model.h"
#include "session/sink_cells.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "tracking/particle_file.h"

namespace kestra {
namespace {

// Values pass through 32-bit floats and text with five significant decimals
// in the MAIN file; flows differ by MODFLOW's own single-precision rounding.
constexpr float kRelative = 1e-5f;

struct Opened {
  Session session;
  test::RecordingInterface ui;
};

std::string DataPath(const std::string& model, const std::string& form, const std::string& file) {
  return (test::TestDataDir() / model / form / file).string();
}

void ExpectNear(const CellArray<float>& a, const CellArray<float>& b, float scale, const char* what) {
  ASSERT_EQ(a.shape, b.shape) << what;
  for (std::size_t n = 0; n < a.values.size(); ++n)
    ASSERT_NEAR(a.values[n], b.values[n], kRelative * (scale + std::fabs(a.values[n])))
        << what << " at " << n << " of shape " << a.shape.ncol << "x" << a.shape.nrow << "x" << a.shape.nlay;
}

float LargestMagnitude(const CellArray<float>& values) {
  float largest = 0;
  for (float value : values.values) largest = std::max(largest, std::fabs(value));
  return largest;
}

void ExpectSameModel(const ModelState& a, const ModelState& b, bool compareTopLayerTop) {
  ASSERT_EQ(a.Shape(), b.Shape());
  for (int j = 1; j <= a.NCOL; ++j) EXPECT_NEAR(a.DELR[j], b.DELR[j], kRelative * a.DELR[j]);
  for (int i = 1; i <= a.NROW; ++i) EXPECT_NEAR(a.DELC[i], b.DELC[i], kRelative * a.DELC[i]);
  EXPECT_EQ(a.IBOUND, b.IBOUND);
  EXPECT_EQ(a.IBOUND0, b.IBOUND0);
  ExpectNear(a.BOT, b.BOT, 1, "BOT");
  ExpectNear(a.POROSITY, b.POROSITY, 0, "POROSITY");
  ExpectNear(a.HEAD, b.HEAD, 1, "HEAD");
  ExpectNear(a.QRIGHT, b.QRIGHT, LargestMagnitude(a.QRIGHT), "QRIGHT");
  ExpectNear(a.QFRONT, b.QFRONT, LargestMagnitude(a.QFRONT), "QFRONT");
  ExpectNear(a.QLOWER, b.QLOWER, LargestMagnitude(a.QLOWER), "QLOWER");
  ExpectNear(a.QRECH, b.QRECH, LargestMagnitude(a.QRECH), "QRECH");
  EXPECT_EQ(a.SINKCODE, b.SINKCODE);
  ExpectNear(a.VX, b.VX, LargestMagnitude(a.VX), "VX");
  ExpectNear(a.VY, b.VY, LargestMagnitude(a.VY), "VY");
  ExpectNear(a.VZ, b.VZ, LargestMagnitude(a.VZ), "VZ");
  for (int k = 1; k <= a.NLAY; ++k) {
    // The MAIN file gives no top for an unconfined top layer; its top is then
    // the bottom plus a fixed thickness, which the water table never reaches.
    if (k == 1 && !compareTopLayerTop) continue;
    for (int i = 1; i <= a.NROW; ++i)
      for (int j = 1; j <= a.NCOL; ++j) EXPECT_NEAR(a.TOP(j, i, k), b.TOP(j, i, k), kRelative * 100);
  }
}

class SharedModel : public testing::TestWithParam<const char*> {};

TEST_P(SharedModel, ModelFileSetsAndNameFileGiveTheSameModel) {
  const std::string name = GetParam();
  NoViews views;
  Opened lahey, powerStation, imported;
  test::TempDir copy;  // the import writes the layer property file beside the name file
  ASSERT_TRUE(OpenModelFile(DataPath(name, "lahey", name + ".mdl"), lahey.session, lahey.ui, views));
  ASSERT_TRUE(OpenModelFile(DataPath(name, "powerstation", name + ".mdl"), powerStation.session, powerStation.ui, views));
  ASSERT_TRUE(ImportNameFile(test::CopySharedRun(copy, name, "namefile", name + ".nam"), imported.session, imported.ui,
                             views));
  for (const Opened* opened : {&lahey, &powerStation, &imported}) {
    EXPECT_TRUE(opened->ui.messages.empty()) << opened->ui.LastMessage();
    EXPECT_TRUE(opened->session.loaded.headsLoaded);
    EXPECT_TRUE(opened->session.loaded.drawdownsLoaded);
    EXPECT_TRUE(opened->session.model.flowTermsLoaded);
    EXPECT_TRUE(opened->session.loaded.velocitiesComputed);
  }
  ExpectSameModel(lahey.session.model, powerStation.session.model, true);
  const bool topGiven = imported.session.model.LAYCON[1] != 1;
  ExpectSameModel(lahey.session.model, imported.session.model, topGiven);
  EXPECT_EQ(lahey.session.model.LAYCON, imported.session.model.LAYCON);
  EXPECT_EQ(lahey.session.periods.NPER, imported.session.periods.NPER);
  EXPECT_EQ(lahey.session.periods.NSTP, imported.session.periods.NSTP);
  EXPECT_EQ(lahey.session.settings.HNOFLO, imported.session.settings.HNOFLO);
}

// The import gives the model of the model file set, and in a transient run
// every time step of every stress period reloads sinks, heads and flow terms
// the way the tracking does when it crosses steps.
TEST_P(SharedModel, Mf2005ImportGivesTheModelOfTheModelFileSetInEveryTimeStep) {
  const std::string name = GetParam();
  NoViews views;
  Opened lahey, imported;
  test::TempDir copy;  // the import writes the layer property file beside the name file
  const std::string nameFile = test::CopySharedRun(copy, name, "modflow", name + ".nam");
  ASSERT_TRUE(OpenModelFile(DataPath(name, "lahey", name + ".mdl"), lahey.session, lahey.ui, views));
  ASSERT_TRUE(ImportNameFile(nameFile, imported.session, imported.ui, views));
  EXPECT_TRUE(imported.ui.messages.empty()) << imported.ui.LastMessage();
  EXPECT_EQ(FamilyOf(imported.session.model).Description(), "MODFLOW-2005 name file");
  EXPECT_TRUE(imported.session.loaded.drawdownsLoaded);
  EXPECT_TRUE(imported.session.loaded.velocitiesComputed);
  ExpectSameModel(lahey.session.model, imported.session.model, true);
  EXPECT_EQ(lahey.session.periods.NSTP, imported.session.periods.NSTP);
  EXPECT_EQ(lahey.session.periods.PERLEN, imported.session.periods.PERLEN);
  EXPECT_EQ(imported.session.settingsPath, copy.File(name + ".ini"));

  const StressPeriods& periods = imported.session.periods;
  for (int period = 1; period <= periods.NPER; ++period)
    for (int step = 1; step <= periods.NSTP[period]; ++step) {
      SCOPED_TRACE("period " + std::to_string(period) + " step " + std::to_string(step));
      for (Opened* opened : {&lahey, &imported}) {
        ModelState& model = opened->session.model;
        model.CurrentPeriod = period;
        model.CurrentStep = step;
        model.flowTermsLoaded = false;
        ASSERT_TRUE(LoadSinkCells(model, opened->session.tracking.BoundaryCells, opened->ui, true));
        ASSERT_TRUE(LoadHeads(model, opened->session.settings, opened->ui, true));
        ASSERT_TRUE(LoadFlowTerms(model, opened->ui, true));
      }
      const ModelState& a = lahey.session.model;
      const ModelState& b = imported.session.model;
      EXPECT_EQ(a.SINKCODE, b.SINKCODE);
      EXPECT_EQ(a.IBOUND, b.IBOUND);
      ExpectNear(a.HEAD, b.HEAD, 1, "HEAD");
      ExpectNear(a.QRIGHT, b.QRIGHT, LargestMagnitude(a.QRIGHT), "QRIGHT");
      ExpectNear(a.QLOWER, b.QLOWER, LargestMagnitude(a.QLOWER), "QLOWER");
      ExpectNear(a.QRECH, b.QRECH, LargestMagnitude(a.QRECH), "QRECH");
      ExpectNear(a.QET, b.QET, LargestMagnitude(a.QET), "QET");
    }
}

INSTANTIATE_TEST_SUITE_P(SharedTestData, SharedModel, testing::Values("uniform1", "mixed3d", "transient2"));

// The example the repository ships.
std::filesystem::path ExampleDir() { return test::ExamplesDir() / "mixed3d"; }

TEST(ExampleModel, ImportsWithItsResultsAndItsParticlesFit) {
  Opened example;
  NoViews views;
  ASSERT_TRUE(ImportNameFile((ExampleDir() / "mixed3d.nam").string(), example.session, example.ui, views));
  EXPECT_EQ(FamilyOf(example.session.model).Description(), "MODFLOW-2005 name file");
  EXPECT_TRUE(example.session.loaded.drawdownsLoaded);
  EXPECT_TRUE(example.session.loaded.velocitiesComputed);
  ParticleSet particles;
  ASSERT_TRUE(ReadParticleFile((ExampleDir() / "column2.par").string(), example.session.model, particles, example.ui));
  EXPECT_EQ(particles.ParticleCount(), 12);
  EXPECT_TRUE(example.ui.messages.empty()) << example.ui.LastMessage();
}

}  // namespace
}  // namespace kestra
