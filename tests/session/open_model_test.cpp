#include "session/open_model.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "core/model_family.h"
#include "core/model_paths.h"
#include "core/sink_codes.h"
#include "modelset/layer_files.h"
#include "session/package_layer_source.h"
#include "session/time_step_results.h"
#include "support/model_writers.h"
#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

// Counts the calls into the views.
class CountingViews : public OpenObserver {
 public:
  void ShowModel(Session&) override { ++shown; }
  void KeepModel(Session&) override { ++kept; }
  int shown = 0, kept = 0;
};

struct OpenFixture {
  test::TempDir dir;
  Session session;
  test::RecordingInterface ui;
  CountingViews views;
  std::string Write(const std::string& name, const test::SmallModel& model) {
    return test::WriteModelFileSet(dir.path().string(), name, model);
  }
  bool Open(const std::string& path) { return OpenModelFile(path, session, ui, views); }
  // Opens a small model "first.mdl" to stand for the one open before a refused open; returns it.
  ModelState OpenFirst() {
    EXPECT_TRUE(Open(Write("first", test::SmallModel{})));
    ui.messages.clear();
    return session.model;
  }
  // The model opened before a refused open, kept as it was.
  void ExpectKept(const ModelState& before, const std::string& title) const {
    const ModelState& after = session.model;
    EXPECT_EQ(after.ModelPath, before.ModelPath);
    EXPECT_EQ(after.Shape(), before.Shape());
    EXPECT_EQ(after.IBOUND, before.IBOUND);
    EXPECT_EQ(after.HEAD.values, before.HEAD.values);
    EXPECT_EQ(after.QRIGHT.values, before.QRIGHT.values);
    EXPECT_EQ(ui.windowTitle, "KESTRA - [" + title + "] (" + FolderOf(after.ModelPath) + ")");
  }
};

TEST(OpenModelFile, ReadsGridArraysAndNamesTheResultFiles) {
  OpenFixture f;
  test::SmallModel model;
  model.columnWidths = {10, 20, 30};
  model.rowHeights = {5, 15};
  model.ibound = {-1, 1, 1, 1, 0, 3.5f};
  model.porosity = {0, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f};
  const std::string path = f.Write("site", model);
  ASSERT_TRUE(f.Open(path));
  const ModelState& state = f.session.model;
  EXPECT_EQ(state.ModelPath, path);
  EXPECT_EQ(state.ModelTitleName, "site.mdl");
  EXPECT_EQ(state.XEDGE[3], 60.0f);
  EXPECT_EQ(state.YEDGE[2], 20.0f);
  EXPECT_EQ(state.IBOUND(1, 1, 1), -1);
  EXPECT_EQ(state.IBOUND(3, 2, 1), 4);  // 3.5 rounds to even
  EXPECT_EQ(state.IBOUND0, state.IBOUND);
  EXPECT_EQ(state.POROSITY(1, 1, 1), 1.0E-20f);
  EXPECT_EQ(state.HeadPath, f.dir.File("HEADS.DAT"));
  EXPECT_EQ(state.BudgetPath, f.dir.File("BUDGET.DAT"));
  EXPECT_EQ(f.session.settingsPath, f.dir.File("site.ini"));
  EXPECT_EQ(f.ui.windowTitle, "KESTRA - [site.mdl] (" + f.dir.path().string() + ")");
  EXPECT_EQ(f.views.shown, 1);
  // No default position file: the lower-left grid corner sits at world (0, 0).
  EXPECT_EQ(state.origin.Y0, 20.0f);
  EXPECT_EQ(f.ui.meterValues.back(), 0);
  EXPECT_FALSE(f.ui.hourglassOn);
}

// Without a stored position the sections cut the middle of the grid, or go
// through the first pumping well; a stored position stays.
TEST(OpenModelFile, SectionsGoThroughTheMiddleUnlessTheSettingsPlaceThem) {
  OpenFixture f;
  test::SmallModel model;
  model.ncol = 5, model.nrow = 4;
  const auto section = [&f] {
    return std::pair<int, int>(f.session.settings.sectionColumn, f.session.settings.sectionRow);
  };
  const std::string path = f.Write("site", model);
  ASSERT_TRUE(f.Open(path));
  EXPECT_EQ(section(), std::pair(3, 2));

  model.wells.assign(20, 0);
  model.wells[2 * 5 + 3] = -100;  // a pumping well at row 3, column 4
  ASSERT_TRUE(f.Open(f.Write("pumped", model)));
  EXPECT_EQ(section(), std::pair(4, 3));

  test::WriteWholeFile(f.dir.File("site.ini"), "[CROSS_SECTIONS]\nCOLUMN=5\n");
  ASSERT_TRUE(f.Open(path));
  EXPECT_EQ(section(), std::pair(5, 1));
}

TEST(OpenModelFile, RowHeightsOfAOneColumnModel) {
  OpenFixture f;
  test::SmallModel model;
  model.ncol = 1;
  model.nrow = 4;
  model.rowHeights = {1, 2, 3, 4};
  ASSERT_TRUE(f.Open(f.Write("column", model)));
  EXPECT_EQ(f.session.model.DELC, (std::vector<float>{0, 1, 2, 3, 4}));
  EXPECT_EQ(f.session.model.YCENTER[4], 8.0f);
}

TEST(OpenModelFile, CreatesTheLayerPropertyFileAndDefaultContours) {
  OpenFixture f;
  test::SmallModel model;
  model.nlay = 2;
  ASSERT_TRUE(f.Open(f.Write("two", model)));
  EXPECT_EQ(LayerColor(f.session.model.LayerProperties[2]), 255 * 65536);
  EXPECT_EQ(test::ReadWholeFile(f.dir.File("two.lyp")).size(), 12u + 2 * 24);
  EXPECT_EQ(f.session.contours.ContourCount(), 10);
}

TEST(OpenModelFile, ReadsStressPeriodsAndTheTimeSection) {
  OpenFixture f;
  test::SmallModel model;
  model.periods.NPER = 2;
  model.periods.timeUnit = 4;
  model.periods.PERLEN = {0, 1, 100};
  model.periods.NSTP = {0, 1, 3};
  model.periods.TSMULT = {0, 1, 2};
  const std::string path = f.Write("timed", model);
  test::WriteWholeFile(f.dir.File("timed.ini"), "[TIME]\r\nMaximum Steps=250\r\n");
  ASSERT_TRUE(f.Open(path));
  EXPECT_EQ(f.session.periods.NPER, 2);
  EXPECT_EQ(f.session.periods.NSTP[2], 3);
  EXPECT_EQ(f.session.tracking.MaximumSteps, 250);
  EXPECT_EQ(f.session.tracking.TimeUnit, 4);
  EXPECT_EQ(f.session.tracking.StepLength, 365.25);
}

TEST(OpenModelFile, AnIncompleteModelOrAnUnreadablePeriodTableIsRefusedAndTheOldModelKept) {
  OpenFixture f;
  const ModelState before = f.OpenFirst();
  test::WriteModelFile(f.dir.File("second.mdl"), 5, 5, 1, DataFlagTable{});
  EXPECT_FALSE(f.Open(f.dir.File("second.mdl")));
  EXPECT_EQ(f.ui.LastMessage(), "The flow model should be complete before running KESTRA");
  f.ExpectKept(before, "first.mdl");
  EXPECT_EQ(f.views.kept, 1);

  const std::string path = test::CopySharedRun(f.dir, "uniform1", "lahey", "uniform1.mdl");
  // NPER 2 but the table of one period only.
  test::WriteWholeFile(f.dir.File("uniform1.TRA"), "2 4\n100 1 1\n");
  EXPECT_FALSE(f.Open(path));
  f.ExpectKept(before, "first.mdl");
  EXPECT_NE(f.ui.LastMessage().find("uniform1.TRA"), std::string::npos) << f.ui.LastMessage();
}

TEST(OpenModelFile, MissingPorosityAbandonsTheOpenWithoutEndingTheProgram) {
  OpenFixture f;
  const std::string path = f.Write("holes", test::SmallModel{});
  test::WriteRecordDirectory(f.dir.File("holes.RCD"), {{1, 1, 1}, {2, 1, 1}, {3, 1, 1}, {4, 1, 1}, {5, 1, 1}});
  EXPECT_FALSE(f.Open(path));
  EXPECT_FALSE(f.session.model.HasModel());
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text.rfind("Prior to calculating pathlines", 0), 0u);
  EXPECT_EQ(f.ui.windowTitle, "KESTRA");
  EXPECT_FALSE(f.ui.hourglassOn);
}

TEST(OpenModelFile, DamagedFilesAreRefusedAndTheOldModelKept) {
  OpenFixture f;
  const std::string firstPath = f.Write("first", test::SmallModel{});
  const std::filesystem::path shared = test::TestDataDir() / "uniform1/lahey";
  for (const auto& entry : std::filesystem::directory_iterator(shared))
    std::filesystem::copy_file(entry.path(), f.dir.path() / entry.path().filename());
  const std::string path = f.dir.File("uniform1.mdl");
  int refused = 0;
  for (const char* extension : {".IBD", ".X", ".RCD", ".POR"}) {
    const std::string dataPath = f.dir.File(std::string("uniform1") + extension);
    const std::string whole = test::ReadWholeFile(dataPath);
    for (std::size_t length = 0; length < whole.size(); length += 397) {
      test::WriteWholeFile(dataPath, whole.substr(0, length));
      ASSERT_TRUE(f.Open(firstPath));
      f.ui.messages.clear();
      // A cut that leaves every value the open needs still opens.
      if (f.Open(path)) continue;
      ++refused;
      EXPECT_EQ(f.session.model.ModelPath, firstPath) << extension << " " << length;
      EXPECT_FALSE(f.ui.messages.empty()) << extension << " " << length;
    }
    test::WriteWholeFile(dataPath, whole);
  }
  EXPECT_GT(refused, 20);
  EXPECT_TRUE(f.Open(path));
}

// A model whose heads or flows did not load whole is opened only when the
// user agrees, with one question that carries the readers' messages; "No"
// keeps the model open before, "Yes" opens it without any results.
TEST(ImportNameFile, ResultsThatDidNotLoadWholeAskBeforeTheModelOpens) {
  struct Damage {
    const char* file;
    std::uintmax_t keptBytes;  // the file is cut to this length; 0 removes it
    const char* named;         // in the question
  };
  for (const Damage& damage : {Damage{"mixed3d.hds", 4566, "layer 2 (time step 1, stress period 1)"},
                               Damage{"mixed3d.cbc", 0, "mixed3d.cbc"}}) {
    SCOPED_TRACE(damage.file);
    OpenFixture f;
    std::filesystem::copy(test::TestDataDir() / "mixed3d/modflow", f.dir.path());
    const std::string path = f.dir.File("mixed3d.nam");
    OpenChoices ask;
    ask.askWithoutResults = true;
    ASSERT_TRUE(ImportNameFile(path, f.session, f.ui, f.views, ask));
    EXPECT_TRUE(f.ui.questions.empty());
    EXPECT_EQ(FlowFieldProblem(f.session), "");

    const std::string target = f.dir.File(damage.file);
    if (damage.keptBytes == 0) std::filesystem::remove(target);
    else std::filesystem::resize_file(target, damage.keptBytes);
    const ModelState before = f.OpenFirst();
    f.ui.answerYes = false;
    EXPECT_FALSE(ImportNameFile(path, f.session, f.ui, f.views, ask));
    ASSERT_EQ(f.ui.questions.size(), 1u);
    EXPECT_NE(f.ui.questions[0].find(damage.named), std::string::npos) << f.ui.questions[0];
    EXPECT_NE(f.ui.questions[0].find("No keeps first.mdl open."), std::string::npos);
    EXPECT_TRUE(f.ui.messages.empty());
    f.ExpectKept(before, "first.mdl");

    f.ui.answerYes = true;
    ASSERT_TRUE(ImportNameFile(path, f.session, f.ui, f.views, ask));
    EXPECT_NE(FlowFieldProblem(f.session), "");
    EXPECT_EQ(LoadedResultsText(f.session), "none");
    const CellArray<float>& heads = f.session.model.HEAD;
    EXPECT_TRUE(std::all_of(heads.values.begin(), heads.values.end(),
                            [&](float head) { return head == f.session.settings.HNOFLO; }));
    EXPECT_FALSE(f.session.model.flowTermsLoaded);

    // The batch tool opens it with what loaded, the readers saying what did not.
    f.ui.questions.clear();
    ASSERT_TRUE(ImportNameFile(path, f.session, f.ui, f.views));
    EXPECT_TRUE(f.ui.questions.empty());
    EXPECT_NE(f.ui.LastMessage().find(damage.named), std::string::npos);
  }
}

TEST(OpenModelFile, GridTooLargeIsRefused) {
  OpenFixture f;
  DataFlagTable flags;
  flags(0, 5) = 1;
  test::WriteModelFile(f.dir.File("huge.mdl"), 30000, 30000, 100, flags);
  EXPECT_FALSE(f.Open(f.dir.File("huge.mdl")));
  EXPECT_EQ(f.ui.messages.size(), 1u);
}

TEST(OpenModelFile, MissingFileIsReportedAndBusyOnlyBeeps) {
  OpenFixture f;
  EXPECT_FALSE(f.Open(f.dir.File("none.mdl")));
  EXPECT_EQ(f.ui.LastMessage(), "File " + f.dir.File("none.mdl") + " not found!");
  EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Error);
  const std::string path = f.Write("site", test::SmallModel{});
  f.session.busy.redraw = true;
  EXPECT_FALSE(f.Open(path));
  EXPECT_EQ(f.ui.beeps, 2);
  EXPECT_EQ(f.ui.messages.size(), 1u);
}

// The results of the one time step of a 3 x 2 model: heads of 5 and the
// face flows, with the well term when `wells` is given.
void WriteResults(const OpenFixture& f, const std::vector<float>& wells) {
  test::WriteResultFile(f.dir.File("HEADS.DAT"), ResultFileFormat::Lahey, 4, [](ResultFileWriter& writer) {
    writer.WriteLayer(test::LayerHeader(1, 1, 1, 3, 2), std::vector<float>(6, 5.0f));
  });
  test::WriteResultFile(f.dir.File("BUDGET.DAT"), ResultFileFormat::Lahey, 4, [&](ResultFileWriter& writer) {
    writer.WriteBudgetArray(test::BudgetTermHeader(1, 1, "FLOW RIGHT FACE", 3, 2, 1), std::vector<float>(6, 1.0f));
    writer.WriteBudgetArray(test::BudgetTermHeader(1, 1, "FLOW FRONT FACE", 3, 2, 1), std::vector<float>(6, 0.0f));
    if (!wells.empty()) writer.WriteBudgetArray(test::BudgetTermHeader(1, 1, "WELLS", 3, 2, 1), wells);
  });
}

// Wells pumping 50, at rate 0 and injecting 20 in the first three cells.
TEST(OpenModelFile, WellsOfTheFirstPeriodAreSinksByTheirBudgetTermOrElseByTheirRate) {
  enum class Results { None, WithWellTerm, WithoutWellTerm };
  const struct {
    Results results;
    std::vector<std::int16_t> sinkCodes;  // of the cells pumping 50, at rate 0 and injecting 20
    std::string message;                  // "" for none
  } cases[] = {
      {Results::None, {kBoundarySink, 0, 0}, ""},
      {Results::WithWellTerm, {kOutflowCell, 0, kInflowCell}, ""},
      {Results::WithoutWellTerm, {kBoundarySink, 0, 0}, NoBoundaryFlowsText({"WEL"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.results));
    OpenFixture f;
    test::SmallModel model;
    model.wells = {-50, 0, 20, 0, 0, 0};
    const std::string path = f.Write("wells", model);
    if (c.results != Results::None)
      WriteResults(f, c.results == Results::WithWellTerm ? model.wells : std::vector<float>{});
    ASSERT_TRUE(f.Open(path));
    EXPECT_TRUE(f.session.loaded.sinkCellsLoaded);
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(f.session.model.SINKCODE(j, 1, 1), c.sinkCodes[j - 1]) << j;
    if (c.results == Results::None) continue;
    EXPECT_TRUE(f.session.model.flowTermsLoaded) << f.ui.LastMessage();
    EXPECT_EQ(f.ui.beeps, 0);
    if (c.message.empty()) {
      EXPECT_TRUE(f.ui.messages.empty()) << f.ui.LastMessage();
      continue;
    }
    ASSERT_EQ(f.ui.messages.size(), 1u);  // said once
    EXPECT_EQ(f.ui.messages[0].text, c.message);
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Information);
  }
}

TEST(ImportNameFile, ReadsTheModelWithItsOwnSettingsFile) {
  OpenFixture f;
  test::SmallModel model;
  model.porosity = {0, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f};
  test::WriteWholeFile(f.dir.File("w.wel"), "1 0\n2\n1 1 1 -5\n1 2 3 0\n");
  const std::string path = test::WriteNameFileModel(f.dir.path().string(), "valley", model, {"wel w.wel"});
  ASSERT_TRUE(ImportNameFile(path, f.session, f.ui, f.views));
  const ModelState& state = f.session.model;
  EXPECT_EQ(FamilyOf(state).Description(), "name file");
  EXPECT_EQ(state.POROSITY(1, 1, 1), 1.0E-20f);
  EXPECT_EQ(state.SINKCODE(1, 1, 1), -1);
  EXPECT_EQ(state.SINKCODE(3, 2, 1), 0);
  EXPECT_EQ(f.session.settingsPath, f.dir.File("valley.ini"));
  EXPECT_FLOAT_EQ(f.session.settings.HNOFLO, -999.99f);
  EXPECT_EQ(f.session.periods.timeUnit, 4);
  EXPECT_EQ(f.ui.windowTitle, "KESTRA - [valley.nam] (" + FolderOf(f.session.model.ModelPath) + ")");
}

TEST(ImportNameFile, Mf2005ModelWithAMissingOrUnreadablePackageKeepsTheOpenModel) {
  OpenFixture f;
  ASSERT_TRUE(f.Open((test::TestDataDir() / "uniform1/lahey/uniform1.mdl").string()));
  const ModelState before = f.session.model;
  const std::string settingsBefore = f.session.settingsPath;
  struct Case {
    const char* file;
    const char* contents;  // null: the file is removed
    const char* named;     // what the message must name
  };
  const Case cases[] = {
      {"mixed3d.riv", nullptr, "the RIV file"},
      {"mixed3d.wel", "2 0\n1\n2 8 fifteen -1500\n", "mixed3d.wel, line 3"},
      {"mixed3d.dis", "3 25 30\n", "mixed3d.dis"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    test::TempDir dir;
    const std::string nameFile = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
    if (c.contents == nullptr)
      std::filesystem::remove(dir.File(c.file));
    else
      test::WriteWholeFile(dir.File(c.file), c.contents);
    const int beeps = f.ui.beeps;
    const int kept = f.views.kept;
    EXPECT_FALSE(ImportNameFile(nameFile, f.session, f.ui, f.views));
    EXPECT_EQ(f.ui.beeps, beeps + 1);
    EXPECT_NE(f.ui.LastMessage().find("The MODFLOW model " + nameFile + " cannot be imported"), std::string::npos);
    EXPECT_NE(f.ui.LastMessage().find(c.named), std::string::npos) << f.ui.LastMessage();
    f.ExpectKept(before, "uniform1.mdl");
    EXPECT_EQ(FamilyOf(f.session.model).Description(), "model file set");
    EXPECT_EQ(f.session.settingsPath, settingsBefore);
    EXPECT_EQ(f.views.kept, kept + 1);
  }
}

TEST(ImportNameFile, Mf2005LayerPorositiesOfTheSettingsFileAndTheCallerReplaceTheModels) {
  OpenFixture f;
  const std::string nameFile = test::CopySharedRun(f.dir, "mixed3d", "modflow", "mixed3d.nam");
  test::WriteWholeFile(f.dir.File("mixed3d.ini"), "[POROSITY]\nLayer2= .4\n");
  OpenChoices caller;
  caller.layerPorosity.byLayer[3] = 0.35f;
  ASSERT_TRUE(ImportNameFile(nameFile, f.session, f.ui, f.views, caller));
  const ModelState& state = f.session.model;
  EXPECT_FLOAT_EQ(state.POROSITY(7, 9, 1), 0.2f);  // the MODPATH file's
  EXPECT_FLOAT_EQ(state.POROSITY(7, 9, 2), 0.4f);
  EXPECT_FLOAT_EQ(state.POROSITY(7, 9, 3), 0.35f);
  const float speed = state.VX(7, 9, 2);

  caller.layerPorosity.everyLayer = 0.1f;
  ASSERT_TRUE(ImportNameFile(nameFile, f.session, f.ui, f.views, caller));
  EXPECT_FLOAT_EQ(state.POROSITY(7, 9, 1), 0.1f);
  EXPECT_FLOAT_EQ(state.POROSITY(7, 9, 2), 0.1f);
  // The velocities follow: a quarter of the pore space quadruples the speed.
  EXPECT_NEAR(state.VX(7, 9, 2), 4 * speed, 1e-5 * std::fabs(speed));
  EXPECT_TRUE(f.ui.messages.empty()) << f.ui.LastMessage();
}

// A copy of mixed3d opened in one of its forms.
struct OpenedMixed3d {
  test::TempDir dir;
  Session session;

  explicit OpenedMixed3d(const std::string& form) {
    const std::string path = test::CopySharedRun(dir, "mixed3d", form, form == "lahey" ? "mixed3d.mdl" : "mixed3d.nam");
    SilentInterface ui;
    NoViews views;
    EXPECT_TRUE(form == "lahey" ? OpenModelFile(path, session, ui, views) : ImportNameFile(path, session, ui, views));
  }
};

TEST(PackageLayerSource, EveryFormGivesTheCellsOfTheModelDescription) {
  for (const std::string form : {"lahey", "namefile", "modflow"}) {
    SCOPED_TRACE(form);
    OpenedMixed3d model(form);
    const PackageLayerReader read = MakePackageLayerReader(model.session);
    LayerValues values;
    // The pumping well: layer 2, row 8, column 15, -1500; nothing in layer 1.
    ASSERT_TRUE(read(data_type::kWells, 2, 1, values));
    ASSERT_EQ(values.ncol, 30);
    ASSERT_EQ(values.nrow, 25);
    EXPECT_EQ(values(15, 8), -1500.0f);
    EXPECT_EQ(values(22, 18), 0.0f);
    ASSERT_TRUE(read(data_type::kWells, 1, 1, values));
    EXPECT_EQ(values(15, 8), 0.0f);
    ASSERT_TRUE(read(data_type::kRivers, 1, 1, values));
    EXPECT_NE(values(5, 13), 0.0f);
    EXPECT_EQ(values(5, 12), 0.0f);
    ASSERT_TRUE(read(data_type::kDrains, 1, 1, values));
    EXPECT_NE(values(9, 22), 0.0f);
    ASSERT_TRUE(read(data_type::kGeneralHead, 2, 1, values));
    EXPECT_NE(values(30, 25), 0.0f);
    // No form has barriers or streams; other data types are no package data.
    EXPECT_FALSE(read(data_type::kBarriers, 1, 1, values));
    EXPECT_FALSE(read(data_type::kStreams, 1, 1, values));
    EXPECT_FALSE(read(5, 1, 1, values));
  }
}

TEST(PackageLayerSource, ReaderKeepsWhatItNeedsWhenTheSessionIsGone) {
  PackageLayerReader read;
  {
    OpenedMixed3d model("lahey");
    read = MakePackageLayerReader(model.session);
    model.session = Session{};
    LayerValues values;
    EXPECT_TRUE(read(data_type::kWells, 2, 1, values));
    EXPECT_FALSE(read(data_type::kWells, 4, 1, values));  // beyond the 3 layers
    EXPECT_FALSE(read(data_type::kWells, 1, 0, values));
  }
  // The model's files are gone with its folder: no data, and no crash.
  LayerValues values;
  EXPECT_FALSE(read(data_type::kWells, 2, 1, values));
}

}  // namespace
}  // namespace kestra
