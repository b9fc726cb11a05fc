// The shared MODFLOW runs in every form they are stored in: the model file
// set with PowerStation results, the MAIN name-file import and the
// MODFLOW-2005 import each give the model, the time steps and the end points
// of the model file set with Lahey results.
#include <cmath>

#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "core/model_family.h"
#include "results/result_files.h"
#include "session/flow_terms.h"
#include "session/open_model.h"
#include "session/sink_cells.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

// Values pass through 32-bit floats and text with five significant decimals
// in the MAIN file; flows differ by MODFLOW's own single-precision rounding.
constexpr float kRelative = 1e-5f;

struct Opened {
  test::TempDir dir;  // an open or import writes files beside the model
  std::string path;
  Session session;
  test::RecordingInterface ui;
};

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

void ExpectSameFlows(const ModelState& a, const ModelState& b) {
  EXPECT_EQ(a.SINKCODE, b.SINKCODE);
  EXPECT_EQ(a.IBOUND, b.IBOUND);
  ExpectNear(a.HEAD, b.HEAD, 1, "HEAD");
  ExpectNear(a.QRIGHT, b.QRIGHT, LargestMagnitude(a.QRIGHT), "QRIGHT");
  ExpectNear(a.QFRONT, b.QFRONT, LargestMagnitude(a.QFRONT), "QFRONT");
  ExpectNear(a.QLOWER, b.QLOWER, LargestMagnitude(a.QLOWER), "QLOWER");
  ExpectNear(a.QRECH, b.QRECH, LargestMagnitude(a.QRECH), "QRECH");
  ExpectNear(a.QET, b.QET, LargestMagnitude(a.QET), "QET");
}

void ExpectSameModel(const ModelState& a, const ModelState& b, bool compareTopLayerTop) {
  ASSERT_EQ(a.Shape(), b.Shape());
  for (int j = 1; j <= a.NCOL; ++j) EXPECT_NEAR(a.DELR[j], b.DELR[j], kRelative * a.DELR[j]);
  for (int i = 1; i <= a.NROW; ++i) EXPECT_NEAR(a.DELC[i], b.DELC[i], kRelative * a.DELC[i]);
  EXPECT_EQ(a.IBOUND0, b.IBOUND0);
  ExpectNear(a.BOT, b.BOT, 1, "BOT");
  ExpectNear(a.POROSITY, b.POROSITY, 0, "POROSITY");
  ExpectSameFlows(a, b);
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

// Every time step of every stress period reloads sinks, heads and flow terms
// the way the tracking does when it crosses steps.
void ExpectTheSameTimeSteps(Opened& reference, Opened& other) {
  const StressPeriods& periods = reference.session.periods;
  for (int period = 1; period <= periods.NPER; ++period)
    for (int step = 1; step <= periods.NSTP[period]; ++step) {
      SCOPED_TRACE("period " + std::to_string(period) + " step " + std::to_string(step));
      for (Opened* opened : {&reference, &other}) {
        ModelState& model = opened->session.model;
        model.CurrentPeriod = period;
        model.CurrentStep = step;
        model.flowTermsLoaded = false;
        ASSERT_TRUE(LoadSinkCells(model, opened->session.tracking.BoundaryCells, opened->ui, true));
        ASSERT_TRUE(LoadHeads(model, opened->session.settings, opened->ui, true));
        ASSERT_TRUE(LoadFlowTerms(model, opened->ui, true));
      }
      ExpectSameFlows(reference.session.model, other.session.model);
    }
}

// The end points and pathlines of particles over the whole grid, forward
// and backward through a steady run, along the time steps of a transient one.
std::string TrackedFiles(const Opened& opened, const std::string& sinks) {
  const ModelState& model = opened.session.model;
  const std::string particles = opened.dir.File("spread.par");
  test::WriteWholeFile(particles, cli::ParticleFile(model.NCOL, model.NROW, model.NLAY, 2));
  cli::Arguments args{opened.path, "--particles", particles, "--out", opened.dir.File("paths.txt"), "--endpoints",
                      opened.dir.File("ends.csv"), "--sinks", sinks, "--time-unit", "days", "--quiet"};
  if (opened.session.periods.NPER > 1)
    args.insert(args.end(), {"--pathlines", "--step-length", "25", "--max-steps", "20", "--stop-at-time-limit", "on"});
  else
    args.insert(args.end(), {"--forward", "--backward", "--step-length", "40", "--max-steps", "10"});
  std::string errors;
  const int code = cli::RunCli("track", args, &errors);
  // The steady runs stop some particles at their step limit, which is said.
  EXPECT_TRUE(code == 0 || (code == 3 && errors.find("tracking steps ran out") != std::string::npos)) << errors;
  return test::ReadWholeFile(opened.dir.File("ends.csv")) + test::ReadWholeFile(opened.dir.File("paths.txt"));
}

struct Form {
  const char* model;
  const char* folder;
  const char* description;  // of the model's family
};

void Open(const std::string& model, const std::string& folder, Opened& opened) {
  NoViews views;
  const bool nameFile = folder == "namefile" || folder == "modflow";
  opened.path = test::CopySharedRun(opened.dir, model, folder, model + (nameFile ? ".nam" : ".mdl"));
  ASSERT_TRUE(nameFile ? ImportNameFile(opened.path, opened.session, opened.ui, views)
                       : OpenModelFile(opened.path, opened.session, opened.ui, views));
  EXPECT_TRUE(opened.ui.messages.empty()) << opened.ui.LastMessage();
  EXPECT_TRUE(opened.session.loaded.headsLoaded);
  EXPECT_TRUE(opened.session.loaded.drawdownsLoaded);
  EXPECT_TRUE(opened.session.model.flowTermsLoaded);
  EXPECT_EQ(opened.session.settingsPath, opened.dir.File(model + ".ini"));
}

class SharedModelForm : public testing::TestWithParam<Form> {};

TEST_P(SharedModelForm, GivesTheModelTimeStepsAndEndPointsOfTheModelFileSet) {
  const Form form = GetParam();
  Opened reference, other;
  Open(form.model, "lahey", reference);
  Open(form.model, form.folder, other);
  if (HasFatalFailure()) return;
  EXPECT_EQ(FamilyOf(other.session.model).Description(), form.description);
  const ModelState& a = reference.session.model;
  const ModelState& b = other.session.model;
  // The MAIN file gives no top for an unconfined top layer (see
  // ExpectSameModel): where a head lies above the true top, a particle's
  // elevation differs.
  const bool topsGiven = std::string(form.folder) != "namefile" || b.LAYCON[1] != 1;
  ExpectSameModel(a, b, topsGiven);
  // LPF knows confined and convertible layers only: an unconfined layer is a
  // convertible one in MODFLOW's own files.
  if (std::string(form.folder) != "modflow") {
    EXPECT_EQ(a.LAYCON, b.LAYCON);
  }
  EXPECT_EQ(reference.session.periods.NPER, other.session.periods.NPER);
  EXPECT_EQ(reference.session.periods.NSTP, other.session.periods.NSTP);
  EXPECT_EQ(reference.session.periods.PERLEN, other.session.periods.PERLEN);
  EXPECT_EQ(reference.session.periods.TSMULT, other.session.periods.TSMULT);
  EXPECT_EQ(reference.session.settings.HNOFLO, other.session.settings.HNOFLO);
  ExpectTheSameTimeSteps(reference, other);
  if (!topsGiven) return;
  for (const char* sinks : {"by-flow", "all"}) {
    const std::string tracked = TrackedFiles(reference, sinks);
    EXPECT_GT(tracked.size(), 10000u);
    EXPECT_TRUE(TrackedFiles(other, sinks) == tracked) << "sinks " << sinks;
  }
}

std::vector<Form> Forms() {
  std::vector<Form> forms;
  for (const char* model : {"uniform1", "mixed3d", "transient2"}) {
    forms.push_back({model, "powerstation", "model file set"});
    forms.push_back({model, "namefile", "name file"});
    forms.push_back({model, "modflow", "MODFLOW-2005 name file"});
  }
  return forms;
}

INSTANTIATE_TEST_SUITE_P(SharedTestData, SharedModelForm, testing::ValuesIn(Forms()),
                         [](const testing::TestParamInfo<Form>& info) {
                           return std::string(info.param.model) + "_" + info.param.folder;
                         });

}  // namespace
}  // namespace kestra
