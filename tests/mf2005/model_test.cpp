#include "mf2005/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/data_types.h"
#include "core/model_paths.h"
#include "results/budget_reader.h"
#include "support/json_reader.h"
#include "support/mf2005_writer.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

using test::JsonValue;

// The shared runs store 32-bit reals written from decimal text.
constexpr double kFloatTolerance = 1e-6;

std::filesystem::path ModflowDir(const std::string& name) { return test::TestDataDir() / name / "modflow"; }

JsonValue ModelDescription(const std::string& name) {
  JsonValue json;
  EXPECT_TRUE(test::ParseJson(test::ReadWholeFile((ModflowDir(name) / "model.json").string()), json));
  return json;
}

bool ReadShared(const std::string& name, Mf2005Model& model, test::RecordingInterface& ui) {
  return ReadMf2005Model((ModflowDir(name) / (name + ".nam")).string(), model, ui);
}

void ExpectNear(double expected, double actual, const std::string& where) {
  EXPECT_NEAR(actual, expected, kFloatTolerance * std::max(1.0, std::fabs(expected))) << where;
}

// Integer arrays too: a code off by one is far outside the tolerance.
template <typename T>
void ExpectCellArray(const JsonValue& expected, const CellArray<T>& actual, const std::string& name) {
  for (std::size_t k = 0; k < expected.size(); ++k)
    for (std::size_t i = 0; i < expected[k].size(); ++i)
      for (std::size_t j = 0; j < expected[k][i].size(); ++j)
        ExpectNear(expected[k][i][j].number, actual(int(j) + 1, int(i) + 1, int(k) + 1),
                   name + " at layer " + std::to_string(k + 1) + " row " + std::to_string(i + 1) + " column " +
                       std::to_string(j + 1));
}

// Cells of one package and period, as (layer, row, column, value).
using CellList = std::vector<std::array<double, 4>>;

CellList ExpectedCells(const JsonValue& lists, int period, std::size_t valueIndex) {
  CellList cells;
  if (lists.IsNull()) return cells;
  for (const auto& cell : lists[period - 1].items)
    cells.push_back({cell[0].number, cell[1].number, cell[2].number, cell[valueIndex].number});
  return cells;
}

CellList ReadCells(const Mf2005Model& model, const std::string& fileType, int period) {
  CellList cells;
  for (const auto& package : model.boundaryPackages)
    if (package.fileType == fileType)
      for (const auto& cell : package.periods[period])
        cells.push_back({double(cell.layer), double(cell.row), double(cell.column), double(cell.value)});
  return cells;
}

// The recharge flows placed in every period are those of the run's budget file.
void ExpectRechargeOfTheBudget(const Mf2005Model& model, test::RecordingInterface& ui) {
  for (int p = 1; p <= model.stressPeriods.NPER; ++p) {
    CellArray<float> budget;
    budget.Dimension(model.Shape());
    std::int64_t position = kFirstRecordPosition;
    ASSERT_TRUE(ReadBudgetTerm({1, p, "RECHARGE", model.NCOL, model.NROW, model.NLAY}, model.BudgetPath, budget,
                               position, ui, true))
        << ui.LastMessage();
    OpenedModel opened;
    CopyMf2005Model(model, opened);
    ModelState& state = opened.model;
    state.CurrentPeriod = p;
    ASSERT_TRUE(PlaceMf2005Recharge(state, model.recharge));
    for (int k = 1; k <= model.NLAY; ++k)
      for (int i = 1; i <= model.NROW; ++i)
        for (int j = 1; j <= model.NCOL; ++j)
          ExpectNear(budget(j, i, k), state.QRECH(j, i, k),
                     "QRECH " + std::to_string(k) + " " + std::to_string(i) + " " + std::to_string(j));
  }
}

void ExpectSameAsDescription(const std::string& name) {
  SCOPED_TRACE(name);
  const JsonValue json = ModelDescription(name);
  Mf2005Model model;
  test::RecordingInterface ui;
  ASSERT_TRUE(ReadShared(name, model, ui)) << ui.LastMessage();
  EXPECT_TRUE(ui.messages.empty()) << ui.LastMessage();
  EXPECT_TRUE(model.porosityFromMpbas);

  ASSERT_EQ(model.NCOL, json["ncol"].number);
  ASSERT_EQ(model.NROW, json["nrow"].number);
  ASSERT_EQ(model.NLAY, json["nlay"].number);
  for (int j = 1; j <= model.NCOL; ++j) ExpectNear(json["delr"][j - 1].number, model.DELR[j], "DELR");
  for (int i = 1; i <= model.NROW; ++i) ExpectNear(json["delc"][i - 1].number, model.DELC[i], "DELC");
  ExpectCellArray(json["top"], model.TOP, "TOP");
  ExpectCellArray(json["bot"], model.BOT, "BOT");
  ExpectCellArray(json["porosity"], model.POROSITY, "POROSITY");
  ExpectCellArray(json["ibound"], model.IBOUND, "IBOUND");
  for (int k = 1; k <= model.NLAY; ++k) {
    // LPF knows confined (0) and convertible layers only: an unconfined layer
    // of the description (1) is a convertible one (3) in MODFLOW's files.
    const double laycon = json["laycon"][k - 1].number;
    EXPECT_EQ(model.LAYCON[k], laycon == 1 ? 3 : laycon) << "layer " << k;
  }
  EXPECT_FLOAT_EQ(model.HNOFLO, float(json["hnoflo"].number));
  EXPECT_FLOAT_EQ(model.HDRY, float(json["hdry"].number));

  const auto& periods = json["periods"];
  ASSERT_EQ(model.stressPeriods.NPER, int(periods.size()));
  EXPECT_EQ(model.stressPeriods.timeUnit, json["itmuni"].number);
  for (int p = 1; p <= model.stressPeriods.NPER; ++p) {
    ExpectNear(periods[p - 1]["perlen"].number, model.stressPeriods.PERLEN[p], "PERLEN");
    EXPECT_EQ(model.stressPeriods.NSTP[p], periods[p - 1]["nstp"].number);
    ExpectNear(periods[p - 1]["tsmult"].number, model.stressPeriods.TSMULT[p], "TSMULT");
    EXPECT_EQ(model.steadyState[p], periods[p - 1]["steady"].boolean);
    EXPECT_EQ(ReadCells(model, "WEL", p), ExpectedCells(json["wells"], p, 3));
    EXPECT_EQ(ReadCells(model, "RIV", p), ExpectedCells(json["rivers"], p, 4));
    EXPECT_EQ(ReadCells(model, "DRN", p), ExpectedCells(json["drains"], p, 4));
    EXPECT_EQ(ReadCells(model, "GHB", p), ExpectedCells(json["ghbs"], p, 4));
  }

  const auto folder = ModflowDir(name).lexically_normal();
  EXPECT_EQ(model.HeadPath, (folder / json["files"]["heads"].text).string());
  EXPECT_EQ(model.DrawdownPath, (folder / json["files"]["ddn"].text).string());
  EXPECT_EQ(model.BudgetPath, (folder / json["files"]["budget"].text).string());
  EXPECT_EQ(model.hasEvapotranspiration, !json["evt"].IsNull());
  EXPECT_EQ(model.recharge.empty(), json["recharge"].IsNull());
  if (json["recharge"].IsNull()) return;
  // Where MODFLOW applies recharge, the flow is the rate times the cell area.
  const auto& rates = json["recharge"]["rate"];
  for (int p = 1; p <= model.stressPeriods.NPER; ++p)
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) {
        const std::size_t n = std::size_t(i - 1) * model.NCOL + j - 1;
        if (model.recharge[p].layer[n] > 0)
          ExpectNear(rates[p - 1][i - 1][j - 1].number * model.DELR[j] * model.DELC[i], model.recharge[p].flow[n],
                     "recharge");
      }
  ExpectRechargeOfTheBudget(model, ui);
}

TEST(Mf2005Model, SharedRunsReadAsTheirDescriptionsWithTheRechargeOfTheirBudget) {
  for (const char* name : {"uniform1", "mixed3d", "transient2"}) ExpectSameAsDescription(name);
}

// The rest of the copy and the sinks of every period are held to the model
// file set of the same run by SharedModelForm.
TEST(Mf2005Model, CopyFillsTheModelStateAndItsFamilyTheStressPeriodSinks) {
  Mf2005Model model;
  test::RecordingInterface ui;
  ASSERT_TRUE(ReadShared("transient2", model, ui));
  OpenedModel opened;
  CopyMf2005Model(model, opened);
  ModelState& state = opened.model;
  EXPECT_FLOAT_EQ(state.origin.Y0, 750.0f);
  EXPECT_EQ(state.IBOUND(16, 3, 2), 0);  // the border stays 0
  EXPECT_EQ(state.ModelTitleName, "transient2.nam");
  ASSERT_TRUE(state.family);
  EXPECT_EQ(state.family->SiblingPath(".ini"), PathWithoutExtension(model.nameFilePath) + ".ini");

  const ModelFamily& family = *state.family;
  state.CurrentPeriod = 3;
  ASSERT_TRUE(family.MarkBoundarySinks(state, {}, ui, true));
  family.PlaceArealFlows(state);
  EXPECT_EQ(state.SINKCODE(8, 8, 2), -1);
  EXPECT_EQ(state.SINKCODE(12, 4, 1), 0);  // injection well: a source
  LayerValues wells;
  ASSERT_TRUE(family.ReadPackageLayer(data_type::kWells, 2, 3, wells));  // what the views mark
  EXPECT_LT(wells(8, 8), 0.0f);
  EXPECT_EQ(wells(5, 5), 0.0f);
  ASSERT_TRUE(family.ReadPackageLayer(data_type::kWells, 1, 3, wells));
  EXPECT_GT(wells(12, 4), 0.0f);
  EXPECT_FLOAT_EQ(state.QRECH(5, 5, 1), 0.002f * 50 * 50);
  state.CurrentPeriod = 4;
  EXPECT_FALSE(family.MarkBoundarySinks(state, {}, ui, true));
  family.PlaceArealFlows(state);
  EXPECT_EQ(state.QRECH(5, 5, 1), 0.0f);
}

// A model written into a folder of its own and the interface its read spoke to.
class Mf2005ModelRead : public testing::Test {
 protected:
  bool Read(const std::string& nameFile, const LayerPorosity& porosity = {}) {
    return ReadMf2005Model(nameFile, model, ui, porosity);
  }

  test::TempDir dir;
  Mf2005Model model;
  test::RecordingInterface ui;
};

TEST_F(Mf2005ModelRead, WithoutMpbasEveryCellGetsTheDefaultPorosityAndIsToldOnce) {
  ASSERT_TRUE(Read(test::WriteMf2005Model(dir, {}))) << ui.LastMessage();
  EXPECT_FALSE(model.porosityFromMpbas);
  EXPECT_FLOAT_EQ(model.POROSITY(3, 2, 1), kDefaultPorosity);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(ui.beeps, 0);
}

TEST_F(Mf2005ModelRead, LayerPorositiesReplaceTheDefaultAndTheMpbasValues) {
  const std::string dis =
      "2 2 3 1 4 2\n0 0\nCONSTANT 10\nCONSTANT 20\nCONSTANT 5\nCONSTANT 0\nCONSTANT -2\n1 1 1 SS\n";
  const std::string nameFile = test::WriteMf2005Model(
      dir, {{"DIS", dis}, {"BAS6", "FREE\nCONSTANT 1\nCONSTANT 1\n-999.99\n"}, {"LPF", "32 -1e30 0\n0 0\n"}});
  ASSERT_TRUE(Read(nameFile, LayerPorosity{{{1, 0.3f}, {2, 0.1f}}})) << ui.LastMessage();
  EXPECT_FLOAT_EQ(model.POROSITY(3, 2, 1), 0.3f);
  EXPECT_FLOAT_EQ(model.POROSITY(1, 1, 2), 0.1f);
  EXPECT_TRUE(ui.messages.empty());  // no layer kept the default

  ASSERT_TRUE(Read(nameFile, LayerPorosity{{{1, 0.3f}}}));
  EXPECT_FLOAT_EQ(model.POROSITY(1, 1, 2), kDefaultPorosity);
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(Mf2005ModelRead, MpbasPorosityOfZeroBecomesTinyAndDefaultFacesAreKept) {
  const std::string nameFile = test::WriteMf2005Model(dir, {});
  test::WriteWholeFile(dir.File("MODEL.MPBAS"),
                       "# MODPATH\n-999.99 -1e30\n2\n  recharge \n6\nET\n5\n0\nCONSTANT 1\nINTERNAL 1.0 (FREE) 0\n"
                       "0.3 0 0.3\n0.2 0.2 0.2\n");
  ASSERT_TRUE(Read(nameFile)) << ui.LastMessage();
  EXPECT_TRUE(model.porosityFromMpbas);
  EXPECT_FLOAT_EQ(model.POROSITY(2, 1, 1), 1.0E-20f);
  EXPECT_FLOAT_EQ(model.POROSITY(3, 2, 1), 0.2f);
  const Mf2005Family family(model);
  EXPECT_EQ(family.DefaultFace("RECHARGE"), 6);
  EXPECT_EQ(family.DefaultFace("ET"), 5);
  EXPECT_EQ(family.DefaultFace("WELLS"), 0);
}

// Name files made on Windows may name their files in another letter case
// than the files have on disk; of two such files neither is guessed.
TEST_F(Mf2005ModelRead, AFileInAnotherLetterCaseIsReadWhenAloneAndSaidOnce) {
  const std::string nameFile = test::WriteMf2005Model(dir, {});
  std::filesystem::rename(dir.File("model.DIS"), dir.File("MODEL.dis"));
  std::filesystem::rename(dir.File("model.BAS6"), dir.File("Model.bas6"));
  ASSERT_TRUE(Read(nameFile)) << ui.LastMessage();
  EXPECT_EQ(model.NCOL, 3);
  EXPECT_EQ(model.otherLetterCase, (std::vector<std::string>{"model.BAS6", "model.DIS"}));
  EXPECT_EQ(ui.LastMessage(),
            "The name file lists files whose names on disk differ in letter case only; they are read as found: "
            "model.BAS6, model.DIS.");

  std::filesystem::copy_file(dir.File("MODEL.dis"), dir.File("model.dis"));
  Mf2005Model again;
  EXPECT_FALSE(ReadMf2005Model(nameFile, again, ui));
  EXPECT_NE(ui.LastMessage().find(dir.File("model.DIS")), std::string::npos) << ui.LastMessage();
}

// Every refusal beeps once, shows one warning naming the name file and the
// problem, and leaves the model unread.
TEST(Mf2005Model, RefusedModelsNameTheirFileAndProblem) {
  struct Case {
    std::map<std::string, std::string> packages;
    const char* removed;  // a file deleted after writing
    const char* expected;
  };
  const Case cases[] = {
      {{{"LPF", ""}}, nullptr, "the name file lists no flow package (LPF, UPW or BCF6)."},
      {{{"DIS", ""}}, nullptr, "the name file must list a DIS and a BAS6 file."},
      {{{"OC", ""}}, nullptr, "the name file lists no OC file."},
      {{{"WEL", "1 32\n"}}, "model.WEL", "the WEL file"},
      {{{"RCH", "1 32\n1 0\nCONSTANT 1e-3\n"}}, nullptr, "model.RCH, line 3: the file ends before all values"},
      {{{"OC", "HEAD SAVE UNIT 44\n"}}, nullptr, "the output control saves no heads to a file of the name file."},
      {{{"LPF", "0 -1e30 0\n0\n"}}, nullptr, "the LPF file saves no cell-by-cell budget"},
      {{{"DIS", "2 2 3 1 4 2\n1 0\nCONSTANT 10\nCONSTANT 20\nCONSTANT 5\nCONSTANT 0\nCONSTANT -2\nCONSTANT -4\n"
                "1 1 1 SS\n"}},
       nullptr, "model.DIS, line 2: quasi-3-D confining beds (LAYCBD not 0) are not supported."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    test::TempDir dir;
    const std::string nameFile = test::WriteMf2005Model(dir, c.packages);
    if (c.removed != nullptr) std::filesystem::remove(dir.File(c.removed));
    Mf2005Model model;
    test::RecordingInterface ui;
    EXPECT_FALSE(ReadMf2005Model(nameFile, model, ui));
    EXPECT_EQ(ui.beeps, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[0].title, "KESTRA");
    EXPECT_NE(ui.LastMessage().find(c.expected), std::string::npos) << ui.LastMessage();
    EXPECT_NE(ui.LastMessage().find(nameFile), std::string::npos);
    EXPECT_EQ(model.NCOL, 0);
  }
  Mf2005Model model;
  test::RecordingInterface ui;
  EXPECT_FALSE(ReadMf2005Model("/nonexistent/model.nam", model, ui));
  EXPECT_EQ(ui.LastMessage(),
            "The MODFLOW model /nonexistent/model.nam cannot be imported:\n"
            "the name file /nonexistent/model.nam cannot be read.");
}

TEST(Mf2005Model, TruncatedPackageFilesFailCleanly) {
  // Every shortened copy of mixed3d's files either fails with one message
  // and the model untouched, or (cut inside the last number) still reads.
  test::TempDir dir;
  const auto source = ModflowDir("mixed3d");
  test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  for (const char* file : {"mixed3d.dis", "mixed3d.bas", "mixed3d.lpf", "mixed3d.riv", "mixed3d.rch", "mixed3d.mpbas"}) {
    const std::string whole = test::ReadWholeFile((source / file).string());
    for (std::size_t length = 0; length < whole.size(); length += 1 + whole.size() / 40) {
      test::WriteWholeFile(dir.File(file), whole.substr(0, length));
      Mf2005Model model;
      test::RecordingInterface ui;
      const bool read = ReadMf2005Model(dir.File("mixed3d.nam"), model, ui);
      EXPECT_EQ(ui.beeps, read ? 0 : 1) << file << " " << length;
      EXPECT_EQ(model.NCOL, read ? 30 : 0) << file << " " << length;
    }
    test::WriteWholeFile(dir.File(file), whole);
  }
}

}  // namespace
}  // namespace kestra
